// The workbench's icon, cut from its logo: the square mark at the logo's left
// (the rounded square with the "V") with the background around it made
// transparent, in the sizes the desktops' icon themes use.
#pragma once

#include <QImage>

inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The mark of the logo as a square image with an alpha channel; a null image
// when the logo holds nothing but its background.
QImage LogoMark(const QImage &logo);

// The mark scaled to an icon of size x size pixels.
QImage IconOfSize(const QImage &mark, int size);
