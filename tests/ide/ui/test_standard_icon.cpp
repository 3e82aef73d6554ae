// The style's folder, parent-folder and file pictures taken without the icon
// theme's index: the picture drawn is the one the style gives, whichever
// theme files lie in the icon folders.

#include "StandardIcon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr QRgb kThemeColour = 0xffff0000;

// A theme with the folders the picture files lie in, so that the icon
// loader reads them.
bool WriteThemeIndex(const QString &root, const QString &theme)
{
    const QStringList folders = {"16x16/places", "16x16/actions", "16x16/mimetypes"};
    QString text = QStringLiteral("[Icon Theme]\nName=%1\nDirectories=%2\n").arg(theme, folders.join(','));
    for (const QString &folder : folders)
        text += QStringLiteral("\n[%1]\nSize=16\nType=Fixed\n").arg(folder);
    QFile index(root + "/" + theme + "/index.theme");
    return QDir().mkpath(root + "/" + theme) && index.open(QIODevice::WriteOnly) && index.write(text.toUtf8()) > 0;
}

bool WritePicture(const QString &file)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(kThemeColour);
    return QDir().mkpath(QFileInfo(file).path()) && image.save(file);
}

QImage Drawn(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage Painted(const QIcon &icon, int size, qreal ratio, QIcon::Mode mode, QIcon::State state)
{
    QImage image(QSize(size + 4, size + 4) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(2, 2, size, size), Qt::AlignCenter, mode, state);
    return image;
}

} // namespace

class TestStandardIcon : public QObject {
    Q_OBJECT

private slots:
    void theStylesPictureIsDrawn_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("pixmap");
        QTest::addColumn<bool>("fromTheme");

        const QStringList none;
        const int folder = QStyle::SP_DirIcon;
        const int parent = QStyle::SP_FileDialogToParent;
        const int file = QStyle::SP_FileIcon;
        QTest::newRow("no theme files: folder") << "hicolor" << none << folder << false;
        QTest::newRow("no theme files: parent") << "hicolor" << none << parent << false;
        QTest::newRow("no theme files: file") << "hicolor" << none << file << false;
        QTest::newRow("fallback theme's folder")
            << "hicolor" << QStringList{"hicolor/16x16/places/folder.png"} << folder << true;
        QTest::newRow("fallback theme's parent")
            << "hicolor" << QStringList{"hicolor/16x16/actions/go-up.png"} << parent << true;
        QTest::newRow("shorter name cut at a dash")
            << "hicolor" << QStringList{"hicolor/16x16/actions/go.png"} << parent << true;
        QTest::newRow("file picture cut twice")
            << "hicolor" << QStringList{"hicolor/16x16/mimetypes/text.png"} << file << true;
        // Looked into the long way, where the style takes its own picture too.
        QTest::newRow("loose picture in the icon folder")
            << "hicolor" << QStringList{"text-x-generic.png"} << file << false;
        QTest::newRow("a longer name is another picture")
            << "hicolor" << QStringList{"hicolor/16x16/places/folder-open.png"} << folder << false;
        QTest::newRow("another theme's folder is not read")
            << "hicolor" << QStringList{"Other/16x16/places/folder.png"} << folder << false;
        QTest::newRow("a desktop's own theme is asked")
            << "Desk" << QStringList{"Desk/16x16/places/folder.png"} << folder << true;
        QTest::newRow("a desktop's theme without the picture")
            << "Desk" << QStringList{"Desk/16x16/places/other.png"} << folder << false;
        // Without a theme name no theme is asked, not even the fallback.
        QTest::newRow("no theme name: folder") << "" << none << folder << false;
        QTest::newRow("no theme name, fallback theme's folder")
            << "" << QStringList{"hicolor/16x16/places/folder.png"} << folder << false;
        QTest::newRow("no theme name, fallback theme's file")
            << "" << QStringList{"hicolor/16x16/mimetypes/text-x-generic.png"} << file << false;
    }

    void theStylesPictureIsDrawn()
    {
        QFETCH(QString, theme);
        QFETCH(QStringList, files);
        QFETCH(int, pixmap);
        QFETCH(bool, fromTheme);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString &name : {QStringLiteral("hicolor"), theme})
            QVERIFY(WriteThemeIndex(root.path(), name));
        for (const QString &file : files)
            QVERIFY(WritePicture(root.filePath(file)));
        QIcon::setThemeSearchPaths({root.path()});
        QIcon::setThemeName(theme);

        const auto which = static_cast<QStyle::StandardPixmap>(pixmap);
        const QImage drawn = Drawn(StandardIcon(which));
        const QImage styles = Drawn(QApplication::style()->standardIcon(which));
        QVERIFY(!drawn.isNull());
        QCOMPARE(drawn, styles);
        QCOMPARE(drawn.pixel(8, 8) == kThemeColour, fromTheme);
        // The icon folders are as they were.
        QCOMPARE(QIcon::themeSearchPaths(), QStringList{root.path()});
    }

    // Without a theme the style's own pictures are drawn: small ones read at
    // once, large ones when asked for. Every size, mode and state, on a
    // plain and a doubled-resolution device, looks as the style's icon.
    void theStylesOwnPictureInEverySize_data()
    {
        QTest::addColumn<int>("pixmap");
        QTest::newRow("folder") << int(QStyle::SP_DirIcon);
        QTest::newRow("parent") << int(QStyle::SP_FileDialogToParent);
        QTest::newRow("file") << int(QStyle::SP_FileIcon);
    }

    void theStylesOwnPictureInEverySize()
    {
        QFETCH(int, pixmap);
        QTemporaryDir root;
        QVERIFY(WriteThemeIndex(root.path(), "hicolor"));
        QIcon::setThemeSearchPaths({root.path()});
        QIcon::setThemeName("hicolor");
        const auto which = static_cast<QStyle::StandardPixmap>(pixmap);
        const QIcon drawn = StandardIcon(which);
        const QIcon styles = QApplication::style()->standardIcon(which);
        for (const int size : {8, 16, 20, 24, 32, 33, 48, 128, 200}) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                for (const QIcon::State state : {QIcon::Off, QIcon::On}) {
                    const QString where = QStringLiteral("size %1 mode %2 state %3").arg(size).arg(mode).arg(state);
                    QVERIFY2(drawn.pixmap(size, mode, state).toImage() == styles.pixmap(size, mode, state).toImage(),
                             qPrintable(where));
                    QCOMPARE(drawn.actualSize(QSize(size, size), mode, state),
                             styles.actualSize(QSize(size, size), mode, state));
                    for (const qreal ratio : {1.0, 2.0})
                        QVERIFY2(Painted(drawn, size, ratio, mode, state) == Painted(styles, size, ratio, mode, state),
                                 qPrintable(where + QStringLiteral(" ratio %1").arg(ratio)));
                }
            }
        }
        QCOMPARE(drawn.availableSizes(), styles.availableSizes());
        QCOMPARE(drawn.availableSizes(QIcon::Normal, QIcon::On), styles.availableSizes(QIcon::Normal, QIcon::On));
    }

    void whatTheFallbackThemeMayHold_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("held");

        QTest::newRow("nothing") << QStringList{} << "folder" << false;
        QTest::newRow("deep in the theme") << QStringList{"hicolor/a/b/c/folder.png"} << "folder" << true;
        QTest::newRow("every dash cut") << QStringList{"hicolor/x/text.png"} << "text-x-generic" << true;
        QTest::newRow("middle cut") << QStringList{"hicolor/x/text-x.png"} << "text-x-generic" << true;
        QTest::newRow("not a cut") << QStringList{"hicolor/x/x-generic.png"} << "text-x-generic" << false;
        QTest::newRow("loose") << QStringList{"go.xpm"} << "go-up" << true;
        QTest::newRow("loose only at the top") << QStringList{"Other/go-up.png"} << "go-up" << false;
    }

    void whatTheFallbackThemeMayHold()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, name);
        QFETCH(bool, held);
        QTemporaryDir root;
        QTemporaryDir loose;
        for (const QString &file : files)
            QVERIFY(WritePicture(root.filePath(file)));
        QCOMPARE(FallbackThemeMayHold({root.path()}, {}, name), held);
        // A folder of loose pictures is looked at too, but not below it.
        QVERIFY(WritePicture(loose.filePath("sub/" + name + ".png")));
        QCOMPARE(FallbackThemeMayHold({root.path()}, {loose.path()}, name), held);
        QVERIFY(WritePicture(loose.filePath(name + ".png")));
        QVERIFY(FallbackThemeMayHold({root.path()}, {loose.path()}, name));
    }
};

QTEST_MAIN(TestStandardIcon)
#include "test_standard_icon.moc"
