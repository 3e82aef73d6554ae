#include "BuiltInImage.h"

QImage BuiltInImage(const char *name)
{
    for (int i = 0; i < kBuiltInPictureCount; ++i) {
        const TBuiltInPicture &picture = kBuiltInPictures[i];
        if (qstrcmp(picture.name, name) != 0)
            continue;
        const auto format = picture.transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        return QImage(reinterpret_cast<const uchar *>(picture.pixels), picture.width, picture.height,
                      picture.width * int(sizeof(quint32)), format);
    }
    return QImage();
}
