#include "platform/entries/DesktopEntry.h"

#include <glib.h>

#include <QFileInfo>
#include <cerrno>
#include <optional>

#include "platform/entries/DesktopExec.h"
#include "platform/entries/EntryFile.h"
#include "platform/entries/Utf8.h"

namespace platform {

namespace {

constexpr const char* kGroup = G_KEY_FILE_DESKTOP_GROUP;
constexpr char kIconIndexKey[] = "X-Tavelmarque-IconIndex";
constexpr char kHotKeyKey[] = "X-Tavelmarque-HotKey";
constexpr char kShowCommandKey[] = "X-Tavelmarque-StartShow";
constexpr char kIconFileKey[] = "X-Tavelmarque-IconFile";

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

// GLib escapes a tab only at the start of a value. Anywhere else it would stay a control
// character, which a string value may not hold (desktop-file-validate rejects it); GLib reads
// "\t" back as a tab wherever it stands.
void SetText(GKeyFile* file, const char* key, const QString& value) {
  g_key_file_set_string(file, kGroup, key, value.toUtf8().constData());
  g_autofree gchar* escaped = g_key_file_get_value(file, kGroup, key, nullptr);
  g_key_file_set_value(file, kGroup, key, QByteArray(escaped).replace('\t', "\\t").constData());
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

  g_autoptr(GKeyFile) file = g_key_file_new();
  SetText(file, G_KEY_FILE_DESKTOP_KEY_TYPE, QStringLiteral(G_KEY_FILE_DESKTOP_TYPE_APPLICATION));
  SetText(file, G_KEY_FILE_DESKTOP_KEY_NAME, name);
  if (!entry.comment.isEmpty()) SetText(file, G_KEY_FILE_DESKTOP_KEY_COMMENT, entry.comment);
  if (!entry.icon.isEmpty()) {
    SetText(file, IsIconKeyValue(entry.icon) ? G_KEY_FILE_DESKTOP_KEY_ICON : kIconFileKey,
            entry.icon);
  }
  // A desktop skips an entry whose program is gone instead of failing to start it.
  SetText(file, G_KEY_FILE_DESKTOP_KEY_TRY_EXEC, entry.program);
  SetText(file, G_KEY_FILE_DESKTOP_KEY_EXEC, exec);
  if (!entry.workingFolder.isEmpty()) {
    SetText(file, G_KEY_FILE_DESKTOP_KEY_PATH, entry.workingFolder);
  }
  if (!entry.icon.isEmpty()) g_key_file_set_integer(file, kGroup, kIconIndexKey, entry.iconIndex);
  g_key_file_set_integer(file, kGroup, kHotKeyKey, entry.hotKey);
  g_key_file_set_integer(file, kGroup, kShowCommandKey, entry.showCommand);
  gsize size = 0;
  g_autofree gchar* text = g_key_file_to_data(file, &size, nullptr);
  return QByteArray(text, static_cast<qsizetype>(size));
}

// --- reading ---

// A value as GLib reads it, an unknown escape kept as written; nothing when the key is missing
// or, where `strict`, when the value holds such an escape: that keeps a desktop from starting an
// Exec line.
std::optional<QString> Value(GKeyFile* file, const char* key, bool strict) {
  g_autoptr(GError) error = nullptr;
  g_autofree gchar* value = g_key_file_get_string(file, kGroup, key, &error);
  if (value == nullptr || (strict && error != nullptr)) return std::nullopt;
  return FromUtf8(value);
}

QString Text(GKeyFile* file, const char* key) {
  return Value(file, key, false).value_or(QString());
}

std::optional<bool> Bool(GKeyFile* file, const char* key) {
  g_autoptr(GError) error = nullptr;
  const bool value = g_key_file_get_boolean(file, kGroup, key, &error) != FALSE;
  if (error != nullptr) return std::nullopt;
  return value;
}

std::int32_t Int(GKeyFile* file, const char* key, std::int32_t fallback) {
  g_autoptr(GError) error = nullptr;
  const gint value = g_key_file_get_integer(file, kGroup, key, &error);
  return error != nullptr ? fallback : value;
}

}  // namespace

int WriteDesktopEntry(const QString& path, const DesktopEntry& entry) {
  const QFileInfo file(path);
  QString name = file.completeBaseName();
  if (name.isEmpty()) name = file.fileName();
  if (name.isEmpty()) return ENOENT;
  const std::optional<QByteArray> text = EntryText(name, entry);
  if (!text) return EINVAL;
  if (text->size() > kDesktopEntryMaxSize) return EFBIG;
  return WriteFileWhole(path, *text);
}

int RemoveDesktopEntry(const QString& path) { return RemoveRegularFile(path); }

bool ReadDesktopEntry(const QString& path, DesktopEntry& entry) {
  const std::optional<QByteArray> bytes = ReadSmallRegularFile(path, kDesktopEntryMaxSize);
  // An entry is UTF-8 text: GLib would read the other lines of a binary file.
  if (!bytes || !g_utf8_validate(bytes->constData(), bytes->size(), nullptr)) return false;
  g_autoptr(GKeyFile) file = g_key_file_new();
  if (!g_key_file_load_from_data(file, bytes->constData(), static_cast<gsize>(bytes->size()),
                                 G_KEY_FILE_NONE, nullptr) ||
      !g_key_file_has_group(file, kGroup)) {
    return false;
  }
  if (Text(file, G_KEY_FILE_DESKTOP_KEY_TYPE).trimmed() !=
      QStringLiteral(G_KEY_FILE_DESKTOP_TYPE_APPLICATION)) {
    return false;
  }
  if (Bool(file, G_KEY_FILE_DESKTOP_KEY_HIDDEN) == true) return false;
  if (Bool(file, "X-GNOME-Autostart-enabled") == false) return false;
  const std::optional<QString> exec = Value(file, G_KEY_FILE_DESKTOP_KEY_EXEC, true);
  if (!exec) return false;
  const QString icon = g_key_file_has_key(file, kGroup, G_KEY_FILE_DESKTOP_KEY_ICON, nullptr)
                           ? Text(file, G_KEY_FILE_DESKTOP_KEY_ICON)
                           : Text(file, kIconFileKey);
  const std::optional<QStringList> command =
      ParseExecLine(*exec, icon, Text(file, G_KEY_FILE_DESKTOP_KEY_NAME), path);
  if (!command) return false;

  DesktopEntry read;
  read.program = command->first();
  read.arguments = command->mid(1);
  read.workingFolder = Text(file, G_KEY_FILE_DESKTOP_KEY_PATH);
  read.comment = Text(file, G_KEY_FILE_DESKTOP_KEY_COMMENT);
  read.icon = icon;
  read.iconIndex = icon.isEmpty() ? 0 : Int(file, kIconIndexKey, 0);
  read.hotKey = Int(file, kHotKeyKey, 0);
  read.showCommand = Int(file, kShowCommandKey, 1);
  entry = read;
  return true;
}

}  // namespace platform
