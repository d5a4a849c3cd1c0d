#include "platform/forms/SpokenRoles.h"

#include <QAccessibleWidget>

#include "platform/forms/Controls.h"

namespace platform {
namespace {

constexpr char kDialog[] = "tavelmarqueDialog";
constexpr char kClickable[] = "tavelmarqueClickable";  // the role, as an int

class ClickableAccessible : public QAccessibleWidget {
 public:
  ClickableAccessible(Label* label, QAccessible::Role role) : QAccessibleWidget(label, role) {}

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? Clicked().Caption() : QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& actionName) override {
    if (actionName == pressAction() && Clicked().isEnabled() && Clicked().Click) Clicked().Click();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  Label& Clicked() const { return *static_cast<Label*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (widget->property(kDialog).isValid()) {
    return new QAccessibleWidget(widget, QAccessible::Dialog);
  }
  const QVariant role = widget->property(kClickable);
  if (auto* label = dynamic_cast<Label*>(widget); label != nullptr && role.isValid()) {
    return new ClickableAccessible(label, static_cast<QAccessible::Role>(role.toInt()));
  }
  return nullptr;
}

}  // namespace

void SpeakAsDialog(QWidget& window, const QString& name) {
  MarkForScreenReader(window, kDialog, true, &Factory);
  if (!name.isEmpty()) window.setAccessibleName(name);
}

void SpeakAsButton(Label& label) {
  MarkForScreenReader(label, kClickable, QAccessible::Button, &Factory);
}

void SpeakAsLink(Label& label) {
  MarkForScreenReader(label, kClickable, QAccessible::Link, &Factory);
}

void MarkForScreenReader(QWidget& widget, const char* property, const QVariant& value,
                         QAccessible::InterfaceFactory factory) {
  QAccessible::installFactory(factory);  // once: Qt keeps a factory only once
  widget.setProperty(property, value);
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
}

}  // namespace platform
