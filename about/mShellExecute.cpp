#include "about/mShellExecute.h"

#include "about/VersionInfo.h"
#include "platform/services/DocumentLauncher.h"
#include "platform/services/MessageBox.h"

namespace mShellExecute {

QString LaunchErrorMessage(int code) {
  const LaunchError* row = &LaunchErrorMessages.back();
  for (const LaunchError& candidate : LaunchErrorMessages) {
    if (candidate.code == code) {
      row = &candidate;
      break;
    }
  }
  return QString::fromUtf8(row->message.data(), static_cast<qsizetype>(row->message.size()));
}

Services SystemServices() {
  // Neither holds any state or Qt object, so living until the program ends is harmless.
  static platform::XdgOpenLauncher launcher;
  static platform::SystemMessageBox messageBox;
  return {launcher, messageBox};
}

int LaunchDocument(const QString& file, const QString& operation, const QString& directory,
                   QWidget* ownerWindow, bool showErrors, const Services& services) {
  const int result = services.launcher.Open(file, operation, directory, showErrors);
  if (!showErrors || result > 32) return result;
  services.messageBox.ShowError(ownerWindow, LaunchErrorMessage(result),
                                QString::fromUtf8(version::kProductName));
  return result;
}

}  // namespace mShellExecute
