#pragma once

#include <QString>

class QWidget;

namespace platform {

// Tells the user something went wrong and waits until the user has read it.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows `text` under the title `caption` with the error icon and a single OK button, in front
  // of `owner` when there is one; returns once the user has closed it, the keyboard back with
  // `owner`.
  virtual void ShowError(QWidget* owner, const QString& text, const QString& caption) = 0;
};

// The desktop's own message box (a modal QMessageBox).
class SystemMessageBox : public MessageBoxService {
 public:
  void ShowError(QWidget* owner, const QString& text, const QString& caption) override;
};

}  // namespace platform
