#include "platform/services/HelpText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <utility>
#include <vector>

namespace platform {

HelpText::HelpText(std::function<void(const QUrl&)> follow, std::function<void()> hidden)
    : follow_(std::move(follow)), hidden_(std::move(hidden)) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse |
                          Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
}

void HelpText::mousePressEvent(QMouseEvent* event) {
  pressedOn_ =
      event->button() == Qt::LeftButton ? anchorAt(event->position().toPoint()) : QString();
  QTextEdit::mousePressEvent(event);
}

void HelpText::mouseReleaseEvent(QMouseEvent* event) {
  QTextEdit::mouseReleaseEvent(event);
  const QString link = std::exchange(pressedOn_, QString());
  if (event->button() == Qt::LeftButton && !link.isEmpty() &&
      anchorAt(event->position().toPoint()) == link) {
    follow_(QUrl(link));
  }
}

void HelpText::keyPressEvent(QKeyEvent* event) {
  const QTextCursor at = textCursor();
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && at.hasSelection() &&
      !at.charFormat().anchorHref().isEmpty()) {
    follow_(QUrl(at.charFormat().anchorHref()));
    return;
  }
  QTextEdit::keyPressEvent(event);
}

bool HelpText::focusNextPrevChild(bool next) { return SelectLink(next); }

void HelpText::hideEvent(QHideEvent* event) {
  QTextEdit::hideEvent(event);
  hidden_();
}

bool HelpText::SelectLink(bool next) {
  struct Link {
    int start, end;
    QString href;
  };
  std::vector<Link> links;  // a link's text may be in several pieces of formatting
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment piece = it.fragment();
      const QString href = piece.charFormat().anchorHref();
      if (href.isEmpty()) continue;
      if (!links.empty() && links.back().end == piece.position() && links.back().href == href) {
        links.back().end += piece.length();
      } else {
        links.push_back({piece.position(), piece.position() + piece.length(), href});
      }
    }
  }
  const int from = next ? textCursor().selectionEnd() : textCursor().selectionStart();
  const Link* chosen = nullptr;
  for (const Link& link : links) {
    if (next && link.start >= from) {
      chosen = &link;
      break;
    }
    if (!next && link.end <= from) chosen = &link;
  }
  if (chosen == nullptr) return false;
  QTextCursor selected(document());
  selected.setPosition(chosen->start);
  selected.setPosition(chosen->end, QTextCursor::KeepAnchor);
  setTextCursor(selected);
  return true;
}

}  // namespace platform
