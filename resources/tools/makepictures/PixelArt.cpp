#include "PixelArt.h"

#include <QList>
#include <algorithm>
#include <cstring>

namespace pictures {

QImage pixelArt(std::initializer_list<const char*> rows, std::initializer_list<Ink> inks) {
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(std::strlen(*rows.begin()));
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  int y = 0;
  for (const char* row : rows) {
    if (static_cast<int>(std::strlen(row)) != width)
      qFatal("pixel art row %d has the wrong width", y);
    for (int x = 0; x < width; ++x) {
      if (row[x] == '.') continue;
      const auto ink =
          std::find_if(inks.begin(), inks.end(), [&](const Ink& i) { return i.key == row[x]; });
      if (ink == inks.end()) qFatal("pixel art uses the unknown ink '%c'", row[x]);
      image.setPixel(x, y, ink->rgb);
    }
    ++y;
  }
  return image;
}

QImage toIndexed(const QImage& image) {
  QList<QRgb> table;
  table.append(qRgba(0, 0, 0, 0));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 0) continue;
      if (!table.contains(pixel)) table.append(pixel);
    }
  QImage indexed(image.size(), QImage::Format_Indexed8);
  indexed.setColorTable(table);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb pixel = image.pixel(x, y);
      const auto index = qAlpha(pixel) == 0 ? 0 : table.indexOf(pixel);
      indexed.setPixel(x, y, static_cast<uint>(index));
    }
  return indexed;
}

QImage scale2x(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const int w = image.width();
  const int h = image.height();
  const auto at = [&](int x, int y) {
    return image.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
  };
  QImage doubled(2 * w, 2 * h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb e = at(x, y);
      const QRgb b = at(x, y - 1);
      const QRgb d = at(x - 1, y);
      const QRgb f = at(x + 1, y);
      const QRgb hh = at(x, y + 1);
      const bool flat = b == hh || d == f;
      doubled.setPixel(2 * x, 2 * y, !flat && d == b ? d : e);
      doubled.setPixel(2 * x + 1, 2 * y, !flat && b == f ? f : e);
      doubled.setPixel(2 * x, 2 * y + 1, !flat && d == hh ? d : e);
      doubled.setPixel(2 * x + 1, 2 * y + 1, !flat && hh == f ? f : e);
    }
  return doubled;
}

}  // namespace pictures
