#pragma once

#include <QImage>

// One rectangle of a picture copied 1:1 onto a surface.
struct BlockCopy {
    int srcX = 0;
    int srcY = 0;
    int width = 0;
    int height = 0;
    int dstX = 0;
    int dstY = 0;

    friend bool operator==(const BlockCopy&, const BlockCopy&) = default;
};

// Copies the pixels, replacing what was there; only the part inside both pictures is copied.
// Both pictures are 32 bits per pixel.
void copyBlock(QImage& destination, const QImage& source, const BlockCopy& copy);
