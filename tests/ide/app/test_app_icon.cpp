// The workbench's icon from the folders the package installs it in: which
// sizes are found, which folder wins, and that the files found are the ones
// drawn.

#include "AppIcon.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TIconFile {
    const char *folder; // "user" or "system"
    int size;
    QRgb colour;
};

} // namespace

Q_DECLARE_METATYPE(QList<TIconFile>)

class TestAppIcon : public QObject {
    Q_OBJECT

private:
    static bool Install(const QString &root, const TIconFile &file)
    {
        const QString dir = QStringLiteral("%1/%2/hicolor/%3x%3/apps").arg(root, file.folder).arg(file.size);
        QImage image(file.size, file.size, QImage::Format_ARGB32);
        image.fill(file.colour);
        return QDir().mkpath(dir) && image.save(dir + "/korvid.png");
    }

private slots:
    void findsTheInstalledSizes_data()
    {
        QTest::addColumn<QList<TIconFile>>("files");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("drawnSize");
        QTest::addColumn<QRgb>("drawnColour");

        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        QTest::newRow("not installed") << QList<TIconFile>{} << QList<int>{} << 0 << QRgb(0);
        QTest::newRow("one size") << QList<TIconFile>{{"system", 48, red}} << QList<int>{48} << 48 << red;
        QTest::newRow("sizes from both folders")
            << QList<TIconFile>{{"system", 16, red}, {"user", 256, blue}} << QList<int>{16, 256} << 256 << blue;
        QTest::newRow("the user's folder first")
            << QList<TIconFile>{{"system", 32, red}, {"user", 32, blue}} << QList<int>{32} << 32 << blue;
        QTest::newRow("a size the package does not make")
            << QList<TIconFile>{{"system", 40, red}, {"system", 64, blue}} << QList<int>{64} << 64 << blue;
    }

    void findsTheInstalledSizes()
    {
        QFETCH(QList<TIconFile>, files);
        QFETCH(QList<int>, sizes);
        QFETCH(int, drawnSize);
        QFETCH(QRgb, drawnColour);
        QTemporaryDir root;
        for (const TIconFile &file : files)
            QVERIFY(Install(root.path(), file));

        const QIcon icon = AppIconIn({root.filePath("user"), root.filePath("system")}, "korvid");

        QList<int> found;
        for (const QSize &size : icon.availableSizes())
            found.append(size.width());
        std::sort(found.begin(), found.end());
        QCOMPARE(found, sizes);
        QCOMPARE(icon.isNull(), sizes.isEmpty());
        if (drawnSize > 0) {
            const QImage drawn = icon.pixmap(drawnSize, drawnSize).toImage();
            QCOMPARE(drawn.size(), QSize(drawnSize, drawnSize));
            QCOMPARE(drawn.pixel(drawnSize / 2, drawnSize / 2), drawnColour);
        }
    }

    // Another program's icon in the same folders is not taken.
    void onlyTheNamedIcon()
    {
        QTemporaryDir root;
        QVERIFY(Install(root.path(), {"system", 48, qRgb(0, 255, 0)}));
        QVERIFY(AppIconIn({root.filePath("system")}, "velmo").isNull());
        QVERIFY(!AppIconIn({root.filePath("system")}, "korvid").isNull());
    }
};

QTEST_MAIN(TestAppIcon)
#include "test_app_icon.moc"
