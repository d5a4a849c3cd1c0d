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
    browser_->setOpenExternalLinks(false);
    browser_->resize(520, 480);
  }
  QFile file(helpFile);
  // Only a regular file is read: opening a named pipe would wait for a writer for ever, and a
  // device may give bytes without end.
  if (QFileInfo(helpFile).isFile() && file.open(QIODevice::ReadOnly)) {
    // The file is read as HTML whatever its extension; links inside it resolve beside it.
    browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
    browser_->setHtml(QString::fromUtf8(file.readAll()));
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

}  // namespace platform
