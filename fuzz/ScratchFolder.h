// A folder of this process's own under $TMPDIR for the files a target writes, removed at exit.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace fuzz {

inline const QString& ScratchFolder() {
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tavelmarque-fuzz-XXXXXX"));
  static const QString path = folder.path();
  return path;
}

// Every entry of the scratch folder, hidden ones too: what a step left behind.
inline QStringList ScratchLeftovers() {
  return QDir(ScratchFolder())
      .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

inline std::string Quoted(const QString& text) { return "\"" + text.toStdString() + "\""; }

inline std::string Quoted(const QStringList& list) {
  std::string out = "[";
  for (const QString& text : list) out += Quoted(text) + " ";
  return out + "]";
}

}  // namespace fuzz
