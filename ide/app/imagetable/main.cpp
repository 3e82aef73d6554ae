// velmo_image_table <output.cpp> <name=picture>...: decodes the pictures the
// workbench shows while it starts (the splash and the toolbar buttons) at
// build time and writes them as C++ tables of 32-bit pixels, so the start
// only wraps them instead of decoding JPEG and PNG files. Pictures with
// transparency are written premultiplied (the form the window system draws),
// the others opaque.
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

struct TPicture {
    QString name;
    QImage image;
};

bool ReadPicture(const QString &argument, TPicture &picture)
{
    const qsizetype equals = argument.indexOf('=');
    if (equals <= 0) {
        std::fprintf(stderr, "velmo_image_table: expected name=file, got %s\n", qPrintable(argument));
        return false;
    }
    picture.name = argument.left(equals);
    const QString file = argument.mid(equals + 1);
    QImage image(file);
    if (image.isNull()) {
        std::fprintf(stderr, "velmo_image_table: cannot read %s\n", qPrintable(file));
        return false;
    }
    picture.image =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return true;
}

void WritePixels(QTextStream &out, int index, const QImage &image)
{
    out << "const quint32 kPixels" << index << "[] = {";
    int column = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++column)
            out << (column % 8 ? " " : "\n    ") << "0x" << QString::number(line[x], 16) << "u,";
    }
    out << "\n};\n\n";
}

void WriteTable(QTextStream &out, const QList<TPicture> &pictures)
{
    out << "// Written by velmo_image_table; the pictures are in ide/app/images.\n"
           "#include \"BuiltInImage.h\"\n\nnamespace {\n\n";
    for (int i = 0; i < pictures.size(); ++i)
        WritePixels(out, i, pictures[i].image);
    out << "} // namespace\n\nconst TBuiltInPicture kBuiltInPictures[] = {\n";
    for (int i = 0; i < pictures.size(); ++i) {
        const QImage &image = pictures[i].image;
        out << "    {\"" << pictures[i].name << "\", " << image.width() << ", " << image.height() << ", "
            << (image.hasAlphaChannel() ? "true" : "false") << ", kPixels" << i << "},\n";
    }
    out << "};\n\nconst int kBuiltInPictureCount = " << pictures.size() << ";\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fputs("Usage: velmo_image_table <output.cpp> <name=picture>...\n", stderr);
        return 2;
    }
    QList<TPicture> pictures(argc - 2);
    for (int i = 2; i < argc; ++i)
        if (!ReadPicture(QString::fromLocal8Bit(argv[i]), pictures[i - 2]))
            return 1;
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "velmo_image_table: cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream out(&file);
    WriteTable(out, pictures);
    out.flush();
    return file.commit() ? 0 : 1;
}
