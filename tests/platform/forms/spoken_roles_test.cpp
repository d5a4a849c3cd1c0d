#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <functional>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/SpokenRoles.h"

namespace {

// A label or window marked for a screen reader has its role and name, and a label a press action
// that clicks it while enabled, even where Qt made an interface before the mark: Qt keeps the
// first one it made.
TEST(SpokenRoles, MarkedControlsHaveTheirRoleEvenWhenQtAskedFirst) {
  using Mark = std::function<QWidget*(platform::Form&, platform::Label&)>;
  const struct {
    Mark mark;
    QAccessible::Role role;
    const char* name;
  } cases[] = {
      {[](auto&, auto& l) { return platform::SpeakAsButton(l), &l; }, QAccessible::Button, "OK"},
      {[](auto&, auto& l) { return platform::SpeakAsLink(l), &l; }, QAccessible::Link, "OK"},
      {[](auto& f, auto&) { return platform::SpeakAsDialog(f), &f; }, QAccessible::Dialog, "Titre"},
      {[](auto& f, auto&) { return platform::SpeakAsDialog(f, QStringLiteral("Zone Euro")), &f; },
       QAccessible::Dialog, "Zone Euro"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::Form form;
    form.setWindowTitle(QStringLiteral("Titre"));
    platform::Label label(form);
    label.SetCaption(QStringLiteral("OK"));
    int clicks = 0;
    label.Click = [&clicks] { ++clicks; };
    QAccessible::queryAccessibleInterface(&form);  // Qt's own interfaces, cached
    QAccessible::queryAccessibleInterface(&label);
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(c.mark(form, label));
    EXPECT_EQ(read->role(), c.role);
    EXPECT_EQ(read->text(QAccessible::Name), QString::fromUtf8(c.name));
    if (c.role == QAccessible::Dialog) continue;
    read->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    label.setEnabled(false);
    read->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1) << "pressed as a click, and not once disabled";
  }
}

}  // namespace
