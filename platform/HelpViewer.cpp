#include "platform/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

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
  if (file.open(QIODevice::ReadOnly)) {
    // The file is read as HTML whatever its extension; links inside it resolve beside it.
    browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
    browser_->setHtml(QString::fromUtf8(file.readAll()));
  } else {
    browser_->setPlainText(
        QStringLiteral("Le fichier d'aide « %1 » est introuvable ou illisible.").arg(helpFile));
  }
  browser_->show();
  browser_->raise();
  browser_->activateWindow();
}

}  // namespace platform
