#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The file side of desktop entries: whatever lies at an entry's name is read only when it is a
// small regular file, and is replaced whole or not at all.

// The bytes of the regular file `path` (a link to one is followed) when it holds at most `limit`
// bytes; nothing for anything else (no file, a folder, a pipe, a device, an unreadable file).
// Never blocks: a pipe or a device is never opened.
std::optional<QByteArray> ReadSmallRegularFile(const QString& path, qint64 limit);

// Replaces the file `path` by `bytes` whole or not at all, creating the missing folders: the
// bytes go to a new file beside it, synced to the disk, renamed over it, and the folder synced.
// A replaced file keeps its permissions; a new one gets 0666 less the umask. A link at `path` is
// written through, as an editor does (the link stays and its file changes), when it leads to a
// regular file in a folder the user may write. Anything else at `path` (a folder, a pipe, a
// device, a dangling link) is never replaced. Returns 0 when written, else the errno of the step
// that failed, or EISDIR for a folder and EEXIST for the rest of what is never replaced; what
// was at `path` is then left as it was, and nothing is left beside it (made folders included).
int WriteFileWhole(const QString& path, const QByteArray& bytes);

// Removes `path` when it is a regular file, or a link to one (the link, not its file). Anything
// else at `path` is no file a desktop reads and is left alone. Returns 0 when no such file is
// left there, else the errno of the removal.
int RemoveRegularFile(const QString& path);

}  // namespace platform
