// Banner: the picture across the top of the window, drawn at start-up in the
// size the build asks for (wider than the window, so its right edge is cut).
#pragma once

#include <QPixmap>

QPixmap drawBanner(int width, int height);
