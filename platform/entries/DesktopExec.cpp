#include "platform/entries/DesktopExec.h"

#include <glib.h>

#include <string_view>

#include "platform/entries/Utf8.h"

namespace platform {

namespace {

// GLib checks that an entry's program exists before it turns "%%" back into "%", so it skips
// an entry whose program path holds a "%" written the proper way. Such a program is handed to
// env instead, whose own name holds no "%".
constexpr char16_t kEnv[] = u"/usr/bin/env";

// Characters that a desktop's command-line parser reads as syntax (blanks, quotes, escapes, the
// shell's operators and expansions), and control characters.
bool IsReserved(QChar c) {
  constexpr std::u16string_view kReserved = u" \t\n\"'\\><~|&;$*?#()`";
  return c.unicode() < 0x20 || c.unicode() == 0x7f || kReserved.find(c.unicode()) != kReserved.npos;
}

QString QuoteWord(const QString& word) {
  bool quote = word.isEmpty();
  for (const QChar c : word) quote = quote || IsReserved(c);
  QString out;
  if (quote) out += QLatin1Char('"');
  for (const QChar c : word) {
    if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) out += QLatin1Char('\\');
    if (c == u'%') out += QLatin1Char('%');
    out += c;
  }
  if (quote) out += QLatin1Char('"');
  return out;
}

QString ShellQuoted(const QString& text) {
  g_autofree gchar* quoted = g_shell_quote(text.toUtf8().constData());
  return FromUtf8(quoted);
}

// The field codes, expanded in the line's text before it is split, as GLib's launcher does. At
// logon a desktop opens no file: the codes for files and URLs give nothing, and so do unknown
// ones.
QString ExpandFieldCodes(const QString& line, const QString& icon, const QString& name,
                         const QString& entryFile) {
  QString out;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] != u'%' || i + 1 == line.size()) {
      out += line[i];
      continue;
    }
    const QChar code = line[++i];
    if (code == u'%') {
      out += QLatin1Char('%');
    } else if (code == u'i' && !icon.isEmpty()) {
      out += QStringLiteral("--icon ") + ShellQuoted(icon);
    } else if (code == u'c') {
      out += ShellQuoted(name);
    } else if (code == u'k') {
      out += ShellQuoted(entryFile);
    }
  }
  return out;
}

// The words of a command line as GLib's launcher splits them.
std::optional<QStringList> Split(const QString& line) {
  g_auto(GStrv) argv = nullptr;
  if (!g_shell_parse_argv(line.toUtf8().constData(), nullptr, &argv, nullptr)) return std::nullopt;
  QStringList words;
  for (const gchar* const* word = argv; *word != nullptr; ++word) words << FromUtf8(*word);
  return words;
}

}  // namespace

QString ExecLine(const QString& program, const QStringList& arguments) {
  if (program.isEmpty()) return {};
  QStringList words;
  // env itself is handed to env too: a line that starts "env --" reads as the program after it.
  if (program.contains(u'%') || program == QString::fromUtf16(kEnv)) {
    // env would take a word with "=" for a variable and never run it.
    if (program.contains(u'=')) return {};
    words << QString::fromUtf16(kEnv) << QStringLiteral("--");
  }
  words << QuoteWord(program);
  for (const QString& argument : arguments) words << QuoteWord(argument);
  return words.join(QLatin1Char(' '));
}

std::optional<QStringList> ParseExecLine(const QString& line, const QString& icon,
                                         const QString& name, const QString& entryFile) {
  // GLib skips an entry whose line does not split before its codes are expanded, too.
  if (!Split(line)) return std::nullopt;
  std::optional<QStringList> command = Split(ExpandFieldCodes(line, icon, name, entryFile));
  if (!command) return std::nullopt;
  if (command->size() >= 3 && command->at(0) == QString::fromUtf16(kEnv) &&
      command->at(1) == QStringLiteral("--") && !command->at(2).contains(u'=')) {
    command->remove(0, 2);
  }
  if (command->isEmpty() || command->first().isEmpty()) return std::nullopt;
  return command;
}

}  // namespace platform
