// The firmware update wizard offscreen: the update list from a temporary
// "Updates" folder with its platform and version columns, the pages and the
// enabling of their buttons, a vanished image, and a transfer to a loader on
// a pseudo-terminal that is cancelled between records.

#include "../support/LoaderPeer.h"
#include "../support/TestFiles.h"
#include "../support/TestPaths.h"
#include "DialogHooks.h"
#include "Globals.h"
#include "MsgDlg.h"
#include "Serial.h"
#include "Update.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kImage = ":0100000041BE\r\n:0100010042BC\r\n:0100020043BA\r\n:00000001FF\r\n";

QString Buttons(const TMcuUpdate &w)
{
    QString states;
    for (const QPushButton *button : {w.BackBtn, w.NextBtn, w.DownloadBtn})
        states += button->isEnabled() ? '1' : '0';
    return states;
}

QStringList Entries(const TMcuUpdate &w)
{
    QStringList names;
    for (int i = 0; i < w.PlatformBox->count(); ++i)
        names << w.PlatformBox->itemText(i);
    return names;
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TTestPaths> paths;
    QStringList messages;
    int answer = mrOk; // to a question of the message dialog

    void AddImage(const QString &name, const QByteArray &bytes = kImage)
    {
        WriteTestFile(dir->filePath("Updates/" + name), bytes);
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        paths = std::make_unique<TTestPaths>(dir->path());
        messages.clear();
        answer = mrOk;
        m_hooks.messageDlg = [this](int, const QString &message, const QString &help, bool) {
            messages << message + " | " + help;
            return answer;
        };
    }

    void cleanup()
    {
        m_hooks.messageDlg = nullptr;
        paths.reset();
        delete dir;
    }

    void namesShowPlatformAndVersionColumns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("no version") << "ZENTRA8" << QStringList({"ZENTRA8"});
        QTest::newRow("four characters") << "ABC_V123" << QStringList({"ABC", "V123"});
        QTest::newRow("longer version") << "ABC_V1.23" << QStringList({"ABC", "V1.2"});
        QTest::newRow("short version") << "ABC_V1" << QStringList({"ABC", "V1"});
        QTest::newRow("first _V splits") << "A_VX_V2" << QStringList({"A", "VX_V"});
        QTest::newRow("lower-case v is no version") << "abc_v12" << QStringList({"abc_v12"});
    }

    void namesShowPlatformAndVersionColumns()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, columns);
        QCOMPARE(TMcuUpdate::PlatformColumns(name), columns);
    }

    // The version column starts 200 pixels right of the platform's.
    void theBoxDrawsTheVersionInItsOwnColumn()
    {
        AddImage("ABC_V1.23.hex");
        TMcuUpdate w;
        w.show();
        w.PlatformBox->setFixedWidth(420);
        const QImage image = w.PlatformBox->grab().toImage();
        auto inked = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = image.height() / 2 - 3; y <= image.height() / 2 + 3; ++y)
                    if (QColor(image.pixel(x, y)).lightness() < 100)
                        return true;
            return false;
        };
        QVERIFY(inked(0, 60)); // ABC
        QVERIFY(!inked(60, 195));
        QVERIFY(inked(200, 250)); // V1.2
        QVERIFY(!inked(260, 360));
    }

    void theListHoldsThePlainHexFilesOfTheUpdatesFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("buttons"); // Back, Next, Download
        QTest::newRow("no folder") << QStringList() << QStringList() << "000";
        QTest::newRow("empty folder") << QStringList({"readme.txt"}) << QStringList() << "000";
        QTest::newRow("one image") << QStringList({"ZENTRA8_V1.05.hex"}) << QStringList({"ZENTRA8_V1.05"}) << "010";
        QTest::newRow("images among others") << QStringList({"B_V2.hex", "A_V1.hex", "notes.txt", "dir.hex/x"})
                                             << QStringList({"A_V1", "B_V2"}) << "010";
    }

    void theListHoldsThePlainHexFilesOfTheUpdatesFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, entries);
        QFETCH(QString, buttons);
        for (const QString &file : files)
            AddImage(file);
        TMcuUpdate w;
        w.show();
        QStringList shown = Entries(w);
        shown.sort(); // the folder's own order is the system's
        QCOMPARE(shown, entries);
        QCOMPARE(w.PlatformBox->currentIndex(), entries.isEmpty() ? -1 : 0);
        QCOMPARE(Buttons(w), buttons);
        QCOMPARE(w.Pages->currentIndex(), 0);
        QCOMPARE(w.HeaderLabel->text(), QString("Platform..."));
    }

    void pageButtonsMoveAndEnable()
    {
        AddImage("A_V1.hex");
        AddImage("B_V2.hex");
        TMcuUpdate w;
        w.show();
        QCOMPARE(Buttons(w), QString("010"));
        QTest::mouseClick(w.NextBtn, Qt::LeftButton);
        QCOMPARE(w.Pages->currentIndex(), 1);
        QCOMPARE(w.HeaderLabel->text(), QString("Download..."));
        QCOMPARE(Buttons(w), QString("101"));
        QTest::mouseClick(w.BackBtn, Qt::LeftButton);
        QCOMPARE(w.Pages->currentIndex(), 0);
        QCOMPARE(w.HeaderLabel->text(), QString("Platform..."));
        QCOMPARE(Buttons(w), QString("010"));
        w.PlatformBox->setCurrentIndex(1);
        QVERIFY(w.NextBtn->isEnabled());
        QTest::mouseClick(w.CancelBtn, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void aVanishedImageWarnsAndSendsNothing()
    {
        AddImage("ZENTRA16_V2.00.hex");
        TLoaderPeer peer;
        TMcuComPort port;
        port.SetComPort(peer.Path());
        TMcuUpdate w;
        w.SetComPort(&port);
        w.show();
        QFile::remove(dir->filePath("Updates/ZENTRA16_V2.00.hex"));
        QTest::mouseClick(w.NextBtn, Qt::LeftButton);
        QTest::mouseClick(w.DownloadBtn, Qt::LeftButton);
        QCOMPARE(messages,
                 QStringList({"Can't find the selected file! | Please check Your installation - perhaps the "
                              "update folder is not complete."}));
        QCOMPARE(w.State(), TMcuTransferDlg::tsIdle);
        QVERIFY(w.isVisible());
        QVERIFY(w.Task() == nullptr);
        QCOMPARE(peer.Resets, 0);
    }

    void aFailedUpdateReturnsToTheDownloadPage()
    {
        AddImage("ZENTRA8_V1.05.hex");
        TLoaderPeer peer;
        peer.Ack = 'E';
        TMcuComPort port;
        port.SetComPort(peer.Path());
        TMcuUpdate w;
        w.SetComPort(&port);
        w.show();
        QTest::mouseClick(w.NextBtn, Qt::LeftButton);
        QTest::mouseClick(w.DownloadBtn, Qt::LeftButton);
        QVERIFY(WaitFor([&] { return !w.Running(); }));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith("Download aborted! | No response - download canceled!"));
        QVERIFY(w.isVisible());
        QCOMPARE(w.Pages->currentIndex(), 1);
        QCOMPARE(Buttons(w), QString("101"));
        QCOMPARE(port.Requests(), 0);
    }

    // Cancel while the image is sent asks first: a stop confirmed ends the
    // transfer after the current record and says that the update must be
    // run again; a stop declined lets the whole image go.
    void cancelAsksBeforeStoppingTheUpdate_data()
    {
        QTest::addColumn<int>("reply");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("said");
        const QString ask = "Stop the update? | A module whose update stops may be left without a working "
                            "firmware until the update is run again.";
        const QString stopped = "The update was stopped. | The module may have no working firmware now. Run the "
                                "update again before using it.";
        QTest::newRow("stop_confirmed") << int(mrYes) << 2 << QStringList{ask, stopped};
        QTest::newRow("stop_declined") << int(mrNo) << 4 << QStringList{ask};
    }

    void cancelAsksBeforeStoppingTheUpdate()
    {
        QFETCH(int, reply);
        QFETCH(int, records);
        QFETCH(QStringList, said);
        AddImage("ZENTRA8_V1.05.hex");
        TLoaderPeer peer;
        peer.HoldAfter = 1;
        TMcuComPort port;
        port.SetComPort(peer.Path());
        TMcuUpdate w;
        w.SetComPort(&port);
        w.show();
        QTest::mouseClick(w.NextBtn, Qt::LeftButton);
        QTest::mouseClick(w.DownloadBtn, Qt::LeftButton);
        QVERIFY(w.Running());
        QCOMPARE(Buttons(w), QString("000")); // no page change while sending
        QVERIFY(WaitFor([&] { return peer.Records.size() == 2; }));
        QCOMPARE(peer.Records, QList<QByteArray>({":0100000041BE", ":0100010042BC"}));
        QVERIFY(!w.close());
        answer = reply;
        QTest::mouseClick(w.CancelBtn, Qt::LeftButton);
        QVERIFY(w.isVisible());
        peer.Release();
        QVERIFY(WaitFor([&] { return !w.isVisible(); }));
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(peer.Records.size(), records);
        QCOMPARE(messages, said);
        QCOMPARE(port.Requests(), 0);
    }

    // An empty or missing folder: the page says which folder it looked in.
    void noImagesSaysWhereTheyAreLookedFor_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<bool>("told");
        QTest::newRow("no_folder") << QStringList() << true;
        QTest::newRow("folder_without_hex") << QStringList{"readme.txt"} << true;
        QTest::newRow("one_image") << QStringList{"ZENTRA8_V1.05.hex"} << false;
    }

    void noImagesSaysWhereTheyAreLookedFor()
    {
        QFETCH(QStringList, images);
        QFETCH(bool, told);
        for (const QString &name : images)
            AddImage(name);
        TMcuUpdate w;
        w.show();
        QCOMPARE(w.NoImagesLabel->isVisible(), told);
        if (told)
            QVERIFY2(w.NoImagesLabel->text().contains(QDir::toNativeSeparators(dir->filePath("Updates"))),
                     qPrintable(w.NoImagesLabel->text()));
        QCOMPARE(w.NextBtn->isEnabled(), !told);
    }
};

QTEST_MAIN(TestUpdate)
#include "test_update.moc"
