#pragma once

#include <QImage>
#include <QString>

namespace skin {

// A binary PPM picture ("P6", 8 bits a channel) among the program's resources, as an image over
// its pixels where they lie: a resource stored uncompressed is mapped with the program, so its
// pixels need no reading and no decoding. The image is read-only (writing to it copies it first)
// and has 1 device pixel per pixel. Null when the resource is missing or compressed, or is not
// such a picture, whole.
QImage RawPicture(const QString& path);

}  // namespace skin
