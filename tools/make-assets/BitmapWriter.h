#pragma once

#include <QByteArray>

#include "PixelGrid.h"

// Uncompressed 4-bit bottom-up BMP with the shared palette. kClear pixels come out as colour 0.
QByteArray encodeBmp4(const PixelGrid& grid);

// The 40-byte header and the 4-bit pixel rows, bottom-up, each padded to whole 32-bit words, as
// BMP and ICO share them. An icon doubles the height in the header to count its mask.
void putInfoHeader(QByteArray& out, int width, int headerHeight, uint32_t imageBytes);
void putPalette(QByteArray& out);
void putPixelRows(QByteArray& out, const PixelGrid& grid);
int rowBytes(int width, int bitsPerPixel);
