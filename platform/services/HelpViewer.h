#pragma once

#include <QString>

class QTextBrowser;

namespace platform {

// Shows the program's HTML help in a read-only window of its own; one window, reused.
class HelpViewer {
 public:
  HelpViewer() = default;
  ~HelpViewer();
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  void Show(const QString& helpFile);
  // The window, once shown (for tests).
  QTextBrowser* Window() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace platform
