#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QTextBrowser;

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

  void Show(const QString& helpFile);
  // The window, once shown (for tests).
  QTextBrowser* Window() const { return browser_; }

 private:
  void FollowLink(const QUrl& link);

  std::function<void(const QUrl&)> openLink_;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace platform
