#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "platform/forms/Form.h"
#include "platform/services/HelpViewer.h"

namespace {

TEST(HelpViewer, OpenedFromAModalWindowIsUsableAndOutlivesIt) {
  platform::HelpViewer help;
  platform::Form owner;
  owner.Show();
  auto dialog = std::make_unique<platform::Form>();
  QTimer::singleShot(0, dialog.get(), [&] {
    help.Show(QStringLiteral("/nonexistent/Tavelmarque.hlp"));
    // Transient for the modal window, the help is not blocked by it.
    ASSERT_NE(help.Window(), nullptr);
    EXPECT_EQ(help.Window()->windowHandle()->transientParent(), dialog->windowHandle());
    EXPECT_EQ(help.Window()->parent(), nullptr) << "not owned by the dialog";
    dialog->Hide();
  });
  dialog->ShowModal(owner);
  dialog.reset();
  ASSERT_NE(help.Window(), nullptr);
  EXPECT_TRUE(help.Window()->isVisible());
  EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("introuvable")));
  // Opened from a plain window, it stands on its own.
  help.Show(QStringLiteral("/nonexistent/Tavelmarque.hlp"));
  EXPECT_EQ(help.Window()->windowHandle()->transientParent(), nullptr);
}

// Whatever lies at the help file's name, F1 answers at once: what cannot be read as a file is
// told to be unreadable.
TEST(HelpViewer, WhatIsNoRegularFileIsToldUnreadableAtOnce) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath(QStringLiteral("pipe.hlp"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  const QString folder = dir.filePath(QStringLiteral("folder.hlp"));
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString device = dir.filePath(QStringLiteral("device.hlp"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
  platform::HelpViewer help;
  for (const QString& path : {pipe, folder, device}) {
    help.Show(path);
    EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("illisible")))
        << path.toStdString();
  }
}

}  // namespace
