// The console's history in the widget: the view stays where the user
// scrolled while text arrives and follows again at the bottom; selection
// with the mouse and Copy; Save text and a folder that cannot be written.

#include "../support/ChildCheck.h"
#include "../support/RefusedSave.h"
#include "Errors.h"
#include "Terminal.h"

#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class TestConsoleHistory : public QObject {
    Q_OBJECT

private:
    static void Lines(TMcuConsole &console, int first, int count)
    {
        for (int i = first; i < first + count; ++i)
            console.WriteText("line " + QByteArray::number(i) + "\r\n");
    }

    // A shown console of six rows that took "line 0" ... "line 39": the
    // screen shows "line 35" to "line 39" and a blank line.
    static std::unique_ptr<TMcuConsole> Shown()
    {
        auto console = std::make_unique<TMcuConsole>();
        console->resize(400, 6 * console->LineHeight() + 4);
        console->show();
        if (!QTest::qWaitForWindowExposed(console.get()) || console->Screen().MaxRow() != 5)
            return nullptr;
        Lines(*console, 0, 40);
        return console;
    }

    // The picture of the text area (the scroll bar at the right left out).
    static QImage Text(TMcuConsole &console)
    {
        QImage image(console.size(), QImage::Format_RGB32);
        console.render(&image);
        return image.copy(0, 0, console.ScrollBar()->x(), image.height());
    }

    static void Wheel(TMcuConsole &console, int notches)
    {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, console.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&console, &wheel);
    }

    static void Mouse(TMcuConsole &console, QEvent::Type type, int row, int column)
    {
        const QPointF at(console.contentsRect().left() + 1 +
                             column * QFontMetricsF(console.font()).horizontalAdvance('X'),
                         console.contentsRect().top() + 1 + row * console.LineHeight() + console.LineHeight() / 2);
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, console.mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&console, &event);
    }

private slots:
    void theViewStaysWhileTextArrivesAndFollowsAgainAtTheBottom()
    {
        auto console = Shown();
        QVERIFY(console);
        const TConsoleScreen &screen = console->Screen();
        QVERIFY(console->Following());
        QTRY_VERIFY(console->ScrollBar()->isVisible());
        QCOMPARE(console->ScrollBar()->value(), console->ScrollBar()->maximum());

        Wheel(*console, 4); // back by 12 lines, more than the view shows
        QVERIFY(!console->Following());
        const qint64 top = console->ViewTop();
        QCOMPARE(top, screen.ScreenTop() - 4 * QApplication::wheelScrollLines());
        QTRY_VERIFY(console->ScrollBar()->value() < console->ScrollBar()->maximum());
        const QImage before = Text(*console);

        Lines(*console, 40, 25);
        QCOMPARE(console->ViewTop(), top);
        QVERIFY(!console->Following());
        QTRY_COMPARE(console->ScrollBar()->value(), int(top - screen.FirstLine()));
        QCOMPARE(Text(*console), before);

        QTRY_COMPARE(console->ScrollBar()->maximum(), screen.History().Size());
        console->ScrollBar()->setValue(console->ScrollBar()->maximum()); // the user drags it to the bottom
        QVERIFY(console->Following());
        Lines(*console, 65, 1);
        QCOMPARE(console->ViewTop(), screen.ScreenTop());
        QTRY_COMPARE(console->ScrollBar()->value(), console->ScrollBar()->maximum());
        QVERIFY(Text(*console) != before);
    }

    void shiftPageKeysMoveTheViewAndATypedKeyReturnsToTheBottom()
    {
        auto console = Shown();
        QVERIFY(console);
        QByteArray sent;
        console->OnKey = [&](TMcuConsole *, char key) { sent.append(key); };
        const qint64 bottom = console->Screen().ScreenTop();
        QTest::keyClick(console.get(), Qt::Key_PageUp, Qt::ShiftModifier);
        QTest::keyClick(console.get(), Qt::Key_PageUp, Qt::ShiftModifier);
        const qint64 twoPages = console->ViewTop();
        QVERIFY(twoPages < bottom);
        QTest::keyClick(console.get(), Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(bottom - console->ViewTop(), (bottom - twoPages) / 2);
        QTest::keyClick(console.get(), Qt::Key_PageUp); // without Shift: not for the history
        QCOMPARE(bottom - console->ViewTop(), (bottom - twoPages) / 2);
        QTest::keyClick(console.get(), Qt::Key_X);
        QVERIFY(console->Following());
        QCOMPARE(sent, QByteArray("x"));
    }

    void aViewOnLinesTheHistoryDropsMovesToTheOldestKept()
    {
        auto console = Shown();
        QVERIFY(console);
        console->SetHistoryLimit(20);
        console->ScrollTo(0);
        QCOMPARE(console->ViewTop(), console->Screen().FirstLine());
        Lines(*console, 40, 50);
        QCOMPARE(console->ViewTop(), console->Screen().FirstLine());
        QVERIFY(!console->Following());
        QCOMPARE(console->Screen().History().Size(), 20);
    }

    void copy_data()
    {
        QTest::addColumn<int>("back"); // lines scrolled back before selecting
        QTest::addColumn<QPoint>("press"); // row, column
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QString>("copied");
        QTest::newRow("nothing_selected_is_the_screen") << 0 << QPoint(-1, 0) << QPoint() << QString();
        QTest::newRow("within_a_line") << 0 << QPoint(0, 5) << QPoint(0, 7) << "35";
        QTest::newRow("backwards_over_lines") << 0 << QPoint(1, 2) << QPoint(0, 5) << "35\nli";
        QTest::newRow("history_into_screen") << 2 << QPoint(0, 0) << QPoint(2, 4) << "line 33\nline 34\nline";
        QTest::newRow("a_click_selects_nothing") << 0 << QPoint(2, 3) << QPoint(2, 3) << QString();
    }

    void copy()
    {
        QFETCH(int, back);
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(QString, copied);
        auto console = Shown();
        QVERIFY(console);
        console->ScrollTo(console->Screen().ScreenTop() - back);
        if (press.x() >= 0) {
            Mouse(*console, QEvent::MouseButtonPress, press.x(), press.y());
            Mouse(*console, QEvent::MouseMove, release.x(), release.y());
            Mouse(*console, QEvent::MouseButtonRelease, release.x(), release.y());
        }
        QCOMPARE(console->HasSelection(), !copied.isEmpty());
        const QString screenText = "line 35\nline 36\nline 37\nline 38\nline 39\n";
        QGuiApplication::clipboard()->setText("old");
        console->Copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), copied.isEmpty() ? screenText : copied);
    }

    void theSelectionIsDrawnInTheSelectionColours()
    {
        auto console = Shown();
        QVERIFY(console);
        console->Select({console->Screen().ScreenTop(), 0}, {console->Screen().ScreenTop(), 5});
        const QImage image = Text(*console);
        const QColor highlight = console->palette().color(QPalette::Highlight);
        // the blank of "line 35", selected, and a blank behind the text, not selected
        const qreal advance = QFontMetricsF(console->font()).horizontalAdvance('X');
        const int y = console->contentsRect().top() + 1 + console->LineHeight() / 2;
        const int x = console->contentsRect().left() + 1;
        QCOMPARE(image.pixelColor(x + int(4.5 * advance), y), highlight);
        QCOMPARE(image.pixelColor(x + int(10.5 * advance), y), console->palette().color(QPalette::Base));
    }

    void saveTextWritesHistoryAndScreen()
    {
        auto console = Shown();
        QVERIFY(console);
        console->SetHistoryLimit(3);
        console->WriteText("last");
        QTemporaryDir dir;
        const QString name = dir.filePath("console.txt");
        console->SaveText(name);
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("line 32\r\nline 33\r\nline 34\r\nline 35\r\nline 36\r\nline 37\r\n"
                            "line 38\r\nline 39\r\nlast\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"console.txt"});
    }

    void saveToAFolderThatCannotBeWrittenSaysSoAndLeavesNoFile_data()
    {
        QTest::addColumn<QString>("folder"); // relative to a temporary folder, or absolute
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("missingFolder") << "missing" << false;
        QTest::newRow("readOnlyFolder") << "locked" << true;
        QTest::newRow("systemFolder") << "/proc" << false;
    }

    void saveToAFolderThatCannotBeWrittenSaysSoAndLeavesNoFile()
    {
        QFETCH(QString, folder);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(folder);
        if (readOnly) {
            QVERIFY(QDir(dir.path()).mkdir(folder));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        }
        TMcuConsole console;
        console.WriteText("text");
        const QString name = path + "/console.txt";
        // Root writes into read-only folders: the save is tried as "nobody".
        TChildSetup setup;
        setup.asNobody = readOnly;
        setup.givenToNobody = {dir.path()};
        const TChildResult result =
            RunInChild(setup, [&] { return SaveRefused(name, [&] { console.SaveText(name); }); });
        if (result.status == TChildResult::Unavailable)
            QSKIP(result.message.c_str());
        QVERIFY2(result.status == TChildResult::Passed, result.message.c_str());
        QVERIFY(!QFile::exists(name));
        if (readOnly) {
            QCOMPARE(QDir(path).entryList(QDir::Files | QDir::Hidden), QStringList());
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
};

QTEST_MAIN(TestConsoleHistory)
#include "test_console_history.moc"
