#pragma once

#include <QImage>
#include <QtGlobal>

// A picture decoded when the workbench was built: 32-bit pixels, row after
// row, premultiplied when it has transparency.
struct TBuiltInPicture {
    const char *name;
    int width;
    int height;
    bool transparent;
    const quint32 *pixels;
};

// The table velmo_image_table writes from ide/app/images.
extern const TBuiltInPicture kBuiltInPictures[];
extern const int kBuiltInPictureCount;

// The built-in picture of that name ("splash", or a toolbar button's picture
// such as "new"), sharing the program's own copy of the pixels; a null image
// for an unknown name.
QImage BuiltInImage(const char *name);
