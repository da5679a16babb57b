// Banner: the picture across the top of the window, in the size the build
// asks for (wider than the window, so its right edge is cut). The pictures
// ship with the program as resources, so start-up only decodes a small PNG.
#pragma once

#include <QPixmap>

// A null pixmap when no picture of that size ships.
QPixmap bannerPicture(int width, int height);
