#include "options/cShellLink.h"

#include <cerrno>

#include "platform/entries/DesktopEntry.h"
#include "text/mMainText.h"

namespace options {

namespace {

// Texts reach the shortcut as C strings: whatever follows a NUL is not part of them.
QString StripAtNull(const QString& text) {
  // A prefix of the text itself: decoding UTF-16 afresh would take a leading U+FFFE for a
  // byte-order mark and swap every character after it.
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
  return text.first(static_cast<qsizetype>(mMain::StripAtNull(units).size()));
}

}  // namespace

bool cShellLink::CreateLink() {
  const QString lnkFile = StripAtNull(lnkFile_);
  platform::DesktopEntry entry;
  entry.program = StripAtNull(exeFile_);
  lastError_ = EINVAL;
  if (entry.program.isEmpty() || lnkFile.isEmpty()) return false;
  const QString arguments = StripAtNull(exeArgs_);
  if (!arguments.isEmpty()) entry.arguments = arguments.split(QLatin1Char(' '));
  entry.workingFolder = StripAtNull(workDir_);
  entry.comment = StripAtNull(description_);
  entry.icon = StripAtNull(iconFile_);
  entry.iconIndex = iconIdx_;
  entry.hotKey = hotKey_;
  entry.showCommand = startShow_;
  lastError_ = platform::WriteDesktopEntry(lnkFile, entry);
  return lastError_ == 0;
}

bool cShellLink::GetLinkInfo() {
  const QString lnkFile = StripAtNull(lnkFile_);
  platform::DesktopEntry entry;
  if (lnkFile.isEmpty() || !platform::ReadDesktopEntry(lnkFile, entry)) return false;
  exeFile_ = entry.program;
  workDir_ = entry.workingFolder;
  exeArgs_ = entry.arguments.join(QLatin1Char(' '));
  description_ = entry.comment;
  hotKey_ = entry.hotKey;
  iconFile_ = entry.icon;
  iconIdx_ = entry.iconIndex;
  startShow_ = entry.showCommand;
  return true;
}

void cShellLink::Reset() {
  *this = cShellLink();
  startShow_ = 1;
}

}  // namespace options
