#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

class QTextEdit;
class QWidget;

namespace platform {

// Shows the program's HTML help in a read-only window of its own; one window, reused.
class HelpViewer {
 public:
  // Web and mail links of the help go to `openLink` (the desktop's browser or mail program);
  // without one they are not followed. The help never loads another file or page into itself.
  explicit HelpViewer(std::function<void(const QUrl&)> openLink = {})
      : openLink_(std::move(openLink)) {}
  ~HelpViewer();
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  // Help files larger than this are told unreadable: the whole file is read into memory.
  static constexpr qint64 kMaxSize = 1024 * 1024;

  // Shows the help over the window that has the keyboard, which it belongs to until it closes.
  void Show(const QString& helpFile);
  // The window, once shown (for tests).
  QTextEdit* Window() const { return text_; }

 private:
  void FollowLink(const QUrl& link);
  void GiveFocusBack();

  std::function<void(const QUrl&)> openLink_;
  QTextEdit* text_ = nullptr;
  std::vector<QPointer<QWidget>> openers_;  // the opener, then the windows it belongs to
};

}  // namespace platform
