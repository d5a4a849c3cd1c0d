#include "platform/forms/AccessibleCheckBox.h"

#include <QAccessibleWidget>

#include "platform/forms/Controls.h"

namespace platform {
namespace {

class AccessibleCheckBox : public QAccessibleWidget {
 public:
  explicit AccessibleCheckBox(CheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = Box().Value() != 0;
    return state;
  }

  QStringList actionNames() const override {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& actionName) override {
    if (actionName == toggleAction() && Box().isEnabled()) {
      Box().SetValue(Box().Value() == 0 ? 1 : 0);
    } else {
      QAccessibleWidget::doAction(actionName);
    }
  }

  QStringList keyBindingsForAction(const QString& actionName) const override {
    if (actionName == toggleAction()) return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
  }

 private:
  CheckBox& Box() const { return *static_cast<CheckBox*>(widget()); }
};

QAccessibleInterface* CheckBoxFactory(const QString&, QObject* object) {
  // Asked for every class of an object's ancestry: answering for the first is enough.
  if (auto* box = dynamic_cast<CheckBox*>(object)) return new AccessibleCheckBox(box);
  return nullptr;
}

}  // namespace

void InstallCheckBoxAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&CheckBoxFactory);
    return true;
  }();
  (void)installed;
}

void ReportCheckedChange(CheckBox& box) {
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(&box, changed);
  QAccessible::updateAccessibility(&event);
}

}  // namespace platform
