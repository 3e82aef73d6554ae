#include "ColorListBox.h"

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

// What the list asked its owner to open, and the errors it showed.
struct TJumps {
    QStringList files;
    QList<int> lines;
    QStringList errors;

    void Attach(TColorListBox &list)
    {
        list.OnJumpToLine = [this](TColorListBox *, const QString &file, int line) {
            files.append(file);
            lines.append(line);
        };
        list.OnError = [this](const QString &message) { errors.append(message); };
    }
};

class TestColorListBox : public QObject {
    Q_OBJECT

private:
    static QPoint CenterOf(TColorListBox &list, int row)
    {
        return list.visualItemRect(list.item(row)).center();
    }

    static void Select(TColorListBox &list, int row)
    {
        list.setCurrentRow(row);
    }

private slots:
    void ItemHeightIsTextHeightPlusTwo()
    {
        TColorListBox list;
        list.AddLine("/p/a.bas(1): x");
        list.resize(300, 200);
        list.show();
        QCOMPARE(list.visualItemRect(list.item(0)).height(), list.fontMetrics().height() + 2);
        QFont big = list.font();
        big.setPointSize(big.pointSize() * 3);
        list.setFont(big);
        QCOMPARE(list.visualItemRect(list.item(0)).height(), QFontMetrics(big).height() + 2);
    }

    void JumpOnDoubleClickOrEnter_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("useEnter");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("lineNumber");
        QTest::addColumn<bool>("ordinary");
        QTest::addColumn<QString>("error");
        const QString diag = "/home/ann/prog.bas(12): Syntax error.";
        QTest::newRow("diagnostic, double-click") << diag << false << "/home/ann/prog.bas" << 12 << false << "";
        QTest::newRow("diagnostic, Enter") << diag << true << "/home/ann/prog.bas" << 12 << false << "";
        QTest::newRow("file line") << "  >> /home/ann/prog.bas" << false << "" << 0 << true << "";
        QTest::newRow("folder with parenthesis") << "/p/old (2)/a.bas(5): Syntax error." << false << "" << 0 << false
                                                 << "'2)/a.bas(5' is not a valid integer value.";
    }
    void JumpOnDoubleClickOrEnter()
    {
        QFETCH(QString, line);
        QFETCH(bool, useEnter);
        QFETCH(QString, file);
        QFETCH(int, lineNumber);
        QFETCH(bool, ordinary);
        QFETCH(QString, error);
        TColorListBox list;
        TJumps jumps;
        jumps.Attach(list);
        QSignalSpy plain(&list, &TColorListBox::DoubleClicked);
        list.SetLines({"Compiling...", line});
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        if (useEnter) {
            Select(list, 1);
            QTest::keyClick(&list, Qt::Key_Return);
        } else {
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CenterOf(list, 1));
        }
        QCOMPARE(jumps.files, file.isEmpty() ? QStringList() : QStringList({file}));
        QCOMPARE(jumps.lines, file.isEmpty() ? QList<int>() : QList<int>({lineNumber}));
        QCOMPARE(plain.count(), ordinary ? 1 : 0);
        QCOMPARE(jumps.errors, error.isEmpty() ? QStringList() : QStringList({error}));
    }

    void OnlyTheLeftButtonJumps_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("jumps");
        QTest::newRow("left") << int(Qt::LeftButton) << 1;
        QTest::newRow("right") << int(Qt::RightButton) << 0;
        QTest::newRow("middle") << int(Qt::MiddleButton) << 0;
    }
    void OnlyTheLeftButtonJumps()
    {
        QFETCH(int, button);
        QFETCH(int, jumps);
        TColorListBox list;
        TJumps seen;
        seen.Attach(list);
        list.SetLines({"/p/a.bas(3): Syntax error."});
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setCurrentRow(0);
        QTest::mouseDClick(list.viewport(), Qt::MouseButton(button), {}, CenterOf(list, 0));
        QCOMPARE(seen.lines.size(), jumps);
    }

    void NothingSelectedDoesNothing()
    {
        TColorListBox list;
        TJumps jumps;
        jumps.Attach(list);
        QSignalSpy plain(&list, &TColorListBox::DoubleClicked);
        list.SetLines({"/p/a.bas(3): x"});
        list.clearSelection();
        list.DblClick();
        QVERIFY(jumps.files.isEmpty());
        QCOMPARE(plain.count(), 0);
    }

    void WheelScrollsOneLinePerMessage()
    {
        TColorListBox list;
        for (int i = 0; i < 100; ++i)
            list.AddLine(QString::number(i));
        list.resize(200, 100);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QScrollBar *bar = list.verticalScrollBar();
        bar->setValue(50);
        const struct {
            int delta;
            int expected;
        } steps[] = {{120, 49}, {-120, 50}, {0, 51}, {960, 50}, {-1, 51}};
        for (const auto &step : steps) {
            const QPoint pos = list.viewport()->rect().center();
            QWheelEvent wheel(pos, list.viewport()->mapToGlobal(pos), {}, QPoint(0, step.delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list.viewport(), &wheel);
            QCOMPARE(bar->value(), step.expected);
        }
    }

    // Backgrounds by line kind, sampled at the right end of each item, and
    // the red text of an unselected diagnostic.
    void DrawsColoursByLineKind()
    {
        TColorListBox list;
        list.SetLines({"/p/a.bas(3): Syntax error.", "/p/a.bas(4): Syntax error.", "Compiling..."});
        list.resize(300, 120);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        Select(list, 1);
        QImage selectedError = list.viewport()->grab().toImage();
        Select(list, 2);
        QImage selectedOther = list.viewport()->grab().toImage();
        const auto sample = [&](const QImage &image, int row) {
            const QRect r = list.visualItemRect(list.item(row));
            return QColor(image.pixel(r.right() - 3, r.center().y()));
        };
        QCOMPARE(sample(selectedError, 1), QColor(255, 0, 0));
        QCOMPARE(sample(selectedOther, 2), QColor(120, 120, 120));
        QCOMPARE(sample(selectedOther, 1), list.palette().color(QPalette::Base));
        bool redText = false;
        const QRect r0 = list.visualItemRect(list.item(0));
        for (int x = r0.left(); x < r0.left() + 80; ++x)
            for (int y = r0.top(); y <= r0.bottom(); ++y)
                redText |= QColor(selectedOther.pixel(x, y)) == QColor(255, 0, 0);
        QVERIFY(redText);
    }
};

QTEST_MAIN(TestColorListBox)
#include "test_colorlistbox.moc"
