// Splash screen, About box, the version record of program files and the
// system's error texts.

#include "About.h"
#include "BuiltInImage.h"
#include "Errors.h"
#include "FileVersion.h"
#include "Splash.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cerrno>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void fileVersion_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("four");
        // The record's marker is put together here so that this program
        // itself holds no second record.
        const QByteArray marker = QByteArray("\x01") + "KORVID-FILE-" + "VERSION=";
        QTest::newRow("full record") << QByteArray("ELF...." + marker + "2.5.7.12\x01 rest") << "2.5"
                                     << "2.5.7.12";
        QTest::newRow("three numbers") << QByteArray(marker + "3.1.4\x01") << "3.1"
                                       << "3.1.4.0";
        QTest::newRow("no record") << QByteArray("just some bytes") << ""
                                   << "";
        QTest::newRow("unterminated record") << QByteArray(marker + "1.2") << ""
                                             << "";
        QTest::newRow("empty file") << QByteArray() << ""
                                    << "";
        // The file is read a piece of 64 KiB at a time: a record on or after
        // a piece's end is still found.
        for (const int before : {65536 - 5, 65536 - 20, 65536 + 3, 3 * 65536 + 100})
            QTest::newRow(qPrintable(QString("record at byte %1").arg(before)))
                << QByteArray(before, 'x') + marker + "4.3.2.1\x01" + QByteArray(200, 'y') << "4.3"
                << "4.3.2.1";
        QTest::newRow("record ending the file on a piece's edge")
            << QByteArray(65536 - marker.size() - 8, 'x') + marker + "7.6.5.4\x01"
            << "7.6"
            << "7.6.5.4";
    }

    void fileVersion()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, two);
        QFETCH(QString, four);
        QTemporaryDir dir;
        QFile file(dir.filePath("program"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        QCOMPARE(GetFileVersion(file.fileName(), false), two);
        QCOMPARE(GetFileVersion(file.fileName(), true), four);
    }

    void runningProgramHasTheBuildVersion()
    {
        const QString self = QCoreApplication::applicationFilePath();
        const QStringList build = QString(VELMO_VERSION).split('.');
        QCOMPARE(GetFileVersion(self, false), build[0] + "." + build[1]);
        QVERIFY(GetFileVersion(self, true).startsWith(QString(VELMO_VERSION)));
        QCOMPARE(GetFileVersion(self, true).count('.'), 3);
        QCOMPARE(GetFileVersion("/no/such/program", true), QString());
    }

    // The running program's version comes from what it was built with; a
    // copy of the same file, read as any other program, gives the same.
    void aCopyOfTheRunningProgramReadsTheSame()
    {
        QTemporaryDir dir;
        const QString self = QCoreApplication::applicationFilePath();
        const QString copy = dir.filePath("copy");
        QVERIFY(QFile::copy(self, copy));
        for (const bool full : {false, true})
            QCOMPARE(GetFileVersion(copy, full), GetFileVersion(self, full));
    }

    // The pictures decoded at build time are those of the picture files,
    // pixel for pixel, and every button picture is among them.
    void builtInPicturesAreTheirFiles()
    {
        const QDir images(QDir::cleanPath(VELMO_TEST_DATA "/../../../../ide/app/images"));
        const QStringList icons = QDir(images.filePath("icons")).entryList({"*.png"}, QDir::Files);
        QVERIFY(!icons.isEmpty());
        QCOMPARE(kBuiltInPictureCount, icons.size() + 1);
        for (const QString &icon : icons) {
            const QImage file(images.filePath("icons/" + icon));
            const QImage built = BuiltInImage(qPrintable(QFileInfo(icon).completeBaseName()));
            QCOMPARE(built.format(), QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(built, file.convertToFormat(built.format()));
        }
        const QImage splash = BuiltInImage("splash");
        QCOMPARE(splash.format(), QImage::Format_RGB32);
        QCOMPARE(splash, QImage(images.filePath("splash.jpg")).convertToFormat(QImage::Format_RGB32));
        QVERIFY(BuiltInImage("no-such-picture").isNull());
    }

    void splashScreen()
    {
        QPointer<TSplashScreen> splash = new TSplashScreen;
        splash->show();
        QCOMPARE(splash->size(), QSize(359, 235));
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!splash->SplashImage->pixmap().isNull());
        QCOMPARE(splash->VersionLabel->text(),
                 "Korvid V" + GetFileVersion(QCoreApplication::applicationFilePath(), false));
        QCOMPARE(splash->VersionLabel->geometry(), QRect(128, 178, 229, 33));
        QCOMPARE(splash->Timer1->interval(), 3000);
        QVERIFY(splash->Timer1->isActive());
        QCOMPARE(splash->Opacity(), 255);

        // Let the timer fire early: the splash fades out and destroys itself.
        splash->Timer1->start(5);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
    }

    void versionTexts_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("splashText");
        QTest::addColumn<QString>("aboutText");
        const QByteArray marker = QByteArray("\x01") + "KORVID-FILE-" + "VERSION=";
        QTest::newRow("version record") << QByteArray("head" + marker + "2.5.7.12\x01tail") << "Korvid V2.5"
                                        << "Version 2.5.7.12";
        QTest::newRow("no version record") << QByteArray("no record here") << "Korvid V"
                                           << "Version ";
    }

    void versionTexts()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, splashText);
        QFETCH(QString, aboutText);
        QTemporaryDir dir;
        QFile file(dir.filePath("program"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        TSplashScreen splash(nullptr, file.fileName());
        splash.Timer1->stop();
        QCOMPARE(splash.VersionLabel->text(), splashText);
        TAboutForm about(nullptr, file.fileName());
        QCOMPARE(about.Label2->text(), aboutText);
    }

    void fadeStepsDownByFourFrom252()
    {
        QPointer<TSplashScreen> splash = new TSplashScreen;
        splash->show();
        // Sample the opacity on every pass of the event loop, the fade's
        // waits included.
        QList<int> seen;
        QTimer sampler;
        sampler.setInterval(0);
        connect(&sampler, &QTimer::timeout, [&] {
            if (splash && (seen.isEmpty() || seen.last() != splash->Opacity()))
                seen << splash->Opacity();
        });
        sampler.start();
        splash->Timer1->start(5);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
        sampler.stop();
        QList<int> expected = {255};
        for (int opacity = 248; opacity >= 0; opacity -= 4)
            expected << opacity;
        QCOMPARE(expected.size(), 64); // the design value and 63 fade steps
        QCOMPARE(seen, expected);
    }

    void aboutBox()
    {
        TAboutForm about;
        QCOMPARE(about.windowTitle(), QString("About..."));
        QCOMPARE(about.size(), QSize(375, 288));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(255, 255, 253));
        QCOMPARE(about.Label2->text(), "Version " + GetFileVersion(QCoreApplication::applicationFilePath(), true));
        QVERIFY(!about.findChild<QLabel *>("Logo")->pixmap().isNull());
        QStringList texts;
        for (QLabel *l : about.findChildren<QLabel *>())
            texts << l->text();
        QVERIFY(texts.contains("Velmo Editor"));
        QVERIFY(texts.contains("Author:"));
        QVERIFY(texts.contains("Credits:"));
        auto *close = about.findChild<QPushButton *>("CloseBtn");
        QCOMPARE(close->text(), QString("Close"));
        QVERIFY(close->isDefault());
        QTimer::singleShot(0, close, &QPushButton::click);
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }

    void systemErrorTexts()
    {
        errno = ENOENT;
        QCOMPARE(LastErrorText(), QString::fromLocal8Bit(strerror(ENOENT)));
        QVERIFY(!LastErrorText().isEmpty());
        errno = 0;
        QCOMPARE(LastErrorText(), QString());
        QCOMPARE(SystemErrorText(987654), QString());
        QCOMPARE(SystemErrorText(EACCES), QString::fromLocal8Bit(strerror(EACCES)));
    }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
