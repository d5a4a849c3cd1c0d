#include "platform/forms/Form.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/forms/VbColour.h"
#include "support/Watchdog.h"

namespace {

using platform::Form;

class Recorder : public Form {
 public:
  int loads = 0, unloads = 0, resizes = 0;
  std::vector<std::pair<int, int>> keys;

 protected:
  void Form_Load() override { ++loads; }
  void Form_Unload() override { ++unloads; }
  void Form_Resize() override { ++resizes; }
  void Form_KeyDown(int code, int shift) override { keys.emplace_back(code, shift); }
};

TEST(Form, LoadAndUnloadRunTheirHandlersOnce) {
  Recorder form;
  form.SetSizeTwips(2700, 2700);
  form.Load();
  form.ShowModeless();
  form.Load();
  EXPECT_EQ(form.loads, 1);
  EXPECT_TRUE(form.isVisible());
  form.Unload();
  form.Unload();
  EXPECT_EQ(form.unloads, 1);
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.IsLoaded());
}

TEST(Form, SeesTabAndEveryOtherKeyBeforeItsControls) {
  Recorder form;
  form.ShowModeless();
  QTest::keyClick(&form, Qt::Key_Tab);
  QTest::keyClick(&form, Qt::Key_Backtab, Qt::ShiftModifier);
  QTest::keyClick(&form, Qt::Key_Space);  // no code: not raised
  QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
  const std::vector<std::pair<int, int>> expected{{9, 0}, {9, 1}, {82, 4}};
  EXPECT_EQ(form.keys, expected);
}

TEST(Form, SizeFollowsTheTwipsPerPixel) {
  Form form;
  form.SetSizeTwips(2700, 2700);
  EXPECT_EQ(form.size(), QSize(180, 180));
  form.SetTwipsPerPixel(12, 12);
  EXPECT_EQ(form.size(), QSize(225, 225));
}

TEST(Form, ResizeIsRaisedWhenShownAndOnStateChanges) {
  Recorder form;
  form.SetSizeTwips(2700, 2700);
  form.ShowModeless();
  const int afterShow = form.resizes;
  EXPECT_GE(afterShow, 1);
  form.showMinimized();
  form.showNormal();
  EXPECT_GT(form.resizes, afterShow);
}

TEST(Form, ModalShowReturnsWhenHidden) {
  Form owner, dialog;
  owner.ShowModeless();
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isModal());
    dialog.hide();
  });
  dialog.ShowModal(owner);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialog.IsLoaded());
}

TEST(Form, AModalWindowOpensCentredOnItsOwnerAndAboveIt) {
  Form owner, dialog, inner;
  owner.SetSizeTwips(2700, 2700);
  dialog.SetSizeTwips(2700, 2700);
  inner.SetSizeTwips(1500, 1500);
  owner.ShowModeless();
  owner.move(40, 70);
  std::vector<std::string> order;
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_EQ(dialog.geometry().center(), owner.geometry().center());
    EXPECT_EQ(dialog.parentWidget(), &owner);
    EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
    // A modal window opened from a modal window: centred on it, above it, with its own loop.
    QTimer::singleShot(0, &inner, [&] {
      EXPECT_EQ(inner.geometry().center(), dialog.geometry().center());
      EXPECT_EQ(inner.parentWidget(), &dialog);
      EXPECT_EQ(QApplication::activeModalWidget(), &inner);
      EXPECT_TRUE(inner.InModalLoop());
      EXPECT_TRUE(dialog.InModalLoop());
      order.push_back("inner shown");
      inner.hide();
    });
    inner.ShowModal(dialog);
    order.push_back("inner returned");
    EXPECT_TRUE(dialog.isVisible());
    dialog.Unload();
  });
  dialog.ShowModal(owner);
  order.push_back("dialog returned");
  EXPECT_EQ(order, (std::vector<std::string>{"inner shown", "inner returned", "dialog returned"}));
  EXPECT_FALSE(dialog.InModalLoop());
}

// A dialog whose close request takes its cancel path.
class Dialog : public Form {
 public:
  int cancels = 0;

 protected:
  void Form_CloseRequest() override {
    ++cancels;
    hide();
  }
};

TEST(Form, TheKeysOfAModalWindowAreItsOwn) {
  Recorder owner, dialog;
  owner.ShowModeless();
  QTimer::singleShot(0, &dialog, [&] {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_F4, Qt::AltModifier);
    dialog.hide();
  });
  dialog.ShowModal(owner);
  EXPECT_EQ(dialog.keys, (std::vector<std::pair<int, int>>{{27, 0}, {115, 4}}));
  EXPECT_TRUE(owner.keys.empty()) << "the owner previews its controls' keys, not its dialogs'";
}

TEST(Form, ACloseRequestTakesTheFormsOwnPath) {
  Form owner;
  owner.ShowModeless();
  Dialog dialog;
  QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
  dialog.ShowModal(owner);
  EXPECT_EQ(dialog.cancels, 1);
  EXPECT_TRUE(dialog.IsLoaded()) << "still there for its opener to read";

  // By default a close request unloads, which raises Unloaded for the program to decide.
  Form main;
  int unloaded = 0;
  main.Unloaded = [&] { ++unloaded; };
  main.ShowModeless();
  main.close();
  EXPECT_FALSE(main.IsLoaded());
  EXPECT_EQ(unloaded, 1);
}

TEST(Watchdog, FailsATestThatLeavesAModalWindowOpenAndClosesIt) {
  static Form* owner = nullptr;
  static Form* dialog = nullptr;
  Form o, d;
  owner = &o;
  dialog = &d;
  owner->ShowModeless();
  const int previous = testsupport::SetModalLimit(200);
  EXPECT_NONFATAL_FAILURE(dialog->ShowModal(*owner), "still open");
  testsupport::SetModalLimit(previous);
  EXPECT_FALSE(dialog->isVisible());
}

TEST(Colours, TranslateColour) {
  platform::VbColour rgb = 0x123456;
  EXPECT_TRUE(platform::TranslateColour(0x00786450, rgb));
  EXPECT_EQ(rgb, 0x00786450u);
  EXPECT_TRUE(platform::TranslateColour(0x8000000F, rgb));
  const QColor face = QGuiApplication::palette().color(QPalette::Button);
  EXPECT_EQ(platform::ColourFromBgr(rgb), face);
  rgb = 0x123456;
  for (platform::VbColour bad : {0x800000FFu, 0x01000000u, 0x80010005u}) {
    EXPECT_FALSE(platform::TranslateColour(bad, rgb)) << std::hex << bad;
    EXPECT_EQ(rgb, 0x123456u) << "left untouched";
  }
  EXPECT_EQ(platform::ColourFromBgr(0x00786450), QColor(80, 100, 120));
}

}  // namespace
