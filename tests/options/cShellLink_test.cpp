#include "options/cShellLink.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using options::cShellLink;

struct Link {
  QString lnkFile, exeFile, description;
  std::int32_t hotKey = 0;
  QString workDir, exeArgs, iconFile;
  std::int32_t iconIdx = 0, startShow = 0;
  bool operator==(const Link&) const = default;
};

void Set(cShellLink& link, const Link& v) {
  link.SetLnkFile(v.lnkFile);
  link.SetExeFile(v.exeFile);
  link.SetDescription(v.description);
  link.SetHotKey(v.hotKey);
  link.SetWorkDir(v.workDir);
  link.SetExeArgs(v.exeArgs);
  link.SetIconFile(v.iconFile);
  link.SetIconIdx(v.iconIdx);
  link.SetStartShow(v.startShow);
}

Link Get(const cShellLink& link) {
  return {link.LnkFile(), link.ExeFile(),  link.Description(), link.HotKey(),   link.WorkDir(),
          link.ExeArgs(), link.IconFile(), link.IconIdx(),     link.StartShow()};
}

void PrintTo(const Link& v, std::ostream* out) {
  *out << "{" << v.lnkFile.toStdString() << " | " << v.exeFile.toStdString() << " | "
       << v.description.toStdString() << " | " << v.hotKey << " | " << v.workDir.toStdString()
       << " | " << v.exeArgs.toStdString() << " | " << v.iconFile.toStdString() << " | "
       << v.iconIdx << " | " << v.startShow << "}";
}

// Readable in failure messages.
std::vector<std::string> Texts(const QStringList& list) {
  std::vector<std::string> texts;
  for (const QString& text : list) texts.push_back(text.toStdString());
  return texts;
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct Ran {
  int status = -1;
  QString output;
};

Ran RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(30000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAll())};
}

// A program that records the folder it runs in and its arguments, each ended by a NUL, in the
// file named by $TAVELMARQUE_TEST_RECORD.
void InstallRecorder(const QString& path) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path())) << path.toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(
      "#!/bin/sh\n"
      "printf '%s\\0' \"$(pwd -P)\" \"$0\" \"$@\" > \"$TAVELMARQUE_TEST_RECORD.part\" &&\n"
      "  mv \"$TAVELMARQUE_TEST_RECORD.part\" \"$TAVELMARQUE_TEST_RECORD\"\n");
  file.close();
  ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                  QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                  QFile::ExeOther));
}

// Starts the entry with GLib's own desktop-entry launcher, which reads Exec as the freedesktop
// rules say, and gives what the started program recorded: its folder, then its argv.
QStringList LaunchWithGio(const QString& entry, const QString& record) {
  qputenv("TAVELMARQUE_TEST_RECORD", QFile::encodeName(record));
  const Ran gio = RunProgram(QStringLiteral("gio"), {QStringLiteral("launch"), entry});
  EXPECT_EQ(gio.status, 0) << gio.output.toStdString();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!QFileInfo::exists(record) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  QStringList fields = QString::fromUtf8(Bytes(record)).split(QChar(u'\0'));
  fields.removeLast();  // after the last NUL
  QFile::remove(record);
  return fields;
}

// A path of exactly `length` characters under `root` (long folders, then a long file name).
QString PathOfLength(const QString& root, int length) {
  QString folder = root + QStringLiteral("/long");
  while (length - folder.size() - 1 > 200) folder += QLatin1Char('/') + QString(100, u'd');
  return folder + QLatin1Char('/') + QString(length - folder.size() - 1, u'f');
}

// Hostile values for every property: each entry is checked by desktop-file-validate, read back
// whole by a new object, and started by GLib, which must run exactly the program and arguments
// written, in the working folder written, without any of it reaching a shell.
TEST(cShellLink, EveryPropertyRoundTripsAndTheEntryRunsExactlyWhatWasWritten) {
  QTemporaryDir temp;
  const QString root = temp.path();
  const QString autostart = root + QStringLiteral("/autostart/");
  const QString longExe = PathOfLength(root, 300);
  const QString exe254 = PathOfLength(root + QStringLiteral("/b"), 254);
  const Link cases[] = {
      {autostart + QStringLiteral("Tavelmarque.desktop"),
       root + QStringLiteral("/usr/lib/tavelmarque/Tavelmarque"),
       {},
       0,
       {},
       QStringLiteral("/Hidden"),
       root + QStringLiteral("/usr/lib/tavelmarque/Tavelmarque"),
       0,
       7},
      {autostart + QStringLiteral("with blanks.desktop"),
       root + QStringLiteral("/dir with blanks/\"double\" 'single'/run me"),
       QStringLiteral(" starts and ends with a blank "), 0x0654,
       root + QStringLiteral("/dir with blanks/\"double\" 'single'"),
       QStringLiteral("a  b \"c d\" 'e' "), root + QStringLiteral("/icons/\"i\" 'c'.png"), 3, 1},
      {autostart + QStringLiteral("shell.desktop"),
       root + QStringLiteral("/$HOME ${PATH} $(id) `id`/;&|<>*?#~()!/run"),
       QStringLiteral("; # $HOME `id` $(id)"), 65535,
       root + QStringLiteral("/$HOME ${PATH} $(id) `id`"),
       QStringLiteral("$HOME `touch %1/pwned` $(touch %1/pwned) ; && || # ~ * ? > x < y | z")
           .arg(root),
       QStringLiteral("$HOME/`id`.png"), 0, 2},
      {autostart + QStringLiteral("percent.desktop"),
       root + QStringLiteral("/100% \\back\\slash %f %U %%/p%%q\\"),
       QStringLiteral("C:\\Program Files\\a\\nb\\s %i %%"), -1,
       root + QStringLiteral("/100% \\back\\slash %f %U %%"),
       QStringLiteral("%f %U %% 50% \\ \\\\ \\\" \\n %k end\\"),
       root + QStringLiteral("/ic\\on%i.png"), -5, 0},
      {autostart + QStringLiteral("controls.desktop"),
       root + QStringLiteral("/tab\there/new\nline/run"),
       QStringLiteral("line 1\nline 2\r\n\tindented\n"),
       0,
       root + QStringLiteral("/tab\there"),
       QStringLiteral("x\ny\tz\rw"),
       {},
       0,
       3},
      {autostart + QStringLiteral("Démarrage ünï 起動.desktop"),
       root + QStringLiteral("/Programmes é/Tavelmärque €"),
       QStringLiteral("Convertisseur franc/euro — démarrage"), 0,
       root + QStringLiteral("/Programmes é"), QStringLiteral("/Caché ünï 起動"),
       root + QStringLiteral("/Programmes é/icône.png"), 1, 7},
      {autostart + QStringLiteral("254.desktop"), exe254, QString(254, u'd'), 0,
       QFileInfo(exe254).path(), QStringLiteral("/Hidden"), exe254, 0, 7},
      {autostart + QStringLiteral("300.desktop"), longExe, QString(3000, u';'), 0,
       QFileInfo(longExe).path(), QString(300, u'a'),
       PathOfLength(root + QStringLiteral("/i"), 300), 0, 7},
      {autostart + QStringLiteral("equals.desktop"),
       root + QStringLiteral("/a=b/-run=x"),
       {},
       0,
       {},
       QStringLiteral("--opt=1 -- -"),
       {},
       0,
       7},
  };
  ASSERT_EQ(exe254.size(), 254);
  ASSERT_EQ(longExe.size(), 300);
  for (const Link& c : cases) {
    SCOPED_TRACE(c.lnkFile.toStdString());
    InstallRecorder(c.exeFile);
    cShellLink writer;
    Set(writer, c);
    ASSERT_TRUE(writer.CreateLink());
    EXPECT_EQ(writer.LastError(), 0);
    EXPECT_EQ(Get(writer), c) << "writing changes no property";

    const Ran validate = RunProgram(QStringLiteral("desktop-file-validate"), {c.lnkFile});
    EXPECT_EQ(validate.status, 0) << validate.output.toStdString();
    EXPECT_EQ(validate.output.toStdString(), "") << "no warning either";

    cShellLink reader;
    reader.SetLnkFile(c.lnkFile);
    ASSERT_TRUE(reader.GetLinkInfo());
    EXPECT_EQ(Get(reader), c);

    QStringList expected = {c.workDir.isEmpty() ? QDir::currentPath() : c.workDir, c.exeFile};
    if (!c.exeArgs.isEmpty()) expected += c.exeArgs.split(u' ');
    EXPECT_EQ(Texts(LaunchWithGio(c.lnkFile, root + QStringLiteral("/record"))), Texts(expected));
  }
  EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/pwned"))) << "a shell ran an argument";
}

TEST(cShellLink, TheStartupEntryIsAPlainDesktopEntry) {
  QTemporaryDir temp;
  cShellLink link;
  link.SetLnkFile(temp.filePath(QStringLiteral("Tavelmarque.desktop")));
  link.SetExeFile(QStringLiteral("/usr/lib/tavelmarque/Tavelmarque"));
  link.SetIconFile(link.ExeFile());
  link.SetIconIdx(0);
  link.SetStartShow(7);
  link.SetExeArgs(QStringLiteral("/Hidden"));
  ASSERT_TRUE(link.CreateLink());
  EXPECT_EQ(Bytes(link.LnkFile()),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Tavelmarque\n"
            "Icon=/usr/lib/tavelmarque/Tavelmarque\n"
            "TryExec=/usr/lib/tavelmarque/Tavelmarque\n"
            "Exec=/usr/lib/tavelmarque/Tavelmarque /Hidden\n"
            "X-Tavelmarque-IconIndex=0\n"
            "X-Tavelmarque-HotKey=0\n"
            "X-Tavelmarque-StartShow=7\n");
}

TEST(cShellLink, WithoutProgramOrFileNothingIsWritten) {
  QTemporaryDir temp;
  const QString folder = temp.filePath(QStringLiteral("autostart"));
  const QString file = folder + QStringLiteral("/Tavelmarque.desktop");
  const QString program = QStringLiteral("/usr/bin/true");
  const struct {
    QString lnkFile, exeFile;
  } cases[] = {
      {file, {}},
      {{}, program},
      {file, QString::fromUtf16(u"\0/usr/bin/true", 14)},
      {QString::fromUtf16(u"\0x.desktop", 10), program},
  };
  for (const auto& c : cases) {
    cShellLink link;
    link.SetLnkFile(c.lnkFile);
    link.SetExeFile(c.exeFile);
    link.SetExeArgs(QStringLiteral("/Hidden"));
    EXPECT_FALSE(link.CreateLink());
    EXPECT_EQ(link.LastError(), EINVAL);
    EXPECT_FALSE(QFileInfo::exists(folder));
  }
}

TEST(cShellLink, AFailedReadChangesNoProperty) {
  QTemporaryDir temp;
  const Link before = {temp.filePath(QStringLiteral("missing.desktop")),
                       QStringLiteral("/e"),
                       QStringLiteral("d"),
                       1,
                       QStringLiteral("/w"),
                       QStringLiteral("a"),
                       QStringLiteral("/i"),
                       2,
                       3};
  for (const QString& lnkFile : {before.lnkFile, QString(), temp.path()}) {
    Link expected = before;
    expected.lnkFile = lnkFile;
    cShellLink link;
    Set(link, expected);
    EXPECT_FALSE(link.GetLinkInfo());
    EXPECT_EQ(Get(link), expected);
  }
}

TEST(cShellLink, ANewObjectShowsNothingAndResetShowsNormally) {
  cShellLink link;
  EXPECT_EQ(Get(link), Link{});
  Set(link, {QStringLiteral("l"), QStringLiteral("e"), QStringLiteral("d"), 1, QStringLiteral("w"),
             QStringLiteral("a"), QStringLiteral("i"), 2, 3});
  link.Reset();
  Link reset;
  reset.startShow = 1;
  EXPECT_EQ(Get(link), reset);
}

TEST(cShellLink, AnIconIndexWithoutIconFileIsNotWritten) {
  QTemporaryDir temp;
  cShellLink link;
  link.SetLnkFile(temp.filePath(QStringLiteral("t.desktop")));
  link.SetExeFile(QStringLiteral("/usr/bin/true"));
  link.SetIconIdx(5);
  ASSERT_TRUE(link.CreateLink());
  EXPECT_FALSE(Bytes(link.LnkFile()).contains("IconIndex"));
  ASSERT_TRUE(link.GetLinkInfo());
  EXPECT_EQ(link.IconIdx(), 0);
}

TEST(cShellLink, TheSecondLinkOfANameReplacesTheFirst) {
  QTemporaryDir temp;
  const QString folder = temp.filePath(QStringLiteral("autostart"));
  const Link first = {folder + QStringLiteral("/Tavelmarque.desktop"),
                      QStringLiteral("/usr/bin/first"),
                      QStringLiteral("first"),
                      1,
                      QStringLiteral("/tmp"),
                      QStringLiteral("--first"),
                      QStringLiteral("/first.png"),
                      1,
                      1};
  const Link second = {first.lnkFile,
                       QStringLiteral("/usr/bin/second"),
                       {},
                       0,
                       {},
                       QStringLiteral("/Hidden"),
                       {},
                       0,
                       7};
  for (const Link& v : {first, second}) {
    cShellLink link;
    Set(link, v);
    ASSERT_TRUE(link.CreateLink());
  }
  EXPECT_EQ(Texts(Entries(folder)), std::vector<std::string>{"Tavelmarque.desktop"});
  cShellLink link;
  link.SetLnkFile(first.lnkFile);
  ASSERT_TRUE(link.GetLinkInfo());
  EXPECT_EQ(Get(link), second);
}

}  // namespace
