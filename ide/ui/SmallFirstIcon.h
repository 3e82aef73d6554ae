#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

// One picture file of an icon.
struct TIconFile {
    QString fileName;
    int size;
    QIcon::State state;
};

// An icon whose small pictures are read at once and whose large ones only
// when a larger picture is asked for: the whole icon is then made by full().
// An icon draws the smallest of its pictures at least as large as asked for,
// so up to the largest small size the small files alone give the whole
// icon's picture, without the large pictures being decoded. On a screen that
// is not drawn at one device pixel a pixel, the whole icon answers.
QIcon SmallFirstIcon(const QList<TIconFile> &smallFiles, std::function<QIcon()> full);
