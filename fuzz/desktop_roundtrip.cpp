// Writing the start-up entry and reading it back: any program path and argument text that the
// writer accepts comes back exactly, through the shortcut object as through the Exec quoting
// alone; what the writer refuses, it refuses for a reason it names, leaving nothing behind. Any
// text read as an Exec line gives a program or nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <cstdint>

#include "Require.h"
#include "ScratchFolder.h"
#include "options/cShellLink.h"
#include "platform/entries/DesktopExec.h"

namespace {

using fuzz::Quoted;
using fuzz::Require;

// A text from the input: mostly UTF-8 (invalid bytes become U+FFFD), sometimes raw UTF-16 code
// units, lone surrogates and control characters included.
QString ConsumeText(FuzzedDataProvider& input, std::size_t maxBytes) {
  const bool raw = input.ConsumeIntegralInRange(0, 3) == 0;
  const std::string bytes = input.ConsumeRandomLengthString(maxBytes);
  if (!raw) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

QString StripAtNull(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return nul < 0 ? text : text.first(nul);
}

// What the writer says it refuses: texts a desktop entry cannot hold.
bool Unwritable(const QString& text) {
  if (!text.isValidUtf16()) return true;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7f) return true;
  }
  return false;
}

void CheckExecQuoting(const QString& program, const QStringList& arguments) {
  const QString line = platform::ExecLine(program, arguments);
  if (line.isEmpty()) {
    Require(program.isEmpty() || (program.contains(u'%') && program.contains(u'=')),
            "ExecLine refuses only an empty program, or one with both % and =", Quoted(program));
    return;
  }
  // A line with texts a desktop entry cannot hold is never written.
  bool writable = !Unwritable(program);
  for (const QString& argument : arguments) writable = writable && !Unwritable(argument);
  if (!writable) return;
  const auto command =
      platform::ParseExecLine(line, QStringLiteral("icon"), QStringLiteral("name"), QString());
  Require(command.has_value(), "an Exec line written parses", Quoted(line));
  Require(*command == QStringList(program) + arguments,
          "an Exec line runs exactly what was written",
          "line " + Quoted(line) + "\nwritten " + Quoted(QStringList(program) + arguments) +
              "\nparsed " + Quoted(*command));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const QString program = ConsumeText(input, 300);
  const QString exeArgs = ConsumeText(input, 300);
  const QString workDir = ConsumeText(input, 100);
  const QString description = ConsumeText(input, 100);
  const QString iconFile = ConsumeText(input, 100);
  QString name = ConsumeText(input, 40);
  const auto hotKey = input.ConsumeIntegral<std::int32_t>();
  const auto iconIdx = input.ConsumeIntegral<std::int32_t>();
  const auto startShow = input.ConsumeIntegral<std::int32_t>();

  QStringList arguments;
  while (input.remaining_bytes() > 0 && arguments.size() < 8) arguments << ConsumeText(input, 60);
  CheckExecQuoting(program, arguments);
  if (const auto command = platform::ParseExecLine(exeArgs, iconFile, description, name)) {
    Require(!command->isEmpty() && !command->first().isEmpty(), "a parsed line names a program",
            Quoted(exeArgs));
  }

  // The entry's file name stays inside the scratch folder.
  name.replace(u'/', u'_');
  name = StripAtNull(name);
  if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) {
    name = QStringLiteral("entry");
  }
  const QString lnkFile = fuzz::ScratchFolder() + u'/' + name + QStringLiteral(".desktop");

  options::cShellLink link;
  link.Reset();
  link.SetLnkFile(lnkFile);
  link.SetExeFile(program);
  link.SetExeArgs(exeArgs);
  link.SetWorkDir(workDir);
  link.SetDescription(description);
  link.SetIconFile(iconFile);
  link.SetHotKey(hotKey);
  link.SetIconIdx(iconIdx);
  link.SetStartShow(startShow);

  const QString writtenProgram = StripAtNull(program);
  const QString writtenArgs = StripAtNull(exeArgs);
  if (!link.CreateLink()) {
    bool reason = writtenProgram.isEmpty() ||
                  (writtenProgram.contains(u'%') && writtenProgram.contains(u'=')) ||
                  Unwritable(name);
    for (const QString& text : {program, exeArgs, workDir, description, iconFile}) {
      reason = reason || Unwritable(StripAtNull(text));
    }
    Require(reason, "the writer refuses only what it cannot write soundly",
            "program " + Quoted(writtenProgram) + " arguments " + Quoted(writtenArgs));
    Require(fuzz::ScratchLeftovers().isEmpty(), "a refused entry leaves nothing behind",
            Quoted(fuzz::ScratchLeftovers()));
    return 0;
  }

  options::cShellLink read;
  read.SetLnkFile(lnkFile);
  Require(read.GetLinkInfo(), "an entry written reads back", Quoted(lnkFile));
  const std::string what = "program " + Quoted(writtenProgram) + " arguments " +
                           Quoted(writtenArgs) + " read " + Quoted(read.ExeFile()) + " " +
                           Quoted(read.ExeArgs());
  Require(read.ExeFile() == writtenProgram, "the program reads back exactly", what);
  Require(read.ExeArgs() == writtenArgs, "the argument text reads back exactly", what);
  Require(read.WorkDir() == StripAtNull(workDir), "the working folder reads back exactly", what);
  Require(read.Description() == StripAtNull(description), "the comment reads back exactly", what);
  Require(read.IconFile() == StripAtNull(iconFile), "the icon reads back exactly", what);
  Require(read.IconIdx() == (read.IconFile().isEmpty() ? 0 : iconIdx),
          "the icon index reads back beside an icon", what);
  Require(read.HotKey() == hotKey && read.StartShow() == startShow,
          "the hot key and show command read back exactly", what);
  QFile::remove(lnkFile);
  Require(fuzz::ScratchLeftovers().isEmpty(), "an entry written leaves no other file",
          Quoted(fuzz::ScratchLeftovers()));
  return 0;
}
