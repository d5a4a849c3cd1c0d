#include "platform/services/HelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

namespace platform {

HelpViewer::~HelpViewer() { delete browser_; }

void HelpViewer::Show(const QString& helpFile) {
  if (browser_ == nullptr) {
    browser_ = new QTextBrowser;
    browser_->setWindowTitle(QStringLiteral("Aide de Tavelmarque"));
    browser_->setReadOnly(true);
    // A link never replaces the help with what it names: a file or page shown here could be
    // anything, and the viewer has no way back.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_,
                     [this](const QUrl& link) { FollowLink(link); });
    browser_->resize(520, 480);
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
    browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
    browser_->setHtml(QString::fromUtf8(html));
  } else {
    browser_->setPlainText(
        QStringLiteral("Le fichier d'aide « %1 » est introuvable ou illisible.").arg(helpFile));
  }
  // Opened from a modal window, the help must stay usable while that window is open: a window
  // transient for the modal one is not blocked by it. It is not owned by it, though, and
  // outlives it.
  browser_->winId();
  if (QWindow* handle = browser_->windowHandle()) {
    QWidget* modal = QApplication::activeModalWidget();
    handle->setTransientParent(modal != nullptr ? modal->windowHandle() : nullptr);
  }
  browser_->show();
  browser_->raise();
  browser_->activateWindow();
}

void HelpViewer::FollowLink(const QUrl& link) {
  if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
    browser_->scrollToAnchor(link.fragment());
    return;
  }
  const QString scheme = link.scheme().toLower();
  const bool outside = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                       scheme == QLatin1String("mailto");
  if (outside && openLink_) openLink_(link);
}

}  // namespace platform
