#include "platform/services/HelpViewer.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Some window managers (Openbox) give the keyboard to no window when one closes: the help's
// opener takes it back a moment later, unless the user has gone to another window meanwhile.
constexpr int kRefocusDelayMs = 250;

// The help as a read-only text with a caret: a screen reader reads it line by line as the caret
// moves, where Qt's text browser is one static text to it. Its links work as a browser's do: a
// click, or Tab to a link (Shift+Tab back) and Enter.
class HelpText : public QTextEdit {
 public:
  HelpText(std::function<void(const QUrl&)> follow, std::function<void()> hidden)
      : follow_(std::move(follow)), hidden_(std::move(hidden)) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse |
                            Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressedOn_ =
        event->button() == Qt::LeftButton ? anchorAt(event->position().toPoint()) : QString();
    QTextEdit::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QTextEdit::mouseReleaseEvent(event);
    const QString link = std::exchange(pressedOn_, QString());
    if (event->button() == Qt::LeftButton && !link.isEmpty() &&
        anchorAt(event->position().toPoint()) == link) {
      follow_(QUrl(link));
    }
  }
  void keyPressEvent(QKeyEvent* event) override {
    const QTextCursor at = textCursor();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && at.hasSelection() &&
        !at.charFormat().anchorHref().isEmpty()) {
      follow_(QUrl(at.charFormat().anchorHref()));
      return;
    }
    QTextEdit::keyPressEvent(event);
  }
  bool focusNextPrevChild(bool next) override { return SelectLink(next); }
  void hideEvent(QHideEvent* event) override {
    QTextEdit::hideEvent(event);
    hidden_();
  }

 private:
  // Selects the next or previous link from the caret; false when there is none that way.
  bool SelectLink(bool next) {
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

  std::function<void(const QUrl&)> follow_;
  std::function<void()> hidden_;
  QString pressedOn_;
};

}  // namespace

HelpViewer::~HelpViewer() { delete text_; }

void HelpViewer::Show(const QString& helpFile) {
  if (text_ == nullptr) {
    text_ =
        new HelpText([this](const QUrl& link) { FollowLink(link); }, [this] { GiveFocusBack(); });
    text_->setWindowTitle(QStringLiteral("Aide de Tavelmarque"));
    text_->resize(520, 480);
  }
  QFile file(helpFile);
  // Only a regular file is read: opening a named pipe would wait for a writer for ever, and a
  // device may give bytes without end.
  QByteArray html;
  bool read = false;
  if (QFileInfo(helpFile).isFile() && file.open(QIODevice::ReadOnly)) {
    html = file.read(kMaxSize + 1);  // one byte more tells a file too large
    read = file.error() == QFileDevice::NoError && html.size() <= kMaxSize;
  }
  if (read) {
    // The file is read as HTML whatever its extension; its pictures are found beside it.
    text_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(helpFile).absolutePath() + '/'));
    text_->setHtml(QString::fromUtf8(html));
  } else {
    text_->setPlainText(
        QStringLiteral("Le fichier d'aide « %1 » est introuvable ou illisible.").arg(helpFile));
  }
  // The help belongs to the window that opened it: kept above it, and not blocked by it when
  // that window is modal. It is not owned by it, though, and outlives it.
  QWidget* opener = QApplication::activeModalWidget();
  if (opener == nullptr) opener = QApplication::activeWindow();
  if (opener != text_) {
    // The opener, then the windows it belongs to: the keyboard goes back to the first still
    // shown when the help closes.
    openers_.clear();
    for (QWidget* window = opener; window != nullptr;
         window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr) {
      openers_.emplace_back(window);
    }
  }
  text_->winId();
  if (QWindow* handle = text_->windowHandle()) {
    QWidget* owner = openers_.empty() ? nullptr : openers_.front().data();
    handle->setTransientParent(owner != nullptr ? owner->windowHandle() : nullptr);
  }
  text_->show();
  text_->raise();
  text_->activateWindow();
}

void HelpViewer::FollowLink(const QUrl& link) {
  if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
    text_->scrollToAnchor(link.fragment());
    return;
  }
  const QString scheme = link.scheme().toLower();
  const bool outside = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                       scheme == QLatin1String("mailto");
  if (outside && openLink_) openLink_(link);
}

void HelpViewer::GiveFocusBack() {
  QTimer::singleShot(kRefocusDelayMs, text_, [this] {
    if (QGuiApplication::focusWindow() != nullptr) return;
    for (const QPointer<QWidget>& window : openers_) {
      if (window != nullptr && window->isVisible()) {
        window->activateWindow();
        return;
      }
    }
  });
}

}  // namespace platform
