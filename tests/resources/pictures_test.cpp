// Draws every picture again into a scratch folder and compares it with the one committed in
// resources/pictures/, which the program embeds: a change to the generator that was not
// followed by scripts/make-pictures, or a committed picture the generator no longer draws,
// fails here. The PNG pictures are compared by their pixels (another zlib packs the same
// pixels into other bytes), the raw banknotes byte for byte, as the program uses them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace {

QStringList Pictures(const QString& folder) {
  return QDir(folder).entryList({"*.png", "*.ppm"}, QDir::Files, QDir::Name);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Hex(QRgb pixel) { return QString("#%1").arg(pixel, 8, 16, QChar('0')).toStdString(); }

// Empty when the two pictures have the same pixels, else what differs.
std::string PixelDifference(const QString& committedPath, const QString& drawnPath) {
  const QImage committed = QImage(committedPath).convertToFormat(QImage::Format_ARGB32);
  const QImage drawn = QImage(drawnPath).convertToFormat(QImage::Format_ARGB32);
  if (committed.isNull() || drawn.isNull()) return "unreadable";
  if (committed.size() != drawn.size()) return "another size";
  int count = 0;
  std::string first;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      if (committed.pixel(x, y) == drawn.pixel(x, y)) continue;
      if (count++ == 0)
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): committed " +
                Hex(committed.pixel(x, y)) + ", drawn " + Hex(drawn.pixel(x, y));
    }
  }
  return count == 0 ? std::string()
                    : std::to_string(count) + " pixels differ, the first at " + first;
}

TEST(Pictures, CommittedAreWhatTheGeneratorDraws) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  QProcess generator;
  generator.start(MAKEPICTURES, {scratch.path()});
  ASSERT_TRUE(generator.waitForFinished(100'000)) << "the generator did not end";
  ASSERT_TRUE(generator.exitStatus() == QProcess::NormalExit && generator.exitCode() == 0)
      << generator.readAllStandardError().toStdString();

  const QStringList drawn = Pictures(scratch.path());
  ASSERT_EQ(Pictures(COMMITTED_PICTURES).join(' ').toStdString(), drawn.join(' ').toStdString())
      << "resources/pictures/ holds other pictures than the generator draws";
  for (const QString& name : drawn) {
    const QString committed = QDir(COMMITTED_PICTURES).filePath(name);
    const QString made = QDir(scratch.path()).filePath(name);
    if (name.endsWith(".ppm"))
      EXPECT_TRUE(Bytes(committed) == Bytes(made)) << name.toStdString() << ": other bytes";
    else
      EXPECT_EQ(PixelDifference(committed, made), "") << name.toStdString();
  }
}

}  // namespace
