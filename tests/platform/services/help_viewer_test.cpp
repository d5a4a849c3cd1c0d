#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <memory>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/services/HelpText.h"
#include "platform/services/HelpViewer.h"

namespace {

TEST(HelpViewer, OpenedFromAModalWindowIsUsableAndOutlivesIt) {
  platform::HelpViewer help;
  platform::Form owner;
  owner.ShowModeless();
  auto dialog = std::make_unique<platform::Form>();
  QTimer::singleShot(0, dialog.get(), [&] {
    help.Show(QStringLiteral("/nonexistent/Tavelmarque.hlp"));
    // Transient for the modal window, the help is not blocked by it.
    ASSERT_NE(help.Window(), nullptr);
    EXPECT_EQ(help.Window()->windowHandle()->transientParent(), dialog->windowHandle());
    EXPECT_EQ(help.Window()->parent(), nullptr) << "not owned by the dialog";
    dialog->hide();
  });
  dialog->ShowModal(owner);
  dialog.reset();
  ASSERT_NE(help.Window(), nullptr);
  EXPECT_TRUE(help.Window()->isVisible());
  EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("introuvable")));
  // Opened from a plain window, it belongs to it.
  owner.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
  help.Show(QStringLiteral("/nonexistent/Tavelmarque.hlp"));
  EXPECT_EQ(help.Window()->windowHandle()->transientParent(), owner.windowHandle());
}

// A screen reader reads the help as a text with a caret, line by line.
TEST(HelpViewer, ReadLineByLineAsTheCaretMoves) {
  platform::HelpViewer help;
  help.Show(QStringLiteral("/nonexistent/Tavelmarque.hlp"));
  QTextEdit* text = help.Window();
  ASSERT_TRUE(QTest::qWaitForWindowActive(text));
  QAccessibleInterface* read = QAccessible::queryAccessibleInterface(text);
  EXPECT_EQ(read->role(), QAccessible::EditableText);
  EXPECT_TRUE(read->state().readOnly);
  ASSERT_NE(read->textInterface(), nullptr);
  QTest::keyClick(text, Qt::Key_Right);
  EXPECT_EQ(read->textInterface()->cursorPosition(), 1) << "the caret moves with the keys";
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
  const QString large = dir.filePath(QStringLiteral("large.hlp"));
  QFile file(large);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(platform::HelpViewer::kMaxSize + 1));
  platform::HelpViewer help;
  for (const QString& path : {pipe, folder, device, large}) {
    help.Show(path);
    EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("illisible")))
        << path.toStdString();
  }
}

// A click on a link never loads what it names into the help; web and mail links go out.
TEST(HelpViewer, LinksLeaveTheHelpInPlace) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Tavelmarque.hlp"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "<p>help</p><p><a href='#end'>[#end]</a> <a href='file:///etc/passwd'>[sswd]</a> "
      "<a href='other.hlp'>[.hlp]</a> <a href='https://example.org/'>[org/]</a> "
      "<a href='mailto:x@example.org'>[.org]</a></p><p><a name='end'>end</a></p>");
  file.close();
  QList<QUrl> opened;
  platform::HelpViewer help([&](const QUrl& url) { opened << url; });
  help.Show(path);
  QTextEdit* text = help.Window();
  // Each link clicked, then each reached with Tab and followed with Enter.
  for (bool keys : {false, true}) {
    SCOPED_TRACE(keys ? "Tab and Enter" : "clicks");
    opened.clear();
    text->moveCursor(QTextCursor::Start);
    for (const char* link : {"#end", "file:///etc/passwd", "other.hlp", "https://example.org/",
                             "mailto:x@example.org"}) {
      if (keys) {
        QTest::keyClick(text, Qt::Key_Tab);
        EXPECT_EQ(text->textCursor().selectedText(),
                  QStringLiteral("[%1]").arg(QString::fromLatin1(link).right(4)));
        QTest::keyClick(text, Qt::Key_Return);
      } else {
        QTextCursor at = text->document()->find(QString::fromLatin1(link).right(4));
        ASSERT_FALSE(at.isNull()) << link;
        at.setPosition(at.selectionStart() + 1);
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(at).center());
      }
      EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("help"))) << link;
    }
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(QStringLiteral("https://example.org/")),
                                   QUrl(QStringLiteral("mailto:x@example.org"))}));
  }
  QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(text->textCursor().selectedText(), QStringLiteral("[org/]")) << "Shift+Tab goes back";
}

// Tab and Shift+Tab select the help's links in their order, a link in several pieces of formatting
// whole and two links side by side apart; Enter follows only a selected link.
TEST(HelpText, TabSelectsEachLinkWholeAndEnterFollowsIt) {
  struct Case {
    const char* html;
    std::vector<Qt::Key> keys;  // from the start of the text
    QString selected;           // once the keys are pressed
    QList<QUrl> followed;       // by a final Enter
  } cases[] = {
      {"<p>a <a href='#x'>ab<b>cd</b>ef</a> b</p>", {Qt::Key_Tab}, "abcdef", {QUrl("#x")}},
      {"<p><a href='#x'>x1</a><a href='#y'>y1</a></p>", {Qt::Key_Tab}, "x1", {QUrl("#x")}},
      {"<p><a href='#x'>x1</a><a href='#y'>y1</a></p>",
       {Qt::Key_Tab, Qt::Key_Tab},
       "y1",
       {QUrl("#y")}},
      {"<p><a href='#x'>x1</a><a href='#y'>y1</a></p>",
       {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab},
       "x1",
       {QUrl("#x")}},
      {"<p><a href='#x'>x1</a> text</p>", {Qt::Key_End, Qt::Key_Backtab}, "x1", {QUrl("#x")}},
      {"<p>no link at all</p>", {Qt::Key_Tab}, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    QList<QUrl> followed;
    platform::HelpText text([&](const QUrl& link) { followed << link; }, [] {});
    text.setHtml(QString::fromUtf8(c.html));
    for (Qt::Key key : c.keys) {
      QTest::keyClick(&text, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    }
    EXPECT_EQ(text.textCursor().selectedText(), c.selected);
    QTest::keyClick(&text, Qt::Key_Return);
    EXPECT_EQ(followed, c.followed);
  }
}

}  // namespace
