#include "platform/services/MessageBox.h"

#include <QMessageBox>

namespace platform {

void SystemMessageBox::ShowError(QWidget* owner, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace platform
