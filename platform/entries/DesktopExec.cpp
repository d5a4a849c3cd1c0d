#include "platform/entries/DesktopExec.h"

#include <string_view>

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

// Splits a command line into words the way GLib's desktop launcher does: blanks separate words
// outside quotes; a backslash outside quotes takes the next character literally; single quotes
// keep everything up to the next one; inside double quotes a backslash escapes only " ` $ and
// itself; a "#" that starts a word comments out the rest of its line.
std::optional<QStringList> SplitWords(const QString& line) {
  QStringList words;
  QString word;
  bool inWord = false;
  const qsizetype n = line.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = line[i];
    if (c == u' ' || c == u'\t' || c == u'\n') {
      if (inWord) words << word;
      word.clear();
      inWord = false;
      ++i;
    } else if (!inWord && c == u'#') {
      while (i < n && line[i] != u'\n') ++i;
    } else if (c == u'\\') {
      if (i + 1 >= n) return std::nullopt;
      if (line[i + 1] != u'\n') word += line[i + 1];
      inWord = true;
      i += 2;
    } else if (c == u'\'') {
      const qsizetype end = line.indexOf(u'\'', i + 1);
      if (end < 0) return std::nullopt;
      word += QStringView(line).sliced(i + 1, end - i - 1);
      inWord = true;
      i = end + 1;
    } else if (c == u'"') {
      ++i;
      for (;;) {
        if (i >= n) return std::nullopt;
        const QChar d = line[i];
        if (d == u'"') break;
        if (d == u'\\' && i + 1 < n) {
          const QChar e = line[i + 1];
          if (e == u'"' || e == u'`' || e == u'$' || e == u'\\') {
            word += e;
            i += 2;
            continue;
          }
          if (e == u'\n') {
            i += 2;
            continue;
          }
        }
        word += d;
        ++i;
      }
      inWord = true;
      ++i;
    } else {
      word += c;
      inWord = true;
      ++i;
    }
  }
  if (inWord) words << word;
  return words;
}

// At logon a desktop opens no file: the codes for files and URLs give nothing, a word that is
// only such a code is dropped, and unknown codes give nothing, as in GLib.
QStringList ExpandFieldCodes(const QStringList& words, const QString& icon, const QString& name,
                             const QString& entryFile) {
  constexpr std::u16string_view kFileCodes = u"fFuUdDnNvm";
  QStringList out;
  for (const QString& word : words) {
    if (word.size() == 2 && word[0] == u'%') {
      if (word[1] == u'i') {
        if (!icon.isEmpty()) out << QStringLiteral("--icon") << icon;
        continue;
      }
      if (kFileCodes.find(word[1].unicode()) != kFileCodes.npos) continue;
    }
    QString expanded;
    for (qsizetype i = 0; i < word.size(); ++i) {
      if (word[i] != u'%' || i + 1 == word.size()) {
        expanded += word[i];
        continue;
      }
      const QChar code = word[++i];
      if (code == u'%') {
        expanded += QLatin1Char('%');
      } else if (code == u'c') {
        expanded += name;
      } else if (code == u'k') {
        expanded += entryFile;
      }
    }
    out << expanded;
  }
  return out;
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
  const std::optional<QStringList> words = SplitWords(line);
  if (!words) return std::nullopt;
  QStringList command = ExpandFieldCodes(*words, icon, name, entryFile);
  if (command.size() >= 3 && command[0] == QString::fromUtf16(kEnv) &&
      command[1] == QStringLiteral("--") && !command[2].contains(u'=')) {
    command.remove(0, 2);
  }
  if (command.isEmpty() || command[0].isEmpty()) return std::nullopt;
  return command;
}

}  // namespace platform
