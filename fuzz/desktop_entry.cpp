// Whatever bytes sit at the start-up entry's name: reading them never crashes or hangs (the run's
// -timeout catches a hang), a failed read changes nothing, and an entry that reads is written
// back, when the writer accepts it, as a file that reads back the same.
#include <QFile>
#include <cstdint>

#include "Require.h"
#include "ScratchFolder.h"
#include "platform/entries/DesktopEntry.h"
#include "platform/entries/DesktopExec.h"

namespace {

using fuzz::Quoted;
using fuzz::Require;
using platform::DesktopEntry;

bool Same(const DesktopEntry& a, const DesktopEntry& b) {
  return a.program == b.program && a.arguments == b.arguments &&
         a.workingFolder == b.workingFolder && a.comment == b.comment && a.icon == b.icon &&
         a.iconIndex == b.iconIndex && a.hotKey == b.hotKey && a.showCommand == b.showCommand;
}

std::string Describe(const DesktopEntry& e) {
  return "program " + Quoted(e.program) + " arguments " + Quoted(e.arguments) + " path " +
         Quoted(e.workingFolder) + " comment " + Quoted(e.comment) + " icon " + Quoted(e.icon) +
         " " + std::to_string(e.iconIndex) + " hot key " + std::to_string(e.hotKey) + " show " +
         std::to_string(e.showCommand);
}

DesktopEntry Sentinel() {
  DesktopEntry entry;
  entry.program = QStringLiteral("/sentinel");
  entry.arguments = {QStringLiteral("left alone")};
  entry.iconIndex = 3;
  entry.showCommand = 5;
  return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = fuzz::ScratchFolder() + QStringLiteral("/Tavelmarque.desktop");
  {
    QFile file(path);
    Require(
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the scratch file is written");
  }

  DesktopEntry entry = Sentinel();
  const bool read = platform::ReadDesktopEntry(path, entry);
  Require(read || Same(entry, Sentinel()), "a failed read leaves the entry as it was");
  QFile file(path);
  Require(file.open(QIODevice::ReadOnly) && file.readAll() == bytes, "reading changes no byte");
  file.close();

  // The Exec parser alone, on the whole text as one command line.
  const QString text = QString::fromUtf8(bytes);
  if (const auto command = platform::ParseExecLine(text, text.left(8), text.right(8), path)) {
    Require(!command->isEmpty() && !command->first().isEmpty(), "a parsed line names a program");
  }

  if (read) {
    Require(!entry.program.isEmpty(), "an entry that reads names a program");
    const QString copy = fuzz::ScratchFolder() + QStringLiteral("/copy/Tavelmarque.desktop");
    if (platform::WriteDesktopEntry(copy, entry)) {
      DesktopEntry again = Sentinel();
      Require(platform::ReadDesktopEntry(copy, again), "an entry written reads back",
              Describe(entry));
      Require(Same(again, entry), "an entry read, written and read again is the same",
              "first " + Describe(entry) + "\nagain " + Describe(again));
      QFile::remove(copy);
    }
  }
  QFile::remove(path);
  return 0;
}
