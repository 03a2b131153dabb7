#pragma once

#include <QByteArray>

#include "PixelGrid.h"

// A one-picture ICO: 4-bit colours with the shared palette, and a 1-bit mask that hides every
// kClear pixel. Pictures up to 255 pixels a side.
QByteArray encodeIco4(const PixelGrid& grid);
