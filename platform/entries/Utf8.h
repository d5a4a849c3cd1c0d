#pragma once

#include <QString>
#include <QStringDecoder>

namespace platform {

// GLib's UTF-8 as a QString, every character kept: QString::fromUtf8 drops a byte-order mark at
// the start, which in an entry's value or an Exec word is a character like any other.
inline QString FromUtf8(const char* text) {
  return QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom)
      .decode(QByteArrayView(text));
}

}  // namespace platform
