#include "shell/RawPicture.h"

#include <QResource>
#include <cctype>
#include <cstdint>

namespace skin {

namespace {

// Reads the decimal number after any whitespace at `at`; -1 when there is none or it is
// unreasonably large for a picture.
int ReadNumber(const uchar* data, qint64 size, qint64& at) {
  while (at < size && std::isspace(data[at]) != 0) ++at;
  qint64 value = -1;
  while (at < size && std::isdigit(data[at]) != 0 && value < 1'000'000) {
    value = (value < 0 ? 0 : value * 10) + (data[at++] - '0');
  }
  return value >= 1'000'000 ? -1 : static_cast<int>(value);
}

}  // namespace

QImage RawPicture(const QString& path) {
  const QResource resource(path);
  if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) {
    return {};
  }
  const uchar* data = resource.data();
  const qint64 size = resource.size();
  if (data == nullptr || size < 2 || data[0] != 'P' || data[1] != '6') return {};
  qint64 at = 2;
  const int width = ReadNumber(data, size, at);
  const int height = ReadNumber(data, size, at);
  const int maximum = ReadNumber(data, size, at);
  // One whitespace character ends the header; the rows follow, three bytes a pixel.
  if (width <= 0 || height <= 0 || maximum != 255 || at >= size || std::isspace(data[at]) == 0) {
    return {};
  }
  ++at;
  const qint64 rowBytes = qint64{width} * 3;
  if (size - at < rowBytes * height) return {};
  return QImage(data + at, width, height, rowBytes, QImage::Format_RGB888);
}

}  // namespace skin
