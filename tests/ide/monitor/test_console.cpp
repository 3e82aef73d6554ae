// The console widget: typed keys with echo and CR/LF expansion, drawing of
// the screen lines, partial redraws and scrolling by moving pixels, and the
// warning for a log file that cannot be opened.

#include "DialogHooks.h"
#include "MsgDlg.h"
#include "Terminal.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

class TestConsole : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

private:
    // Rows of the console's picture that hold text-coloured pixels, the
    // text cursor at the left edge left out.
    static QList<int> InkedRows(TMcuConsole &console)
    {
        QImage image(console.size(), QImage::Format_RGB32);
        console.render(&image);
        QList<int> rows;
        const int lineHeight = console.LineHeight();
        for (int row = 0; row * lineHeight < image.height(); ++row) {
            bool inked = false;
            for (int y = row * lineHeight + 1; y < std::min(image.height(), (row + 1) * lineHeight + 1) && !inked; ++y)
                for (int x = 4; x < image.width() - 2 && !inked; ++x)
                    inked = image.pixelColor(x, y).blue() > 100 && image.pixelColor(x, y).red() < 100;
            if (inked)
                rows << row;
        }
        return rows;
    }

private slots:
    void typedKeys_data()
    {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("crlfOut");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << false << false << QByteArray("a\r") << QString();
        QTest::newRow("echo") << true << false << QByteArray("a\r") << QString("a");
        QTest::newRow("crlf_out") << false << true << QByteArray("a\r\n") << QString();
        QTest::newRow("echo_crlf_out") << true << true << QByteArray("a\r\n") << QString("a|");
    }

    void typedKeys()
    {
        QFETCH(bool, echo);
        QFETCH(bool, crlfOut);
        QFETCH(QByteArray, sent);
        QFETCH(QString, shown);
        TMcuConsole console;
        console.Echo = echo;
        console.CRLFOut = crlfOut;
        QByteArray keys;
        console.OnKey = [&](TMcuConsole *, char key) { keys.append(key); };
        QTest::keyClick(&console, Qt::Key_A);
        QTest::keyClick(&console, Qt::Key_Return);
        QTest::keyClick(&console, Qt::Key_Left); // claimed, sends nothing
        QCOMPARE(keys, sent);
        QStringList lines;
        for (const QByteArray &line : console.Screen().ScreenLines())
            lines << QString::fromLatin1(line).trimmed();
        if (shown.isEmpty())
            QCOMPARE(lines.join('|'), QString());
        else
            QCOMPARE(lines.join('|'), shown);
    }

    void tabStaysInTheConsole()
    {
        QWidget window;
        auto *console = new TMcuConsole(&window);
        auto *other = new TMcuConsole(&window);
        QByteArray keys;
        console->OnKey = [&](TMcuConsole *, char key) { keys.append(key); };
        window.show();
        console->setFocus();
        QTest::keyClick(console, Qt::Key_Tab);
        QCOMPARE(keys, QByteArray("\t"));
        QVERIFY(!other->hasFocus());
    }

    void drawsTheLinesInTheTextColour()
    {
        TMcuConsole console;
        console.resize(400, 10 * console.LineHeight());
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        console.WriteText("first\r\n\r\nthird\x05"); // text cursor off
        QCOMPARE(InkedRows(console), QList<int>({0, 2}));
        const QFont font = TMcuConsole::ConsoleFont();
        const QFontMetrics metrics(font); // fixed width, whatever the font reports of itself
        QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
        QCOMPARE(font.pointSize(), 9);
    }

    void scrollingKeepsTheNewestLinesInView()
    {
        TMcuConsole console;
        console.resize(400, 5 * console.LineHeight() + 4);
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        const int maxRow = console.Screen().MaxRow();
        QVERIFY(maxRow >= 2);
        for (int i = 0; i < 20; ++i)
            console.WriteText(QByteArray("line ") + QByteArray::number(i) + "\r\n");
        QCOMPARE(console.Screen().CursorRow(), maxRow);
        QCOMPARE(console.Screen().ScreenLines()[maxRow - 1].left(7), QByteArray("line 19"));
        QList<int> expected;
        for (int row = 0; row < maxRow; ++row)
            expected << row;
        QTRY_COMPARE(InkedRows(console), expected);
    }

    // A HEX line wider than the console gets a horizontal scroll bar; at its
    // end the bytes' characters are in view (a drag over the last columns
    // selects them), and the screen's rows fit above the bar. A console wide
    // enough, or in ASCII mode, has none.
    void hexLinesScrollSideways_data()
    {
        QTest::addColumn<int>("columns"); // the console's width in characters
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("bar");
        QTest::newRow("default_size_hex") << 58 << true << true;
        QTest::newRow("narrow_hex") << 30 << true << true;
        QTest::newRow("wide_hex") << 110 << true << false;
        QTest::newRow("default_size_ascii") << 58 << false << false;
    }

    void hexLinesScrollSideways()
    {
        QFETCH(int, columns);
        QFETCH(bool, hex);
        QFETCH(bool, bar);
        TMcuConsole console;
        const qreal advance = QFontMetricsF(console.font()).horizontalAdvance('M');
        console.resize(int(columns * advance) + 8, 8 * console.LineHeight());
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        console.SetHexMode(hex);
        console.WriteText(QByteArray(TConsoleScreen::kTrailingBlanks, 'M'));
        QCOMPARE(console.SideBar()->isVisible(), bar);
        const int barHeight = bar ? console.SideBar()->height() : 0;
        QVERIFY((console.Screen().MaxRow() + 1) * console.LineHeight() <= console.contentsRect().height() - barHeight);
        if (!hex)
            return;
        console.SideBar()->setValue(console.SideBar()->maximum());
        const int y = console.contentsRect().top() + console.LineHeight() / 2;
        const int right = console.contentsRect().right() - 2;
        const int from =
            bar ? right : console.contentsRect().left() + 1 + qRound(TMcuConsole::kHexLineColumns * advance);
        const int to = from - qRound(3 * advance);
        QTest::mousePress(&console, Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(&console, QPoint(to, y));
        QTest::mouseRelease(&console, Qt::LeftButton, {}, QPoint(to, y));
        QCOMPARE(console.CopyText(), QString("MMM"));
    }

    void unopenableLogFileWarns()
    {
        QStringList shown;
        m_hooks.messageDlg = [&](int kind, const QString &message, const QString &help, bool) {
            shown << QString("%1 %2 %3").arg(kind).arg(message, help);
            return int(mrOk);
        };
        TMcuConsole console;
        QTemporaryDir dir;
        console.SetLogFile(dir.filePath("missing/folder/a.log"));
        m_hooks.messageDlg = nullptr;
        QVERIFY(!console.Logging());
        QCOMPARE(shown, QStringList({"0 Can't open the selected file. Please check, if the file is already in use."}));
    }
};

QTEST_MAIN(TestConsole)
#include "test_console.moc"
