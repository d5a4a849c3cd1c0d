#pragma once

#include <QString>
#include <cstdint>

namespace options {

// One shortcut that starts a program: described by nine properties, written from them by
// CreateLink and read back into them by GetLinkInfo. On this platform a shortcut is a desktop
// entry, so LnkFile names a ".desktop" file; the program uses one, in the Startup folder.
class cShellLink {
 public:
  // The shortcut file to write or read.
  QString LnkFile() const { return lnkFile_; }
  void SetLnkFile(const QString& value) { lnkFile_ = value; }
  // The program the shortcut starts.
  QString ExeFile() const { return exeFile_; }
  void SetExeFile(const QString& value) { exeFile_ = value; }
  QString Description() const { return description_; }
  void SetDescription(const QString& value) { description_ = value; }
  // The hot-key word; 0 for none.
  std::int32_t HotKey() const { return hotKey_; }
  void SetHotKey(std::int32_t value) { hotKey_ = value; }
  // The working folder of the started program.
  QString WorkDir() const { return workDir_; }
  void SetWorkDir(const QString& value) { workDir_ = value; }
  // The program's command line after its name: the program is started with the words of this
  // text between single blanks as its arguments, so that joining them again gives it back.
  QString ExeArgs() const { return exeArgs_; }
  void SetExeArgs(const QString& value) { exeArgs_ = value; }
  QString IconFile() const { return iconFile_; }
  void SetIconFile(const QString& value) { iconFile_ = value; }
  // The index of the icon in IconFile; kept only with an IconFile.
  std::int32_t IconIdx() const { return iconIdx_; }
  void SetIconIdx(std::int32_t value) { iconIdx_ = value; }
  // How the program's window is shown: 1 normal, 7 minimised without activation...
  std::int32_t StartShow() const { return startShow_; }
  void SetStartShow(std::int32_t value) { startShow_ = value; }

  // Writes LnkFile from the other properties, replacing the whole file or leaving it as it was.
  // False, with nothing written, when ExeFile or LnkFile is empty or the file cannot be written.
  bool CreateLink();
  // Why the last CreateLink failed: the errno of the step that failed (EINVAL for an empty
  // ExeFile or LnkFile); 0 after one that succeeded, or before any.
  int LastError() const { return lastError_; }
  // Reads LnkFile into the other properties when it is an entry that a desktop would start at
  // logon; otherwise false with every property unchanged. The program need not exist.
  bool GetLinkInfo();
  // Empties every text and zeroes every number, except StartShow, which becomes 1 (normal).
  void Reset();

 private:
  QString lnkFile_;
  QString exeFile_;
  QString description_;
  std::int32_t hotKey_ = 0;
  QString workDir_;
  QString exeArgs_;
  QString iconFile_;
  std::int32_t iconIdx_ = 0;
  std::int32_t startShow_ = 0;  // only Reset sets the normal show command
  int lastError_ = 0;
};

}  // namespace options
