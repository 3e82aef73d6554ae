// velmo_icons: writes the workbench's icon in every size of the hicolor icon
// theme, as the application icon and as the icon of Velmo sources.
//
//   velmo_icons <logo.png> <folder>
//     -> <folder>/hicolor/<n>x<n>/apps/korvid.png
//        <folder>/hicolor/<n>x<n>/mimetypes/text-x-velmo.png
#include "IconMaker.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>

namespace {

bool Write(const QImage &icon, const QString &file)
{
    QSaveFile out(file);
    return QDir().mkpath(QFileInfo(file).path()) && out.open(QIODevice::WriteOnly) && icon.save(&out, "PNG") &&
        out.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: velmo_icons <logo.png> <folder>\n", stderr);
        return 1;
    }
    const QImage mark = LogoMark(QImage(QString::fromLocal8Bit(argv[1])));
    if (mark.isNull()) {
        std::fprintf(stderr, "velmo_icons: no mark found in '%s'\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/hicolor/");
    for (int size : kIconSizes) {
        const QImage icon = IconOfSize(mark, size);
        const QString dir = folder + QStringLiteral("%1x%1/").arg(size);
        if (!Write(icon, dir + QStringLiteral("apps/korvid.png")) ||
            !Write(icon, dir + QStringLiteral("mimetypes/text-x-velmo.png"))) {
            std::fprintf(stderr, "velmo_icons: can't write the icons under '%s'\n", argv[2]);
            return 1;
        }
    }
    return 0;
}
