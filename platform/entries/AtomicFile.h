#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Replaces the file `path` by `bytes` whole or not at all. The bytes go to a new file beside it,
// every write checked, synced to the disk, renamed over `path`, and the folder synced so that the
// rename itself survives a crash (where the file system
// can sync a folder). On any failure (a full disk, a quota, an input/output error, a
// file size limit) the temporary file is removed, whatever was at `path` is left as it was, and
// false is returned. A replaced file keeps its permissions; a new one gets 0666 less the umask.
// A link at `path` is written through. A file the user cannot write to is left alone (false).
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace platform
