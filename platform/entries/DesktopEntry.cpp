#include "platform/entries/DesktopEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <cerrno>
#include <optional>

#include "platform/entries/AtomicFile.h"
#include "platform/entries/DesktopExec.h"

namespace platform {

namespace {

constexpr QLatin1String kGroup("Desktop Entry");
constexpr QLatin1String kIconIndexKey("X-Tavelmarque-IconIndex");
constexpr QLatin1String kHotKeyKey("X-Tavelmarque-HotKey");
constexpr QLatin1String kShowCommandKey("X-Tavelmarque-StartShow");
constexpr QLatin1String kIconFileKey("X-Tavelmarque-IconFile");

// --- writing ---

// A key file holds text without control characters, except the three it has escapes for.
bool Writable(const QString& text) {
  if (!text.isValidUtf16()) return false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7f) return false;
  }
  return true;
}

// Icon holds an absolute path or the name of a theme icon (no folder, no picture extension);
// any other icon file is kept in the program's own key, where desktops do not look for it.
bool IsIconKeyValue(const QString& icon) {
  if (icon.startsWith(u'/')) return true;
  if (icon.contains(u'/')) return false;
  for (const char* extension : {".png", ".svg", ".xpm"}) {
    if (icon.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) return false;
  }
  return true;
}

// The key file's value escapes; a blank at either end is escaped too, since readers trim there.
QString EscapeValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == u'\\') {
      out += QStringLiteral("\\\\");
    } else if (c == u'\n') {
      out += QStringLiteral("\\n");
    } else if (c == u'\t') {
      out += QStringLiteral("\\t");
    } else if (c == u'\r') {
      out += QStringLiteral("\\r");
    } else if (c == u' ' && (i == 0 || i == value.size() - 1)) {
      out += QStringLiteral("\\s");
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<QByteArray> EntryText(const QString& name, const DesktopEntry& entry) {
  for (const QString* text :
       {&name, &entry.program, &entry.workingFolder, &entry.comment, &entry.icon}) {
    if (!Writable(*text)) return std::nullopt;
  }
  for (const QString& argument : entry.arguments) {
    if (!Writable(argument)) return std::nullopt;
  }
  const QString exec = ExecLine(entry.program, entry.arguments);
  if (exec.isEmpty()) return std::nullopt;

  QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
  const auto add = [&text](const QString& key, const QString& value) {
    text += key + QLatin1Char('=') + EscapeValue(value) + QLatin1Char('\n');
  };
  add(QStringLiteral("Name"), name);
  if (!entry.comment.isEmpty()) add(QStringLiteral("Comment"), entry.comment);
  if (!entry.icon.isEmpty()) {
    add(IsIconKeyValue(entry.icon) ? QStringLiteral("Icon") : QString(kIconFileKey), entry.icon);
  }
  // A desktop skips an entry whose program is gone instead of failing to start it.
  add(QStringLiteral("TryExec"), entry.program);
  add(QStringLiteral("Exec"), exec);
  if (!entry.workingFolder.isEmpty()) add(QStringLiteral("Path"), entry.workingFolder);
  if (!entry.icon.isEmpty()) add(kIconIndexKey, QString::number(entry.iconIndex));
  add(kHotKeyKey, QString::number(entry.hotKey));
  add(kShowCommandKey, QString::number(entry.showCommand));
  return text.toUtf8();
}

// Creates the missing folders down to `folder`; on failure removes the ones it made.
std::optional<QStringList> MakeFolders(const QString& folder) {
  QStringList missing;
  for (QString dir = folder; !QFileInfo::exists(dir); dir = QFileInfo(dir).absolutePath()) {
    missing.prepend(dir);
  }
  QStringList made;
  for (const QString& dir : missing) {
    if (!QDir().mkdir(dir)) {
      while (!made.isEmpty()) QDir().rmdir(made.takeLast());
      return std::nullopt;
    }
    made << dir;
  }
  return made;
}

// --- reading ---

// Up to `limit` bytes from `fd`; nothing on a read error.
std::optional<QByteArray> ReadUpTo(int fd, qsizetype limit) {
  QByteArray data(limit, '\0');
  qsizetype got = 0;
  while (got < limit) {
    const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(limit - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += n;
  }
  data.truncate(got);
  return data;
}

// The bytes of a regular file of at most kDesktopEntryMaxSize bytes. A pipe or a device is
// never opened, and the descriptor is non-blocking in case one is put in the file's place
// between the check and the opening.
std::optional<QByteArray> ReadSmallRegularFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (name.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<QByteArray> data;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kDesktopEntryMaxSize) {
    data = ReadUpTo(fd, kDesktopEntryMaxSize + 1);  // one byte more tells a file that grew
  }
  ::close(fd);
  if (!data || data->size() > kDesktopEntryMaxSize) return std::nullopt;
  return data;
}

// The raw values of the [Desktop Entry] group (the last of a repeated key), or nothing when the
// text is not a key file: a line that is neither blank, a comment, a group nor a key=value pair,
// or a key before the first group, makes a desktop reject the whole file.
std::optional<QHash<QString, QString>> EntryGroup(const QString& text) {
  QHash<QString, QString> values;
  bool inGroup = false;
  bool anyGroup = false;
  bool found = false;
  for (QStringView line : QStringView(text).split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    while (!line.isEmpty() && (line.front() == u' ' || line.front() == u'\t')) {
      line = line.sliced(1);
    }
    if (line.isEmpty() || line.front() == u'#') continue;
    if (line.front() == u'[') {
      line = line.trimmed();
      if (!line.endsWith(u']')) return std::nullopt;
      anyGroup = true;
      inGroup = line.sliced(1, line.size() - 2) == kGroup;
      found = found || inGroup;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (!anyGroup || equals < 0) return std::nullopt;
    const QStringView key = line.first(equals).trimmed();
    if (key.isEmpty()) return std::nullopt;
    QStringView value = line.sliced(equals + 1);
    while (!value.isEmpty() && (value.front() == u' ' || value.front() == u'\t')) {
      value = value.sliced(1);
    }
    if (inGroup) values.insert(key.toString(), value.toString());
  }
  if (!found) return std::nullopt;
  return values;
}

// Undoes the value escapes. An unknown escape is kept as written, except where `strict`: GLib
// refuses such a value, and for Exec that means it does not start the entry.
std::optional<QString> UnescapeValue(const QString& value, bool strict) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\') {
      out += value[i];
      continue;
    }
    if (i + 1 == value.size()) {
      if (strict) return std::nullopt;
      out += value[i];
      continue;
    }
    const QChar c = value[++i];
    if (c == u's') {
      out += QLatin1Char(' ');
    } else if (c == u'n') {
      out += QLatin1Char('\n');
    } else if (c == u't') {
      out += QLatin1Char('\t');
    } else if (c == u'r') {
      out += QLatin1Char('\r');
    } else if (c == u'\\') {
      out += QLatin1Char('\\');
    } else if (strict) {
      return std::nullopt;
    } else {
      out += QLatin1Char('\\');
      out += c;
    }
  }
  return out;
}

QString TextValue(const QHash<QString, QString>& values, const QString& key) {
  return UnescapeValue(values.value(key), false).value_or(QString());
}

// The key file's booleans: "true" or "1", "false" or "0", trailing blanks allowed.
std::optional<bool> BoolValue(const QHash<QString, QString>& values, const QString& key) {
  const QString value = values.value(key).trimmed();
  if (value == QStringLiteral("true") || value == QStringLiteral("1")) return true;
  if (value == QStringLiteral("false") || value == QStringLiteral("0")) return false;
  return std::nullopt;
}

std::int32_t IntValue(const QHash<QString, QString>& values, const QString& key,
                      std::int32_t fallback) {
  bool ok = false;
  const int value = values.value(key).trimmed().toInt(&ok);
  return ok ? value : fallback;
}

}  // namespace

bool WriteDesktopEntry(const QString& path, const DesktopEntry& entry) {
  const QFileInfo file(path);
  QString name = file.completeBaseName();
  if (name.isEmpty()) name = file.fileName();
  if (name.isEmpty()) return false;
  const std::optional<QByteArray> text = EntryText(name, entry);
  if (!text || text->size() > kDesktopEntryMaxSize) return false;

  const std::optional<QStringList> made = MakeFolders(file.absolutePath());
  if (!made) return false;
  if (WriteFileAtomically(path, *text)) return true;
  for (qsizetype i = made->size() - 1; i >= 0; --i) QDir().rmdir(made->at(i));
  return false;
}

bool ReadDesktopEntry(const QString& path, DesktopEntry& entry) {
  const std::optional<QByteArray> bytes = ReadSmallRegularFile(path);
  if (!bytes || bytes->contains('\0')) return false;
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder(*bytes);
  if (decoder.hasError()) return false;
  const std::optional<QHash<QString, QString>> values = EntryGroup(text);
  if (!values) return false;

  if (values->value(QStringLiteral("Type")).trimmed() != QStringLiteral("Application")) {
    return false;
  }
  if (BoolValue(*values, QStringLiteral("Hidden")) == true) return false;
  if (BoolValue(*values, QStringLiteral("X-GNOME-Autostart-enabled")) == false) return false;
  const std::optional<QString> exec = UnescapeValue(values->value(QStringLiteral("Exec")), true);
  if (!exec) return false;
  const QString icon = values->contains(QStringLiteral("Icon"))
                           ? TextValue(*values, QStringLiteral("Icon"))
                           : TextValue(*values, kIconFileKey);
  const std::optional<QStringList> command =
      ParseExecLine(*exec, icon, TextValue(*values, QStringLiteral("Name")), path);
  if (!command) return false;

  DesktopEntry read;
  read.program = command->first();
  read.arguments = command->mid(1);
  read.workingFolder = TextValue(*values, QStringLiteral("Path"));
  read.comment = TextValue(*values, QStringLiteral("Comment"));
  read.icon = icon;
  read.iconIndex = icon.isEmpty() ? 0 : IntValue(*values, kIconIndexKey, 0);
  read.hotKey = IntValue(*values, kHotKeyKey, 0);
  read.showCommand = IntValue(*values, kShowCommandKey, 1);
  entry = read;
  return true;
}

}  // namespace platform
