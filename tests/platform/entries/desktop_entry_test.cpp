#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/entries/DesktopEntry.h"
#include "support/ChildProcess.h"

namespace {

using platform::DesktopEntry;
using platform::ReadDesktopEntry;
using platform::WriteDesktopEntry;
using testing_support::RunBounded;
using namespace std::chrono_literals;

bool Same(const DesktopEntry& a, const DesktopEntry& b) {
  return a.program == b.program && a.arguments == b.arguments &&
         a.workingFolder == b.workingFolder && a.comment == b.comment && a.icon == b.icon &&
         a.iconIndex == b.iconIndex && a.hotKey == b.hotKey && a.showCommand == b.showCommand;
}

// What a failed read must leave as it was.
DesktopEntry Sentinel() {
  DesktopEntry entry;
  entry.program = QStringLiteral("/sentinel/program");
  entry.arguments = {QStringLiteral("left"), QStringLiteral("alone")};
  entry.workingFolder = QStringLiteral("/sentinel");
  entry.comment = QStringLiteral("unchanged");
  entry.icon = QStringLiteral("/sentinel/icon.png");
  entry.iconIndex = 3;
  entry.hotKey = 4;
  entry.showCommand = 5;
  return entry;
}

// Readable in failure messages.
std::vector<std::string> Texts(const QStringList& list) {
  std::vector<std::string> texts;
  for (const QString& text : list) texts.push_back(text.toStdString());
  return texts;
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

const QByteArray kValid = "[Desktop Entry]\nType=Application\nName=x\nExec=/bin/true\n";

TEST(DesktopEntryRead, EntriesOfOtherProgramsReadAsADesktopStartsThem) {
  struct Case {
    const char* text;
    std::optional<QStringList> command;  // nothing: not started, read fails
  } cases[] = {
      {"[Desktop Entry]\nType=Application\nExec=prog %U --flag %f\n",
       QStringList{"prog", "--flag"}},
      {"[Desktop Entry]\nType=Application\nName=N\nIcon=ic\n"
       "Exec='single quoted' \"dq \\\\$x \\\\\\\\ \\\\q\" un\\\\ quoted %i %c %k\n",
       QStringList{"single quoted", "dq $x \\ \\q", "un quoted", "--icon", "ic", "N", "@FILE@"}},
      {"# made by hand\n\n[Other]\nExec=other\n[Desktop Entry]\r\nType = Application\r\n"
       "Exec = /usr/bin/env -- /p%%q a%%b \r\n[Desktop Action x]\nExec=action\n",
       QStringList{"/p%q", "a%b"}},
      {"[Desktop Entry]\nType=Application\nExec=a\nExec=b\nHidden=false\n", QStringList{"b"}},
      // A byte-order mark is a character like any other inside a file.
      {"[Desktop Entry]\nType=Application\nExec=\xEF\xBB\xBFp \xEF\xBB\xBF\xC3\xA9\n",
       QStringList{QStringLiteral("\uFEFFp"), QStringLiteral("\uFEFF\u00E9")}},
      {"[Desktop Entry]\nType=Application\nExec=a\nHidden=true\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=a\nX-GNOME-Autostart-enabled=false\n",
       std::nullopt},
      {"[Desktop Entry]\nType=Link\nExec=a\n", std::nullopt},
      {"[Desktop Entry]\nExec=a\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=%f\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=\"open quote\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=a \\\\\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=a \\q\n", std::nullopt},
      {"Exec=a\n[Desktop Entry]\nType=Application\nExec=a\n", std::nullopt},
      {"[Desktop Entry]\nType=Application\nExec=a\nnot a key\n", std::nullopt},
      {"[Desktop Entry\nType=Application\nExec=a\n", std::nullopt},
      {"[Other]\nType=Application\nExec=a\n", std::nullopt},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("e.desktop"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Put(path, c.text);
    DesktopEntry entry = Sentinel();
    ASSERT_EQ(ReadDesktopEntry(path, entry), c.command.has_value());
    if (!c.command) {
      EXPECT_TRUE(Same(entry, Sentinel()));
      continue;
    }
    QStringList expected = *c.command;
    expected.replaceInStrings(QStringLiteral("@FILE@"), path);
    EXPECT_EQ(Texts(QStringList(entry.program) + entry.arguments), Texts(expected));
  }
}

// Whatever sits at the entry's name, reading it ends at once with false, `entry` as it was and
// the thing itself untouched.
TEST(DesktopEntryRead, HostileFilesAreRefusedAtOnceAndLeftAlone) {
  struct Case {
    const char* what;
    std::function<void(const QString& path)> make;
  } cases[] = {
      {"folder", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }},
      {"named pipe",
       [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0644), 0); }},
      {"10 MB file",
       [](const QString& p) { Put(p, kValid + QByteArray(10 * 1024 * 1024, '#') + "\n"); }},
      {"one byte over the limit",
       [](const QString& p) {
         Put(p, kValid + "#" + QByteArray(platform::kDesktopEntryMaxSize - kValid.size(), 'x'));
       }},
      {"binary",
       [](const QString& p) {
         QByteArray bytes = kValid;
         std::mt19937 random(7);
         for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(random() & 0xff);
         Put(p, bytes);
       }},
      {"NUL byte", [](const QString& p) { Put(p, kValid + QByteArray("Comment=a\0b\n", 12)); }},
      {"invalid UTF-8", [](const QString& p) { Put(p, kValid + "Comment=\xc3\x28\xff\n"); }},
      {"dangling link",
       [](const QString& p) { ASSERT_TRUE(QFile::link(p + QStringLiteral(".gone"), p)); }},
      {"link to a device",
       [](const QString& p) { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), p)); }},
      {"hidden entry", [](const QString& p) { Put(p, kValid + "Hidden=true\n"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tavelmarque.desktop"));
    c.make(path);
    const QFileInfo before(path);
    const QByteArray bytesBefore = before.isFile() ? Bytes(path) : QByteArray();

    const int result = RunBounded(
        [&path] {
          DesktopEntry entry = Sentinel();
          if (ReadDesktopEntry(path, entry)) return 1;
          return Same(entry, Sentinel()) ? 0 : 2;
        },
        5s);
    EXPECT_EQ(result, 0) << "1: read as an entry, 2: entry changed, -1: still reading after 5 s";

    const QFileInfo after(path);
    EXPECT_EQ(after.isDir(), before.isDir());
    EXPECT_EQ(after.isSymLink(), before.isSymLink());
    EXPECT_EQ(after.size(), before.size());
    if (before.isFile()) {
      EXPECT_EQ(Bytes(path), bytesBefore);
    }
  }
}

DesktopEntry Sample(const QString& comment) {
  DesktopEntry entry;
  entry.program = QStringLiteral("/usr/bin/true");
  entry.arguments = {QStringLiteral("/Hidden")};
  entry.comment = comment;
  entry.icon = QStringLiteral("/usr/share/icons/t.png");
  entry.iconIndex = 2;
  entry.hotKey = 0x0654;
  entry.showCommand = 7;
  return entry;
}

TEST(DesktopEntryWrite, RefusesWhatItCannotWriteSoundlyAndChangesNothing) {
  QTemporaryDir dir;
  Put(dir.filePath(QStringLiteral("plain")), "a file, not a folder");
  ASSERT_TRUE(QDir().mkdir(dir.filePath(QStringLiteral("taken.desktop"))));
  const QString entry = dir.filePath(QStringLiteral("e.desktop"));
  struct Case {
    const char* what;
    QString path;
    DesktopEntry entry;
    int error;  // the reason given
  } cases[] = {
      {"no program", entry,
       [] {
         DesktopEntry e = Sample({});
         e.program.clear();
         return e;
       }(),
       EINVAL},
      {"control character", entry, Sample(QStringLiteral("bell\a")), EINVAL},
      {"program with both % and =", entry,
       [] {
         DesktopEntry e = Sample({});
         e.program = QStringLiteral("/opt/100%=full/run");
         return e;
       }(),
       EINVAL},
      {"larger than a read accepts", entry,
       Sample(QString(platform::kDesktopEntryMaxSize, QLatin1Char('c'))), EFBIG},
      {"folder under a file", dir.filePath(QStringLiteral("plain/sub/e.desktop")), Sample({}),
       ENOTDIR},
      {"a folder at the name", dir.filePath(QStringLiteral("taken.desktop")), Sample({}), EISDIR},
      {"a folder name too long",
       dir.filePath(QStringLiteral("new/") + QString(256, u'n') + QStringLiteral("/e.desktop")),
       Sample({}), ENAMETOOLONG},
  };
  const auto listing = [&dir] {
    QStringList all;
    for (const QFileInfo& info :
         QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
      all << info.fileName() + QString::number(info.size());
    }
    return all;
  };
  const QStringList before = listing();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WriteDesktopEntry(c.path, c.entry), c.error);
    EXPECT_EQ(Texts(listing()), Texts(before));
  }
}

// What GLib alone would not keep: a link at the name is written through to its file, and a
// replaced file keeps its mode, even one wider than the umask; a new one gets 0666 less the umask.
TEST(DesktopEntryWrite, LinksAreWrittenThroughAndModesKept) {
  const mode_t umask = ::umask(022);
  struct Case {
    const char* what;
    std::function<void(const QString& path, const QString& other)> make;
    bool link;
    mode_t mode;  // of the file written
  } cases[] = {
      {"no entry", [](const QString&, const QString&) {}, false, 0644},
      {"a 0600 entry", [](const QString& p, const QString&) { Put(p, kValid); }, false, 0600},
      {"a 0664 entry", [](const QString& p, const QString&) { Put(p, kValid); }, false, 0664},
      {"a link to an entry elsewhere",
       [](const QString& p, const QString& o) {
         Put(o, kValid);
         ASSERT_TRUE(QFile::link(o, p));
       },
       true, 0640},
      {"a relative link to a link",
       [](const QString& p, const QString& o) {
         Put(o, kValid);
         ASSERT_TRUE(QFile::link(o, p + QStringLiteral(".1")));
         ASSERT_EQ(::symlink("Tavelmarque.desktop.1", QFile::encodeName(p).constData()), 0);
       },
       true, 0600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("autostart/Tavelmarque.desktop"));
    const QString other = dir.filePath(QStringLiteral("dotfiles/Tavelmarque.desktop"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()) && QDir().mkpath(QFileInfo(other).path()));
    c.make(path, other);
    const QString file = c.link ? other : path;
    if (QFileInfo::exists(file)) {
      ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), c.mode), 0);
    }

    ASSERT_EQ(WriteDesktopEntry(path, Sample(QStringLiteral("new"))), 0);
    EXPECT_EQ(QFileInfo(path).isSymLink(), c.link);
    DesktopEntry entry;
    ASSERT_TRUE(ReadDesktopEntry(file, entry));
    EXPECT_EQ(entry.comment, QStringLiteral("new"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.mode);
    for (const QString& folder : {QFileInfo(path).path(), QFileInfo(other).path()}) {
      for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot)) {
        EXPECT_TRUE(name == QStringLiteral("Tavelmarque.desktop") ||
                    name == QStringLiteral("Tavelmarque.desktop.1"))
            << "left beside it: " << name.toStdString();
      }
    }
  }
  ::umask(umask);
}

// Whatever lies at the entry's name: only a regular file, or a link to one, is replaced (through
// the link) or removed (the link, not its file); anything else is never touched, and a write
// says why it refused.
TEST(DesktopEntryFile, OnlyRegularFilesAreReplacedOrRemoved) {
  struct Case {
    const char* what;
    std::function<void(const QString& path, const QString& other)> make;
    int writeError;  // 0: written
    bool removed;    // the name is free after a removal
  } cases[] = {
      {"nothing", [](const QString&, const QString&) {}, 0, true},
      {"an entry", [](const QString& p, const QString&) { Put(p, kValid); }, 0, true},
      {"a link to an entry",
       [](const QString& p, const QString& o) {
         Put(o, kValid);
         ASSERT_TRUE(QFile::link(o, p));
       },
       0, true},
      {"an empty folder", [](const QString& p, const QString&) { ASSERT_TRUE(QDir().mkdir(p)); },
       EISDIR, false},
      {"a link to a folder",
       [](const QString& p, const QString& o) {
         ASSERT_TRUE(QDir().mkdir(o));
         ASSERT_TRUE(QFile::link(o, p));
       },
       EISDIR, false},
      {"a named pipe",
       [](const QString& p, const QString&) {
         ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0644), 0);
       },
       EEXIST, false},
      {"a link to a device",
       [](const QString& p, const QString&) {
         ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), p));
       },
       EEXIST, false},
      {"a dangling link",
       [](const QString& p, const QString& o) { ASSERT_TRUE(QFile::link(o, p)); }, ENOENT, false},
      {"a link to itself", [](const QString& p, const QString&) { ASSERT_TRUE(QFile::link(p, p)); },
       ELOOP, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tavelmarque.desktop"));
    const QString other = dir.filePath(QStringLiteral("elsewhere"));
    c.make(path, other);
    const auto state = [&] {
      const QFileInfo at(path), target(other);
      return std::vector<std::string>{std::to_string(at.exists()) + std::to_string(at.isSymLink()) +
                                          std::to_string(at.isDir()) + std::to_string(at.isFile()),
                                      Bytes(other).toStdString()};
    };
    const std::vector<std::string> before = state();
    const bool link = QFileInfo(path).isSymLink();

    EXPECT_EQ(WriteDesktopEntry(path, Sample(QStringLiteral("new"))), c.writeError);
    if (c.writeError != 0) {
      EXPECT_EQ(state(), before);
    } else {
      DesktopEntry entry;
      EXPECT_TRUE(ReadDesktopEntry(path, entry) && entry.comment == QStringLiteral("new"));
      EXPECT_EQ(QFileInfo(path).isSymLink(), link) << "a link stays a link";
    }
    const std::vector<std::string> written = state();
    EXPECT_EQ(platform::RemoveDesktopEntry(path), 0);
    EXPECT_EQ(QFileInfo(path).isSymLink() || QFileInfo::exists(path), !c.removed);
    if (!c.removed) {
      EXPECT_EQ(state(), written);
    }
    EXPECT_EQ(Bytes(other).toStdString(), written[1]) << "a link's file stays";
  }
}

// Kills a process that keeps replacing the entry at random moments: the entry is always one of
// the two versions, whole, and nothing left behind could pass for an entry.
TEST(DesktopEntryWrite, AKilledWriterLeavesTheOldOrTheNewFileWhole) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("autostart"));
  const QString path = folder + QStringLiteral("/Tavelmarque.desktop");
  // Large enough that a write takes a while.
  const DesktopEntry versions[] = {Sample(QString(30000, QLatin1Char('o'))),
                                   Sample(QString(40000, QLatin1Char('n')))};
  QByteArray texts[2];
  for (int i = 0; i < 2; ++i) {
    const QString reference =
        dir.filePath(QString::number(i) + QStringLiteral("/Tavelmarque.desktop"));
    ASSERT_EQ(WriteDesktopEntry(reference, versions[i]), 0);
    texts[i] = Bytes(reference);
  }
  ASSERT_EQ(WriteDesktopEntry(path, versions[0]), 0);

  std::mt19937 random(20020217);
  for (int round = 0; round < 60; ++round) {
    const auto life = std::chrono::microseconds(random() % 20000);
    RunBounded(
        [&] {
          for (unsigned i = 0;; ++i) WriteDesktopEntry(path, versions[i % 2]);
          return 0;
        },
        std::chrono::duration_cast<std::chrono::milliseconds>(life));
    const QByteArray now = Bytes(path);
    ASSERT_TRUE(now == texts[0] || now == texts[1]) << "round " << round << ": " << now.size();
  }
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
    if (name != QStringLiteral("Tavelmarque.desktop")) {
      EXPECT_FALSE(name.endsWith(".desktop")) << name.toStdString();
    }
  }
}

// A disk that refuses the new entry keeps the old one, alone, and the write says it failed: a full
// tmpfs in a child's own mount namespace, and always a file size limit with SIGXFSZ ignored.
bool MountFullTmpfs(const QString& folder) {
  const QByteArray uid = QByteArray::number(::geteuid()), gid = QByteArray::number(::getegid());
  if (::unshare(CLONE_NEWNS | (::geteuid() == 0 ? 0 : CLONE_NEWUSER)) != 0) return false;
  if (::geteuid() != 0) {
    for (const auto& [file, text] : {std::pair<const char*, QByteArray>{"setgroups", "deny"},
                                     {"uid_map", "0 " + uid + " 1"},
                                     {"gid_map", "0 " + gid + " 1"}}) {
      QFile f(QStringLiteral("/proc/self/") + QLatin1String(file));
      if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return false;
    }
  }
  return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=4k") == 0;
}

TEST(DesktopEntryWrite, ADiskThatRefusesTheNewEntryKeepsTheOldOne) {
  for (const bool tmpfs : {true, false}) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("autostart/Tavelmarque.desktop"));
    const int result = RunBounded(
        [&] {
          if (tmpfs && !MountFullTmpfs(dir.path())) return 1;
          if (WriteDesktopEntry(path, Sample(QStringLiteral("old"))) != 0) return 2;
          const QByteArray old = Bytes(path);
          QFile filler(dir.filePath(QStringLiteral("filler")));
          const rlimit limit{64, 64};
          ::signal(SIGXFSZ, SIG_IGN);
          if (tmpfs ? !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
                    : ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
          }
          while (tmpfs && filler.write(QByteArray(512, 'f')) == 512) {
          }
          const int error = WriteDesktopEntry(path, Sample(QString(300, QLatin1Char('n'))));
          if (error == 0) return 3;
          if (error != (tmpfs ? ENOSPC : EFBIG)) return 6;
          if (Bytes(path) != old) return 4;
          return QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size() == 1 ? 0
                                                                                                : 5;
        },
        20s);
    if (tmpfs && result == 1) continue;  // the file size limit stands in for the full disk
    EXPECT_EQ(result, 0)
        << (tmpfs ? "full tmpfs" : "file size limit")
        << " (2: set-up, 3: success told, 4: old entry changed, 5: leftover, 6: another reason)";
  }
}

// As a plain user (root ignores permissions): a read-only folder or file keeps its entry, an
// unreadable entry reads as absent, and folders that cannot be made leave nothing behind.
TEST(DesktopEntryPermissions, RefusedAccessChangesNothing) {
  if (testing_support::RerunAsNobody()) return;
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("autostart"));
  const QString path = folder + QStringLiteral("/Tavelmarque.desktop");
  ASSERT_EQ(WriteDesktopEntry(path, Sample(QStringLiteral("old"))), 0);
  const QByteArray old = Bytes(path);
  const auto mode = [](const QString& p, mode_t m) {
    return ::chmod(QFile::encodeName(p).constData(), m) == 0;
  };

  ASSERT_TRUE(mode(folder, 0555));
  EXPECT_EQ(WriteDesktopEntry(path, Sample(QStringLiteral("new"))), EACCES);
  EXPECT_EQ(Bytes(path), old);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
  EXPECT_EQ(WriteDesktopEntry(folder + QStringLiteral("/sub/e.desktop"), Sample({})), EACCES);
  EXPECT_EQ(platform::RemoveDesktopEntry(path), EACCES);
  EXPECT_EQ(Bytes(path), old);
  EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/sub")));
  ASSERT_TRUE(mode(folder, 0755));

  ASSERT_TRUE(mode(path, 0444));
  EXPECT_EQ(WriteDesktopEntry(path, Sample(QStringLiteral("new"))), EACCES);
  EXPECT_EQ(Bytes(path), old);

  ASSERT_TRUE(mode(path, 0));
  DesktopEntry entry = Sentinel();
  EXPECT_FALSE(ReadDesktopEntry(path, entry));
  EXPECT_TRUE(Same(entry, Sentinel()));
  ASSERT_TRUE(mode(path, 0644));
  EXPECT_EQ(Bytes(path), old);
}

}  // namespace
