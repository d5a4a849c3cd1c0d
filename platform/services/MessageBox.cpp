#include "platform/services/MessageBox.h"

#include <QMessageBox>

namespace platform {

void SystemMessageBox::ShowError(QWidget* owner, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
  box.exec();
  // The box is gone for good: a window manager that falls back on no window of its own leaves
  // the keyboard nowhere, where the user expects the window the box stood in front of.
  if (owner != nullptr && owner->isVisible()) owner->activateWindow();
}

}  // namespace platform
