#include "platform/services/HelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWindow>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/services/HelpText.h"

namespace platform {

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

void HelpViewer::GiveFocusBack() { GiveKeyboardBackLater(openers_); }

}  // namespace platform
