#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {

// An application entry that a desktop starts at logon: a freedesktop Desktop Entry file, read
// and written with GLib's key files, as GLib's own desktop launcher reads it.
struct DesktopEntry {
  QString program;        // Exec's program, and TryExec
  QStringList arguments;  // the rest of Exec
  QString workingFolder;  // Path
  QString comment;        // Comment
  QString icon;           // Icon, unless it is neither absolute nor a theme icon's name
  // No standard key holds these: they live in the program's own X-Tavelmarque- keys. The icon
  // index is kept only beside an icon. An entry written by another program reads as index 0,
  // hot key 0 and show command 1 (a normal window).
  std::int32_t iconIndex = 0;
  std::int32_t hotKey = 0;
  std::int32_t showCommand = 1;
};

// Entries larger than this are never read (and so never written): whatever lies at an entry's
// name is read whole into memory.
inline constexpr qint64 kDesktopEntryMaxSize = 64 * 1024;

// Writes `entry` as the file `path`, named after the file's base name, creating the missing
// folders, as WriteFileWhole (platform/entries/EntryFile.h) writes a file: whole or not at all,
// through a link to a regular file, never over a folder, a pipe, a device or a dangling link.
// Returns 0 when written, else the errno of the step that failed: EINVAL for an entry without a
// program, for texts that a desktop entry cannot hold (control characters other than tab,
// newline and carriage return) and for a program path that holds both "%" and "=", EFBIG for an
// entry too large to be read back. Nothing on disk has changed then.
int WriteDesktopEntry(const QString& path, const DesktopEntry& entry);

// Removes the entry `path`, as RemoveRegularFile (platform/entries/EntryFile.h) does: a regular
// file, or the link at `path` to one; anything else there is left. 0 when no entry is left,
// else the errno of the removal.
int RemoveDesktopEntry(const QString& path);

// Reads the file `path` into `entry` when a desktop would start it at logon: a readable regular
// file of at most kDesktopEntryMaxSize bytes that GLib reads as a key file, with a [Desktop Entry]
// group of type Application whose Exec names a program, neither Hidden nor switched off for GNOME.
// Anything else (no file, a folder, a pipe, a device, a dangling link, a binary or an unreadable
// file) gives false at once, `entry` unchanged. The program need not exist.
bool ReadDesktopEntry(const QString& path, DesktopEntry& entry);

}  // namespace platform
