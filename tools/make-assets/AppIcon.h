#pragma once

#include <QByteArray>
#include <QImage>

// The program's icon for the desktop's menus, drawn for each of these sizes.
inline constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};
QImage drawAppIcon(int size);

QByteArray encodePng(const QImage& image);
