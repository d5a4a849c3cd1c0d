#include "about/mShellExecute.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <climits>
#include <set>
#include <vector>

#include "about/VersionInfo.h"
#include "platform/services/DocumentLauncher.h"
#include "platform/services/MessageBox.h"
#include "support/FakeLauncher.h"

namespace {

using mShellExecute::LaunchDocument;
using mShellExecute::LaunchErrorMessage;

// Remembers what would have been shown.
class RecordingBox : public platform::MessageBoxService {
 public:
  struct Shown {
    QWidget* owner;
    QString text, caption;
  };
  void ShowError(QWidget* owner, const QString& text, const QString& caption) override {
    shown.push_back({owner, text, caption});
  }
  std::vector<Shown> shown;
};

const QString kGeneric = LaunchErrorMessage(mShellExecute::kAnyOtherCode);

TEST(LaunchDocument, HandsTheRequestOverAndReturnsTheCodeUnchanged) {
  QWidget owner;
  for (int code : {INT_MIN, -5, -1, 0, 1, 2, 8, 31, 32, 33, 42, INT_MAX}) {
    for (bool showErrors : {false, true}) {
      FakeLauncher launcher;
      RecordingBox box;
      launcher.result = code;
      const int result = LaunchDocument(QStringLiteral("mailto: support@tavelmarque.example.org"),
                                        QStringLiteral("open"), QStringLiteral("/tmp"), &owner,
                                        showErrors, {launcher, box});
      EXPECT_EQ(result, code);
      ASSERT_EQ(launcher.calls.size(), 1u);
      const FakeLauncher::Call& call = launcher.calls[0];
      EXPECT_EQ(call.file, QStringLiteral("mailto: support@tavelmarque.example.org"));
      EXPECT_EQ(call.verb, QStringLiteral("open"));
      EXPECT_EQ(call.directory, QStringLiteral("/tmp"));
      EXPECT_EQ(call.awaitOutcome, showErrors) << "only a caller who hears of failures waits";
    }
  }
}

TEST(LaunchDocument, TellsOfAFailureOnlyWhenAsked) {
  QWidget owner;
  std::vector<int> codes = {INT_MIN, INT_MAX};
  for (int code = -40; code <= 40; ++code) codes.push_back(code);
  for (int code : codes) {
    for (bool showErrors : {false, true}) {
      FakeLauncher launcher;
      RecordingBox box;
      launcher.result = code;
      LaunchDocument(QStringLiteral("x"), QStringLiteral("open"), QString(), &owner, showErrors,
                     {launcher, box});
      const bool failure = code <= 32;
      ASSERT_EQ(box.shown.size(), showErrors && failure ? 1u : 0u) << code;
      if (box.shown.empty()) continue;
      EXPECT_EQ(box.shown[0].text, LaunchErrorMessage(code)) << code;
      EXPECT_EQ(box.shown[0].caption, QStringLiteral("Tavelmarque"));
      EXPECT_EQ(box.shown[0].owner, &owner);
    }
  }
}

TEST(LaunchErrorMessages, UnlistedAndNegativeCodesTakeTheLastRow) {
  std::set<int> generic;
  for (int code = 0; code <= 32; ++code) {
    if (LaunchErrorMessage(code) == kGeneric) generic.insert(code);
  }
  const std::set<int> unlisted = {1,  4,  6,  7,  9,  10, 12, 13, 14, 15,
                                  16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
  EXPECT_EQ(generic, unlisted);
  for (int code : {-1, -2, -32, INT_MIN}) EXPECT_EQ(LaunchErrorMessage(code), kGeneric) << code;
  EXPECT_EQ(kGeneric, QStringLiteral("Une erreur est survenue pendant l'ouverture du fichier."));
}

TEST(LaunchErrorMessages, OnlyZeroAndEightShareAMessage) {
  EXPECT_EQ(LaunchErrorMessage(0), LaunchErrorMessage(8));
  EXPECT_EQ(LaunchErrorMessage(0), QStringLiteral("Mémoire insuffisante."));
  std::set<QString> distinct;
  for (const mShellExecute::LaunchError& row : mShellExecute::LaunchErrorMessages) {
    if (row.code != 8) distinct.insert(LaunchErrorMessage(row.code));
  }
  EXPECT_EQ(distinct.size(), mShellExecute::LaunchErrorMessages.size() - 1);
  EXPECT_EQ(LaunchErrorMessage(32), QStringLiteral("Une DLL requise n'a pas été trouvée."));
}

TEST(VersionInfo, ShowsMajorMinorRevisionOfTheFileVersion) {
  const QString shown =
      QStringLiteral("%1.%2.%3").arg(version::kMajor).arg(version::kMinor).arg(version::kRevision);
  EXPECT_EQ(QStringLiteral("%1.%2.%3.%4")
                .arg(version::kMajor)
                .arg(version::kMinor)
                .arg(version::kBuild)
                .arg(version::kRevision),
            QString::fromUtf8(version::kFileVersion));
  EXPECT_EQ(shown, QStringLiteral("1.0.1"));
  EXPECT_STREQ(version::kFileDescription, "Convertisseur Francs-Euros");
}

}  // namespace
