#pragma once

#include <QImage>

inline constexpr int kMainPictureWidth = 360;
inline constexpr int kMainPictureHeight = 300;

// The main window's picture: a colour-light signal beside a track running to the horizon.
QImage drawMainPicture();
