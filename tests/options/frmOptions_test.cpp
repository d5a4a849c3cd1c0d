#include "options/frmOptions.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "converter/frmDorvanta.h"
#include "options/StartupEntry.h"
#include "options/cShellLink.h"
#include "resources/OptionsLayout.h"
#include "shell/Skin.h"
#include "support/ChildProcess.h"
#include "support/TestNotificationArea.h"

namespace {

using options::frmOptions;

// The entry in the tests' own Startup folder (the test main gives each run a private one).
QString Entry() { return options::StartupEntryPath(); }

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

void RemoveEntry() {
  const QFileInfo entry(Entry());
  if (entry.isDir() && !entry.isSymLink()) {
    QDir(entry.filePath()).removeRecursively();
  } else {
    QFile::remove(entry.filePath());
  }
}

const QByteArray kOtherProgramsEntry =
    "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/other --start\n";

// A keyboard's key goes to the control with the focus, else to the window.
void Press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr || target->window() != &window) target = &window;
  QTest::keyClick(target, key, modifiers);
}

// One thing a user does in the options window.
struct Step {
  const char* what;
  std::function<void(frmOptions&)> act;
};
Step Key(const char* what, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return {what, [key, modifiers](frmOptions& w) { Press(w, key, modifiers); }};
}
const Step kTab = Key("Tab", Qt::Key_Tab);
const Step kBacktab = Key("Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier);
const Step kSpace = Key("Space", Qt::Key_Space);
const Step kEnter = Key("Enter", Qt::Key_Return);
const Step kKeypadEnter = Key("keypad Enter", Qt::Key_Enter, Qt::KeypadModifier);
const Step kEscape = Key("Escape", Qt::Key_Escape);
const Step kAltF4 = Key("Alt+F4", Qt::Key_F4, Qt::AltModifier);
const Step kF4 = Key("F4", Qt::Key_F4);
const Step kOk = {"click OK",
                  [](frmOptions& w) { QTest::mouseClick(w.lblAction[0], Qt::LeftButton); }};
const Step kCancel = {"click Annuler",
                      [](frmOptions& w) { QTest::mouseClick(w.lblAction[1], Qt::LeftButton); }};
const Step kCloseImage = {"click the close image",
                          [](frmOptions& w) { QTest::mouseClick(w.imaCommand, Qt::LeftButton); }};
const Step kWindowManagerClose = {"window manager close", [](frmOptions& w) { w.close(); }};
const Step kCaptionClicks = {"click both captions", [](frmOptions& w) {
                               for (platform::Label* caption : w.lblOption) {
                                 QTest::mouseClick(caption, Qt::LeftButton);
                               }
                             }};
const Step kClickSecondBox = {
    "click the change box", [](frmOptions& w) { QTest::mouseClick(w.chkAppoint, Qt::LeftButton); }};
// What a screen reader does for its user: the press action of the OK or Annuler label.
Step Pressed(const char* what, int action) {
  return {what, [action](frmOptions& w) {
            QAccessibleInterface* button =
                QAccessible::queryAccessibleInterface(w.lblAction[action]);
            ASSERT_EQ(button->role(), QAccessible::Button);
            ASSERT_EQ(button->text(QAccessible::Name), w.lblAction[action]->Caption());
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
          }};
}
const Step kPressOk = Pressed("OK pressed by a screen reader", 0);
const Step kPressCancel = Pressed("Annuler pressed by a screen reader", 1);
const Step kRightClickOk = {
    "right click OK", [](frmOptions& w) { QTest::mouseClick(w.lblAction[0], Qt::RightButton); }};

// The window on its own.
class OptionsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveEntry(); }
  void TearDown() override { RemoveEntry(); }

  std::unique_ptr<frmOptions> Open(bool changeRows) {
    auto window = std::make_unique<frmOptions>(shapes_, changeRows);
    window->ShowModeless();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  skin::Shapes shapes_;
};

TEST_F(OptionsWindowTest, OpensShowingTheEntryAndTheChangeRows) {
  struct Case {
    const char* what;
    std::optional<QByteArray> entry;  // nothing: no file
    bool changeRows;
    int démarrage, appoint;
  } cases[] = {
      {"no entry, change rows hidden", std::nullopt, false, 0, 0},
      {"no entry, change rows shown", std::nullopt, true, 0, 1},
      {"another program's entry", kOtherProgramsEntry, false, 1, 0},
      {"an entry switched off", kOtherProgramsEntry + "Hidden=true\n", true, 0, 1},
      {"not an entry", QByteArray("not a desktop entry\n"), false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveEntry();
    if (c.entry) Put(Entry(), *c.entry);
    auto window = Open(c.changeRows);
    EXPECT_EQ(window->chkDémarrage->Value(), c.démarrage);
    EXPECT_EQ(window->chkAppoint->Value(), c.appoint);
    EXPECT_EQ(window->Tag, QString());
    EXPECT_TRUE(window->chkDémarrage->hasFocus());
    EXPECT_EQ(window->lblOption[0]->BorderStyle(), 1);
    EXPECT_EQ(window->lblOption[1]->BorderStyle(), 0);
    EXPECT_EQ(Bytes(Entry()), c.entry.value_or(QByteArray())) << "opening writes nothing";
  }
  RemoveEntry();
  ASSERT_TRUE(QDir().mkpath(Entry()));
  EXPECT_EQ(Open(true)->chkDémarrage->Value(), 0) << "a folder at the entry's name";
}

TEST_F(OptionsWindowTest, LooksAndReadsAsLaidOut) {
  auto window = Open(false);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Options"));
  EXPECT_EQ(window->width(), window->PixelsX(2700));
  EXPECT_FALSE(window->WindowRegion().isEmpty()) << "clipped to its disc";
  EXPECT_TRUE(window->HasFrame());
  EXPECT_EQ(window->lblOption[0]->Caption(), QStringLiteral("Lancer à l'ouverture de session"));
  EXPECT_EQ(window->lblOption[1]->Caption(), QStringLiteral("Activer l'appoint en Euros"));
  EXPECT_EQ(window->lblAction[0]->BorderStyle(), 1);
  EXPECT_EQ(window->lblAction[1]->BorderStyle(), 1);
  EXPECT_EQ(window->imaCommand->toolTip(), QStringLiteral("Fermer Alt+F4"));
  const auto name = [](QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(window->chkDémarrage), window->lblOption[0]->Caption());
  EXPECT_EQ(name(window->chkAppoint), window->lblOption[1]->Caption());
  EXPECT_EQ(name(window->lblAction[1]), QStringLiteral("Annuler"));
  EXPECT_EQ(name(window->imaCommand), QStringLiteral("Fermer Alt+F4"));
}

// A screen reader sees each box as a check box named by its caption, with its state, and can
// toggle it as Space does.
TEST_F(OptionsWindowTest, ScreenReadersSeeCheckBoxesTheyCanToggle) {
  auto window = Open(true);  // no entry: the first box clear, the second ticked
  for (int i = 0; i < 2; ++i) {
    platform::CheckBox* box = i == 0 ? window->chkDémarrage : window->chkAppoint;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_EQ(a->text(QAccessible::Name), window->lblOption[i]->Caption());
    EXPECT_TRUE(a->state().checkable);
    EXPECT_EQ(a->state().checked, i == 1);
    EXPECT_EQ(a->state().focused, i == 0);
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(box->Value(), i == 1 ? 0 : 1);
    EXPECT_EQ(a->state().checked, i == 0);
  }
  Press(*window, Qt::Key_Space);  // on the first box, which has the focus
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(window->chkDémarrage)->state().checked);
}

// Keys and commands, from a window opened on no entry with the change rows shown: the boxes'
// values, which box has the focus and which caption is framed, and how the window was left.
TEST_F(OptionsWindowTest, KeysAndCommands) {
  struct Case {
    std::vector<Step> steps;
    int démarrage, appoint;
    int focused;                    // 0 or 1, while still open
    std::optional<bool> confirmed;  // nothing: still open
  } cases[] = {
      {{}, 0, 1, 0, std::nullopt},
      {{kTab}, 0, 1, 1, std::nullopt},
      {{kTab, kTab}, 0, 1, 0, std::nullopt},
      {{kBacktab}, 0, 1, 1, std::nullopt},
      {{kBacktab, kBacktab}, 0, 1, 0, std::nullopt},
      {{kTab, kBacktab}, 0, 1, 0, std::nullopt},
      {{kSpace}, 1, 1, 0, std::nullopt},
      {{kSpace, kSpace}, 0, 1, 0, std::nullopt},
      {{kTab, kSpace}, 0, 0, 1, std::nullopt},
      {{kClickSecondBox}, 0, 0, 1, std::nullopt},
      {{kCaptionClicks}, 0, 1, 0, std::nullopt},
      {{kTab, kCaptionClicks}, 0, 1, 1, std::nullopt},
      {{kF4, kRightClickOk}, 0, 1, 0, std::nullopt},
      {{Key("keys without a meaning", Qt::Key_A), Key("", Qt::Key_Down), Key("", Qt::Key_F2)},
       0,
       1,
       0,
       std::nullopt},
      {{kEnter}, 0, 1, 0, true},
      {{kSpace, kEnter}, 1, 1, 0, true},
      {{kTab, kSpace, kEnter}, 0, 0, 1, true},
      {{kSpace, kKeypadEnter}, 1, 1, 0, true},
      {{kSpace, kOk}, 1, 1, 0, true},
      {{kSpace, kPressOk}, 1, 1, 0, true},
      {{kSpace, kTab, kSpace, kEscape}, 1, 0, 1, false},
      {{kSpace, kAltF4}, 1, 1, 0, false},
      {{kSpace, kCancel}, 1, 1, 0, false},
      {{kSpace, kPressCancel}, 1, 1, 0, false},
      {{kSpace, kCloseImage}, 1, 1, 0, false},
      {{kSpace, kWindowManagerClose}, 1, 1, 0, false},
      {{kEscape, kEnter}, 0, 1, 0, false},
  };
  for (const Case& c : cases) {
    std::string what;
    for (const Step& s : c.steps) what += std::string(s.what) + ", ";
    SCOPED_TRACE(what);
    auto window = Open(true);
    for (const Step& s : c.steps) {
      if (window->isVisible()) s.act(*window);
    }
    EXPECT_EQ(window->chkDémarrage->Value(), c.démarrage);
    EXPECT_EQ(window->chkAppoint->Value(), c.appoint);
    EXPECT_TRUE(window->IsLoaded()) << "its opener unloads it, never the window itself";
    if (!c.confirmed) {
      ASSERT_TRUE(window->isVisible());
      EXPECT_TRUE((c.focused == 0 ? window->chkDémarrage : window->chkAppoint)->hasFocus());
      EXPECT_EQ(window->lblOption[0]->BorderStyle(), c.focused == 0 ? 1 : 0);
      EXPECT_EQ(window->lblOption[1]->BorderStyle(), c.focused == 1 ? 1 : 0);
      EXPECT_EQ(window->Tag, QString());
    } else {
      EXPECT_FALSE(window->isVisible());
      EXPECT_EQ(window->Tag == QStringLiteral("OK"), *c.confirmed);
    }
  }
}

TEST(OptionsLayout, EveryCaptionFitsItsBoxInTheWindowFont) {
  platform::Form form;
  form.SetTwipsPerPixel(15, 15);
  namespace layout = resources::options_window;
  for (const auto* group : {&layout::kLblOption, &layout::kLblAction}) {
    for (const resources::LabelLayout& label : *group) {
      // Inside the one-pixel room kept on each side for the frame.
      const int width = form.PixelsX(label.width) - 2;
      const int height = form.PixelsY(label.height) - 2;
      const QRect needed = QFontMetrics(skin::WindowFont(label.bold))
                               .boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap,
                                             QString::fromUtf8(label.caption));
      EXPECT_LE(needed.width(), width) << label.caption;
      EXPECT_LE(needed.height(), height) << label.caption;
    }
  }
}

// Opened from the main window, as a user does, and applied there.
class ApplyOptionsTest : public ::testing::Test {
 protected:
  class Main : public converter::frmDorvanta {
   public:
    using converter::frmDorvanta::frmDorvanta;
  };

  void SetUp() override { RemoveEntry(); }
  void TearDown() override { RemoveEntry(); }

  void OpenMain(bool changeRows) {
    clock_.Set(changeRows ? QDateTime(QDate(2002, 1, 2), QTime(12, 0))
                          : QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    main_ = std::make_unique<Main>(app_, clock_, help_, tray_, shapes_, ",");
    main_->ShowModeless();
    QApplication::setActiveWindow(main_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
  }

  // Opens the options window by `open` and runs `inside` on it; fails if none came or if it
  // was left open.
  void WhileOpen(const std::function<void()>& open,
                 const std::function<void(frmOptions&)>& inside) {
    bool came = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* window = dynamic_cast<frmOptions*>(QApplication::activeModalWidget());
      if (window == nullptr) return;
      came = true;
      QApplication::setActiveWindow(window);
      EXPECT_TRUE(QTest::qWaitForWindowActive(window));
      inside(*window);
      if (window->isVisible()) {
        ADD_FAILURE() << "the options window is still open";
        window->hide();
      }
    });
    timer.start(0);
    open();
    EXPECT_TRUE(came) << "no options window was shown";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  void AltO() { QTest::keyClick(main_.get(), Qt::Key_O, Qt::AltModifier); }
  void OptionsImage() { QTest::mouseClick(main_->imaCommand[2], Qt::LeftButton); }

  // The entry ApplyOptions writes: this program, hidden, with its icon from the theme.
  void ExpectOurEntry() {
    options::cShellLink link;
    link.SetLnkFile(Entry());
    ASSERT_TRUE(link.GetLinkInfo()) << "no entry a desktop would start";
    EXPECT_EQ(link.ExeFile(), QDir(app_.Path()).filePath(QStringLiteral("Tavelmarque")));
    EXPECT_EQ(link.ExeArgs(), QStringLiteral("/Hidden"));
    EXPECT_EQ(link.IconFile(), QStringLiteral(TAVELMARQUE_APP_ID));
    EXPECT_EQ(link.StartShow(), 7);
    EXPECT_EQ(link.WorkDir(), QString());
    EXPECT_TRUE(Bytes(Entry()).contains("\nIcon=" TAVELMARQUE_APP_ID "\n"))
        << "a theme icon's name";
  }

  platform::App app_{QStringLiteral("tavelmarque-options-test"), {QStringLiteral("Tavelmarque")}};
  platform::Clock clock_;
  platform::HelpViewer help_;
  TestNotificationArea tray_;
  skin::Shapes shapes_;
  std::unique_ptr<Main> main_;
};

TEST_F(ApplyOptionsTest, TheAnswerIsAppliedOnlyWhenConfirmed) {
  enum class Before { None, Ours, Other };
  enum class After { None, Ours, Unchanged };
  struct Case {
    Before entry;
    bool changeRows;
    std::vector<Step> steps;
    After expected;
    bool changeRowsAfter;
  } cases[] = {
      {Before::None, false, {kSpace, kEnter}, After::Ours, false},
      {Before::Ours, true, {kSpace, kOk}, After::None, true},
      {Before::None, false, {kEnter}, After::None, false},
      // Confirmed unchanged, the entry is written again: ours takes the other one's place.
      {Before::Other, false, {kOk}, After::Ours, false},
      {Before::Ours, false, {kTab, kSpace, kEnter}, After::Ours, true},
      {Before::None, true, {kTab, kSpace, kEnter}, After::None, false},
      {Before::Other, true, {kCaptionClicks, kEnter}, After::Ours, true},
      // Every way of cancelling, after both boxes were changed.
      {Before::Other, true, {kSpace, kTab, kSpace, kEscape}, After::Unchanged, true},
      {Before::Ours, false, {kSpace, kTab, kSpace, kAltF4}, After::Unchanged, false},
      {Before::None, true, {kSpace, kTab, kSpace, kCancel}, After::Unchanged, true},
      {Before::Ours, true, {kSpace, kTab, kSpace, kCloseImage}, After::Unchanged, true},
      {Before::None, false, {kSpace, kTab, kSpace, kWindowManagerClose}, After::Unchanged, false},
  };
  int round = 0;
  for (const Case& c : cases) {
    std::string what;
    for (const Step& s : c.steps) what += std::string(s.what) + ", ";
    SCOPED_TRACE(what);
    RemoveEntry();
    if (c.entry == Before::Other) Put(Entry(), kOtherProgramsEntry);
    OpenMain(c.changeRows);
    if (c.entry == Before::Ours) {
      // Written by the program itself, with the start-up box checked and confirmed.
      WhileOpen([this] { AltO(); },
                [](frmOptions& w) {
                  if (w.chkDémarrage->Value() == 0) Press(w, Qt::Key_Space);
                  Press(w, Qt::Key_Return);
                });
      ExpectOurEntry();
    }
    const QByteArray before = Bytes(Entry());
    const bool existed = QFileInfo::exists(Entry());
    // Opened both ways, in turn.
    WhileOpen([this, round] { round % 2 == 0 ? AltO() : OptionsImage(); },
              [&c](frmOptions& w) {
                for (const Step& s : c.steps) {
                  if (w.isVisible()) s.act(w);
                }
              });
    ++round;
    switch (c.expected) {
      case After::None:
        EXPECT_FALSE(QFileInfo::exists(Entry()));
        break;
      case After::Ours:
        ExpectOurEntry();
        break;
      case After::Unchanged:
        EXPECT_EQ(QFileInfo::exists(Entry()), existed);
        EXPECT_EQ(Bytes(Entry()), before);
        break;
    }
    EXPECT_EQ(main_->Model().ChangeMode(), c.changeRowsAfter);
    EXPECT_EQ(main_->lblP[1]->isHidden(), !c.changeRowsAfter);
    EXPECT_EQ(main_->lblP[3]->isHidden(), !c.changeRowsAfter);
    EXPECT_TRUE(main_->IsLoaded() && main_->isVisible());
  }
}

// A message box shown to the user: its title, icon and text.
struct Told {
  QString title;
  QMessageBox::Icon icon;
  QString text;
};

// The message boxes shown while `act` runs, each read and answered with OK, as a user does.
std::vector<Told> Answered(const std::function<void()>& act) {
  std::vector<Told> told;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&told] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    told.push_back({box->windowTitle(), box->icon(), box->text()});
    box->button(QMessageBox::Ok)->click();
  });
  timer.start(10);
  act();
  return told;
}

// What lies at a name: its kind, and the bytes of the file it leads to.
std::string Disk(const QString& path) {
  const QFileInfo at(path);
  std::string kind = at.isSymLink() ? "link to " : "";
  kind += at.isDir() ? "folder" : at.isFile() ? "file" : at.exists() ? "other" : "nothing";
  return kind + ": " + (at.isFile() ? Bytes(path).toStdString() : std::string());
}

// Confirmed twice with the start-up box ticked or not, over what lies at the entry's name:
// each failure is told at once, again at the second try, and changes nothing; what the disk
// already agrees with is left alone; the window, opened again, shows what is on disk.
TEST_F(ApplyOptionsTest, FailuresAreToldAndTheWindowShowsWhatIsOnDisk) {
  if (testing_support::RerunAsNobody()) return;  // as root, permissions mean nothing
  const QString folder = QFileInfo(Entry()).path();
  const QString elsewhere = QFileInfo(folder).path() + QStringLiteral("/elsewhere/other.desktop");
  const auto readOnly = [](const QString& path) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0555), 0);
  };
  const auto ours = [this] { ASSERT_TRUE(options::InstallStartupEntry(app_.Path()).isEmpty()); };
  const QString written =
      QStringLiteral("Le lancement à l'ouverture de session n'a pas pu être enregistré\u00a0:");
  const QString removed =
      QStringLiteral("Le lancement à l'ouverture de session n'a pas pu être retiré\u00a0:");
  struct Case {
    const char* what;
    std::function<void()> make;
    bool start;    // the box, confirmed
    int reason;    // 0: nothing to tell
    bool changed;  // the disk changed: our entry was written
    bool shownAfterwards;
  } cases[] = {
      {"a read-only folder", [&] { readOnly(folder); }, true, EACCES, false, false},
      {"a read-only folder with our entry, the box cleared",
       [&] {
         ours();
         readOnly(folder);
       },
       false, EACCES, false, true},
      {"a read-only folder with our entry, the box left ticked",
       [&] {
         ours();
         readOnly(folder);
       },
       true, 0, false, true},
      {"a folder at the name", [&] { ASSERT_TRUE(QDir().mkdir(Entry())); }, true, EISDIR, false,
       false},
      {"a folder at the name, the box cleared", [&] { ASSERT_TRUE(QDir().mkdir(Entry())); }, false,
       0, false, false},
      {"a dangling link", [&] { ASSERT_TRUE(QFile::link(elsewhere, Entry())); }, true, ENOENT,
       false, false},
      {"a dangling link, the box cleared", [&] { ASSERT_TRUE(QFile::link(elsewhere, Entry())); },
       false, 0, false, false},
      {"a named pipe",
       [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(Entry()).constData(), 0644), 0); }, true, EEXIST,
       false, false},
      {"a link to another program's entry",
       [&] {
         Put(elsewhere, kOtherProgramsEntry);
         ASSERT_TRUE(QFile::link(elsewhere, Entry()));
       },
       true, 0, true, true},
      {"a link to an entry in a folder not writable",
       [&] {
         Put(elsewhere, kOtherProgramsEntry);
         ASSERT_TRUE(QFile::link(elsewhere, Entry()));
         readOnly(QFileInfo(elsewhere).path());
       },
       true, EACCES, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(QDir().mkpath(folder) && QDir().mkpath(QFileInfo(elsewhere).path()));
    c.make();
    OpenMain(false);
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round == 0 ? "first" : "again");
      const std::string before = Disk(Entry());
      const std::vector<Told> told = Answered([&] {
        WhileOpen([this] { AltO(); },
                  [&c](frmOptions& w) {
                    if (w.chkDémarrage->Value() != (c.start ? 1 : 0)) Press(w, Qt::Key_Space);
                    Press(w, Qt::Key_Return);
                  });
      });
      ASSERT_EQ(told.size(), c.reason != 0 ? 1u : 0u);
      if (c.reason != 0) {
        EXPECT_EQ(told[0].title, QStringLiteral("Tavelmarque"));
        EXPECT_EQ(told[0].icon, QMessageBox::Critical);
        EXPECT_EQ(told[0].text.toStdString(),
                  ((c.start ? written : removed) + u'\n' + Entry() + u'\n' +
                   QString::fromLocal8Bit(std::strerror(c.reason)) + u'.')
                      .toStdString());
      }
      if (c.changed && round == 0) {
        EXPECT_TRUE(QFileInfo(Entry()).isSymLink()) << "written through the link";
        ExpectOurEntry();
      } else {
        EXPECT_EQ(Disk(Entry()), before);
      }
    }
    WhileOpen([this] { AltO(); },
              [&c](frmOptions& w) {
                EXPECT_EQ(w.chkDémarrage->Value(), c.shownAfterwards ? 1 : 0);
                Press(w, Qt::Key_Escape);
              });
    EXPECT_TRUE(main_->IsLoaded() && main_->isVisible());
    main_.reset();
    for (const QString& dir : {folder, QFileInfo(elsewhere).path()}) {
      ::chmod(QFile::encodeName(dir).constData(), 0755);
    }
    RemoveEntry();
    QFile::remove(elsewhere);
  }
}

TEST_F(ApplyOptionsTest, AltODuringAnEntryConvertsItAndShowsItBehindTheWindow) {
  OpenMain(true);
  for (Qt::Key key : {Qt::Key_1, Qt::Key_0, Qt::Key_0}) QTest::keyClick(main_.get(), key);
  WhileOpen([this] { AltO(); },
            [this](frmOptions& w) {
              EXPECT_TRUE(w.InModalLoop());
              EXPECT_EQ(w.parentWidget(), main_.get()) << "owned by the main window";
              EXPECT_EQ(w.geometry().center(), main_->geometry().center());
              EXPECT_FALSE(main_->Model().EntryActive());
              EXPECT_EQ(main_->lblP[2]->Caption(), QStringLiteral("15,24"));
              EXPECT_EQ(w.chkAppoint->Value(), 1);
              Press(w, Qt::Key_Escape);
            });
  EXPECT_EQ(main_->lblP[0]->Caption(), QStringLiteral("100"));
  EXPECT_EQ(main_->lblP[2]->Caption(), QStringLiteral("15,24"));
}

}  // namespace
