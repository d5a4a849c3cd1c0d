// The application icon: a gold coin struck with the euro sign.
#pragma once

#include <QImage>

namespace pictures {

QImage coinIcon(int size);

}  // namespace pictures
