#pragma once

#include <QString>
#include <QTextEdit>
#include <QUrl>
#include <functional>

namespace platform {

// The help as a read-only text with a caret: a screen reader reads it line by line as the caret
// moves, where Qt's text browser is one static text to it. Its links work as a browser's do: a
// click, or Tab to a link (Shift+Tab back) and Enter, each handed to `follow`; `hidden` is told
// when the window hides.
class HelpText : public QTextEdit {
 public:
  HelpText(std::function<void(const QUrl&)> follow, std::function<void()> hidden);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Selects the next or previous link from the caret; false when there is none that way.
  bool SelectLink(bool next);

  std::function<void(const QUrl&)> follow_;
  std::function<void()> hidden_;
  QString pressedOn_;  // the link a left press was on
};

}  // namespace platform
