// The four banknotes the windows stand on, at `scale` device pixels per pixel of the window.
#pragma once

#include <QImage>

namespace pictures {

QImage note10(int scale);
QImage note20(int scale);
QImage note100(int scale);
QImage note500(int scale);

}  // namespace pictures
