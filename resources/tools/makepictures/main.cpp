// makepictures: draws every picture Tavelmarque embeds (banknote backgrounds, the
// application icon, the small command icons and the link cursor) and writes them into one
// folder, the backgrounds and command icons also at twice the density ("name@2x.png") for
// high-density screens. The icons are PNG files; of each banknote only the window's square is
// kept, as raw pixels (binary PPM) that the program uses where they lie, without decoding.
//
//   makepictures OUTPUT_FOLDER [--preview PREVIEW_FOLDER]
//
// The pictures are drawn rather than kept as opaque binaries so that anyone can change
// them and regenerate the same pictures: nothing here reads a font, the clock or a random
// source, nor leaves a rounding to the processor, so a given Qt build draws the same pixels on
// any machine (the pictures test compares them with the committed ones). The optional preview puts
// sample captions and the icons over each background, cut to the window's disc, to judge
// readability; it uses the system fonts and is not meant to be committed.
//
// A file per kind of picture: Banknotes.cpp (drawn with NoteFace, Engraving and Architecture),
// AppIcon.cpp, CommandIcons.cpp (with PixelArt); Drawing holds what they all share and
// Readability the checks of the notes' discs and the preview.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <utility>
#include <vector>

#include "AppIcon.h"
#include "Banknotes.h"
#include "CommandIcons.h"
#include "Drawing.h"
#include "PixelArt.h"
#include "Readability.h"

using namespace pictures;

namespace {

bool save(const QImage& picture, const QDir& dir, const QString& name, int quality = -1,
          int scale = 1) {
  // The stored resolution otherwise follows the screen Qt finds, or the lack of one, and
  // the same pictures would come out as different bytes. 96 dots per inch is the 15
  // twips per pixel the window layouts are drawn at; a 2x picture has twice the dots.
  QImage image = picture;
  image.setDotsPerMeterX(3780 * scale);
  image.setDotsPerMeterY(3780 * scale);
  const QString path = dir.filePath(name);
  if (!image.save(path, name.endsWith(".ppm") ? "PPM" : "PNG", quality)) {
    std::fprintf(stderr, "makepictures: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.size() != 2 && !(args.size() == 4 && args[2] == "--preview")) {
    std::fprintf(stderr, "usage: makepictures OUTPUT_FOLDER [--preview PREVIEW_FOLDER]\n");
    return 2;
  }
  QDir out(args[1]);
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "makepictures: cannot create %s\n", qPrintable(args[1]));
    return 1;
  }

  bool ok = true;
  const std::vector<std::pair<QString, QImage>> notes = {
      {"note10.ppm", note10(1)},
      {"note100.ppm", note100(1)},
      {"note20.ppm", note20(1)},
      {"note500.ppm", note500(1)},
  };
  // The same drawings at twice the density, which the program loads instead on screens
  // with more than one device pixel per pixel (named as Qt's own @2x convention).
  const std::vector<std::pair<QString, QImage>> notes2x = {
      {"note10@2x.ppm", note10(2)},
      {"note100@2x.ppm", note100(2)},
      {"note20@2x.ppm", note20(2)},
      {"note500@2x.ppm", note500(2)},
  };
  // Only the window's square of a note is ever drawn.
  const auto windowSquare = [](const QImage& note, int scale) {
    return note.copy(0, 0, kWindowSide * scale, kWindowSide * scale);
  };
  for (const auto& [name, image] : notes2x)
    ok = save(windowSquare(image, 2), out, name, -1, 2) && ok;
  for (const auto& [name, image] : notes) {
    ok = save(windowSquare(image, 1), out, name) && ok;
    const DiscStats s = discStats(image);
    std::printf("%-12s %dx%d  disc luminance: min %.0f, mean %.0f, %.1f%% at or above %.0f\n",
                qPrintable(name), image.width(), image.height(), s.minimum, s.mean,
                100.0 * s.shareLight, kLightEnough);
    if (s.shareLight < kRequiredLightShare) {
      std::fprintf(stderr, "makepictures: %s is too dark behind the captions\n", qPrintable(name));
      ok = false;
    }
  }
  for (int size : {16, 32, 48, 64, 128, 256})
    ok = save(size == 16 ? toIndexed(coinIcon(size)) : coinIcon(size), out,
              QString("app%1.png").arg(size)) &&
         ok;
  const std::vector<std::pair<QString, QImage>> icons = {
      {"close.png", closeIcon()}, {"reduce.png", reduceIcon()}, {"options.png", optionsIcon()},
      {"about.png", aboutIcon()}, {"help.png", helpIcon()},     {"zoneeuro.png", zoneEuroIcon()},
      {"focus.png", focusIcon()}, {"hand.png", handCursor()},
  };
  for (const auto& [name, image] : icons) {
    ok = save(toIndexed(image), out, name) && ok;
    QString name2x = name;
    name2x.replace(".png", "@2x.png");
    ok = save(toIndexed(scale2x(image)), out, name2x, -1, 2) && ok;
  }
  std::printf("hand.png hot spot: %d,%d\n", kHandHotSpotX, kHandHotSpotY);

  if (args.size() == 4) {
    // Only the preview's captions need fonts, hence an application; the offscreen
    // platform spares it a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QDir previewDir(args[3]);
    previewDir.mkpath(".");
    for (const auto& [name, image] :
         previews(notes[0].second, notes[1].second, notes[2].second, notes[3].second))
      ok = save(image, previewDir, name) && ok;
  }
  return ok ? 0 : 1;
}
