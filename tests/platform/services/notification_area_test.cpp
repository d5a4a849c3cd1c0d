#include <gtest/gtest.h>

#include <QTest>

#include "platform/forms/Form.h"
#include "platform/services/NotifyIcon.h"

namespace {

using platform::Form;
using platform::NotificationArea;

platform::NotifyIconData Record(Form& window) {
  platform::NotifyIconData data;
  data.hWnd = &window;
  data.uID = 61860;
  data.szTip = QStringLiteral("Tavelmarque");
  data.szTip += QChar(u'\0');
  return data;
}

// A notification area whose presence, and whether it shows the icons, the test decides.
class Area : public NotificationArea {
 public:
  bool Present() const override { return present; }
  bool Shown(const Form*) const override { return shown; }
  bool present = true;
  bool shown = false;
};

TEST(NotificationArea, TellsEachTimeAWindowsIconsGoUnshownForTheTimeGiven) {
  Form window;
  Area area;
  ASSERT_TRUE(area.Shell_NotifyIcon(platform::NIM_ADD, Record(window)));
  int lost = 0;
  constexpr int kWait = 1000;
  area.WhenLost(&window, kWait, [&] { ++lost; });
  QTest::qWait(kWait / 4);
  EXPECT_EQ(lost, 0) << "given its time";
  EXPECT_TRUE(area.Available()) << "an area there, and the icon not yet lost";
  EXPECT_TRUE(QTest::qWaitFor([&] { return lost == 1; }, 4 * kWait));
  EXPECT_FALSE(area.Available()) << "hiding the window now would lose it";
  QTest::qWait(kWait);
  EXPECT_EQ(lost, 1) << "once for each time";

  area.shown = true;
  QTest::qWait(kWait);
  EXPECT_TRUE(area.Available());
  area.shown = false;
  QTest::qWait(kWait / 4);
  EXPECT_EQ(lost, 1) << "the time runs from when the icon went";
  EXPECT_TRUE(QTest::qWaitFor([&] { return lost == 2; }, 4 * kWait));

  // The window's icon removed, nothing is left to lose.
  area.Shell_NotifyIcon(platform::NIM_DELETE, Record(window));
  area.shown = true;
  QTest::qWait(kWait);
  area.shown = false;
  QTest::qWait(2 * kWait);
  EXPECT_EQ(lost, 2);
}

}  // namespace
