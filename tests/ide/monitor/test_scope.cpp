// The scope view: pixels of the rendered picture where drawing matters
// (frame, grid, curves, brackets, read-out boxes, the inverted cursor),
// hostile values and sizes, the repaint throttle under a flood, pause,
// export and the saved picture.
#include "../support/ChildCheck.h"
#include "../support/RefusedSave.h"
#include "Errors.h"
#include "Scope.h"
#include "ThickPolyline.h"
#include "model/ScopeTestClock.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <memory>
#include <unistd.h>

namespace {

// A polygon from its points (a braced list alone could also name a rectangle).
QPolygon Points(std::initializer_list<QPoint> points)
{
    return QPolygon(QList<QPoint>(points));
}

const QColor kChannelColors[] = {{240, 0, 255}, {250, 170, 0}, {0, 200, 255}, {130, 205, 130}};
const QColor kFrame(120, 120, 120);
const QColor kGrid(220, 220, 220);
const QColor kCursor(150, 150, 150);
const QColor kWhite(255, 255, 255);
// The cursor line over white: white inverted with the cursor colour.
const QColor kCursorOnWhite(255 ^ 150, 255 ^ 150, 255 ^ 150);
constexpr float kFloatMax = std::numeric_limits<float>::max();

QColor At(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Whether the colour appears within d pixels of (x, y).
bool Near(const QImage &image, int x, int y, const QColor &color, int d = 1)
{
    for (int dy = -d; dy <= d; ++dy)
        for (int dx = -d; dx <= d; ++dx)
            if (image.rect().contains(x + dx, y + dy) && At(image, x + dx, y + dy) == color)
                return true;
    return false;
}

int Count(const QImage &image, const QColor &color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += At(image, x, y) == color ? 1 : 0;
    return n;
}

void MoveMouse(QWidget &widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

} // namespace

class TestScope : public QObject {
    Q_OBJECT

    TManualClock m_clock;
    TRepaintThrottle m_throttle;

    // A scope 620 x 230: its plot is 400 pixels wide.
    std::unique_ptr<TMcuScope> MakeScope(QSize size = QSize(620, 230))
    {
        m_throttle = TRepaintThrottle();
        auto scope = std::make_unique<TMcuScope>(nullptr, m_clock.Clock(), &m_throttle);
        scope->resize(size);
        return scope;
    }

    // Samples at the given milliseconds after the clear.
    void Feed(TMcuScope &scope, int channel, std::initializer_list<std::pair<qint64, float>> samples)
    {
        for (const auto &[at, value] : samples) {
            m_clock.now = scope.Model().StartTick() + at;
            scope.AddSample(channel, value);
        }
    }

private slots:
    void init()
    {
        m_clock.now = 1000;
    }

    void thickPolylineCoversATwoPixelPenPath_data()
    {
        QTest::addColumn<QPolygon>("line");
        QTest::addColumn<QPolygon>("covered");
        QTest::addColumn<QPolygon>("clear");
        QTest::newRow("horizontal") << Points({{10, 10}, {14, 10}}) << Points({{9, 9}, {14, 10}, {12, 9}})
                                    << Points({{15, 10}, {12, 11}, {12, 8}, {8, 10}});
        QTest::newRow("vertical") << Points({{10, 10}, {10, 14}}) << Points({{9, 9}, {10, 14}, {9, 12}})
                                  << Points({{11, 12}, {8, 12}, {10, 15}});
        QTest::newRow("diagonalWithJoin")
            << Points({{2, 2}, {6, 6}, {10, 2}}) << Points({{4, 4}, {3, 4}, {6, 6}, {5, 5}, {8, 4}, {9, 2}})
            << Points({{6, 3}, {2, 6}, {6, 8}});
        // From far outside across the image: only the visible part is walked.
        QTest::newRow("farPoints") << Points({{-1048576, 5}, {1048576, 5}, {1048576, -1048576}})
                                   << Points({{0, 4}, {29, 5}}) << Points({{15, 6}, {15, 3}});
        QTest::newRow("outside") << Points({{-100, -100}, {-50, -50}}) << QPolygon() << Points({{0, 0}});
        QTest::newRow("onePoint") << Points({{5, 5}}) << QPolygon() << Points({{5, 5}, {4, 4}});
    }

    void thickPolylineCoversATwoPixelPenPath()
    {
        QFETCH(QPolygon, line);
        QFETCH(QPolygon, covered);
        QFETCH(QPolygon, clear);
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(kWhite);
        DrawThickPolyline(image, line, kChannelColors[0].rgb(), 2);
        for (const QPoint &p : covered)
            QVERIFY2(At(image, p.x(), p.y()) == kChannelColors[0], qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint &p : clear)
            QVERIFY2(At(image, p.x(), p.y()) == kWhite, qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    }

    void framesTheGridAndTheScale()
    {
        auto scope = MakeScope();
        const QImage p = scope->Picture();
        const TScopeRect r = scope->Layout().plot;
        const TScopeRect s = scope->Layout().scale;
        QCOMPARE(At(p, r.left, r.top), kFrame);
        QCOMPARE(At(p, r.right - 1, r.bottom - 1), kFrame);
        QCOMPARE(At(p, r.right, r.top + 10), kWhite);
        QCOMPARE(At(p, r.left + r.Width() / 20, r.top + 2), kGrid);
        QCOMPARE(At(p, r.left + r.Width() / 20, r.top + 3), kWhite);
        QCOMPARE(At(p, r.left + 2, r.top + r.Height() / 10), kGrid);
        QCOMPARE(At(p, r.left + 7, r.top + 7), kWhite);
        QCOMPARE(At(p, s.right - 5, (s.top + s.bottom) / 2), kFrame); // outer bracket
        QVERIFY(Count(p, kChannelColors[0]) > 0); // scale labels of channel 0
    }

    void curvesFollowTheirScale_data()
    {
        QTest::addColumn<bool>("autoScale");
        QTest::addColumn<float>("min");
        QTest::addColumn<float>("max");
        QTest::addColumn<int>("row"); // 0: bottom of the curve area, 2: middle, 4: top
        QTest::newRow("autoTop") << true << 0.f << 1.f << 4;
        QTest::newRow("fixedMiddle") << false << 0.f << 20.f << 2;
        QTest::newRow("minEqualsMaxAlongTheBottom") << false << 3.f << 3.f << 0;
        QTest::newRow("minAboveMaxAlongTheBottom") << false << 30.f << 1.f << 0;
    }

    void curvesFollowTheirScale()
    {
        QFETCH(bool, autoScale);
        QFETCH(float, min);
        QFETCH(float, max);
        QFETCH(int, row);
        auto scope = MakeScope();
        TMcuChannel &c = scope->Model().Channel(1);
        c.SetAutoScale(autoScale);
        c.SetMin(min);
        c.SetMax(max);
        Feed(*scope, 1, {{0, 10}, {10000, 10}, {20000, 10}});
        const QImage p = scope->Picture();
        const TScopeRect a = scope->Layout().plot.Shrunk(2);
        const int y = a.bottom - row * a.Height() / 4;
        for (int x : {a.left + 10, a.left + a.Width() / 2, a.right - 10})
            QVERIFY2(Near(p, x, y, kChannelColors[1]), qPrintable(QString("x %1 y %2").arg(x).arg(y)));
        // Nowhere else: the row a quarter of the height away is clear.
        const int other = row == 0 ? a.bottom - a.Height() / 4 : y + a.Height() / 4;
        QVERIFY(!Near(p, a.left + a.Width() / 2, other, kChannelColors[1], 2));
    }

    void inactiveChannelsLeaveNoTraceAndBoxesMoveUp_data()
    {
        QTest::addColumn<QList<bool>>("active");
        QTest::addColumn<QList<int>>("boxes"); // channel shown in each slot below the time box, -1: none
        QTest::newRow("all") << QList<bool>{true, true, true, true} << QList<int>{0, 1, 2, 3};
        QTest::newRow("withoutOne") << QList<bool>{true, false, true, true} << QList<int>{0, 2, 3, -1};
        QTest::newRow("onlyThree") << QList<bool>{false, false, false, true} << QList<int>{3, -1, -1, -1};
        QTest::newRow("none") << QList<bool>{false, false, false, false} << QList<int>{-1, -1, -1, -1};
    }

    void inactiveChannelsLeaveNoTraceAndBoxesMoveUp()
    {
        QFETCH(QList<bool>, active);
        QFETCH(QList<int>, boxes);
        auto scope = MakeScope();
        for (int i = 0; i < 4; ++i) {
            scope->Model().Channel(i).SetActive(active[i]);
            Feed(*scope, i, {{100, float(i)}, {5000, float(i + 1)}});
        }
        MoveMouse(*scope, QPoint(scope->Layout().plot.left + 100, 50));
        const QImage p = scope->Picture();
        const int boxX = scope->width() - 100;
        QCOMPARE(At(p, boxX, 6), kCursor);
        for (int slot = 0; slot < 4; ++slot) {
            const QColor expected = boxes[slot] < 0 ? kWhite : kChannelColors[boxes[slot]];
            QCOMPARE(At(p, boxX, 26 + 20 * slot), expected);
        }
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Count(p, kChannelColors[i]) > 0, bool(active[i]));
        // The second bracket only for channel 2 or 3.
        const TScopeRect s = scope->Layout().scale;
        QCOMPARE(At(p, (s.left + s.right) / 2, (s.top + s.bottom) / 2) == kFrame, active[2] || active[3]);
    }

    void cursorIsInvertedAndReadsUnderTheMouse()
    {
        auto scope = MakeScope();
        Feed(*scope, 0, {{1000, 2.5f}, {2000, 7}});
        scope->show();
        QVERIFY(QTest::qWaitForWindowExposed(scope.get()));
        const QImage before = scope->grab().toImage();
        const int renders = scope->RenderCount();
        const TScopeRect r = scope->Layout().plot;
        const int first = r.left + 30; // 20000 * 30 / 400 = 1500 ms
        const int second = r.left + 61;
        const int y = r.top + 7;
        MoveMouse(*scope, QPoint(first, 50));
        QCOMPARE(scope->CursorX(), first);
        QCOMPARE(scope->CursorReadout().time, QStringLiteral("1.500 [sec]"));
        QCOMPARE(scope->CursorReadout().values[0], QStringLiteral("2.5"));
        QCOMPARE(scope->CursorReadout().values[1], QStringLiteral("0"));
        QImage now = scope->grab().toImage();
        QCOMPARE(At(now, first, y), kCursorOnWhite);
        MoveMouse(*scope, QPoint(second, 50));
        now = scope->grab().toImage();
        QCOMPARE(At(now, second, y), kCursorOnWhite);
        for (int row = r.top; row < r.bottom; ++row) // the old line is gone without a trace
            QCOMPARE(At(now, first, row), At(before, first, row));
        QCOMPARE(scope->CursorReadout().time, QStringLiteral("3.050 [sec]"));
        QCOMPARE(scope->RenderCount(), renders); // moved by inverting, not by repainting
        // Leaving the plot leaves the cursor where it was.
        MoveMouse(*scope, QPoint(r.right + 20, 50));
        QCOMPARE(scope->CursorX(), second);
    }

    void hostileValuesAndSizesDrawWithoutFault_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<float>("value");
        for (const QSize size : {QSize(1, 1), QSize(1, 41), QSize(222, 41), QSize(633, 1), QSize(633, 230)}) {
            const QString name = QString("%1x%2").arg(size.width()).arg(size.height());
            QTest::newRow(qPrintable(name + "/huge")) << size << kFloatMax;
            QTest::newRow(qPrintable(name + "/hugeNegative")) << size << -kFloatMax;
            QTest::newRow(qPrintable(name + "/tiny")) << size << std::numeric_limits<float>::denorm_min();
            QTest::newRow(qPrintable(name + "/infinite")) << size << std::numeric_limits<float>::infinity();
        }
    }

    void hostileValuesAndSizesDrawWithoutFault()
    {
        QFETCH(QSize, size);
        QFETCH(float, value);
        auto scope = MakeScope(size);
        scope->Model().Channel(3).SetAutoScale(false); // fixed 0 ... 1: points far outside; drawn last
        for (int i = 0; i < 4; ++i)
            Feed(*scope, i, {{10, value}, {20, -value}, {30, 0}, {40, value}});
        MoveMouse(*scope, QPoint(size.width() / 2, size.height() / 2));
        const QImage p = scope->Picture();
        QCOMPARE(p.size(), size);
        if (size.width() >= 633 && size.height() >= 230) {
            const TScopeRect a = scope->Layout().plot.Shrunk(2);
            QVERIFY(Near(p, a.left + a.Width() * 30 / 20000, a.bottom, kChannelColors[3], 2));
        }
    }

    void longestTimeBaseKeepsLateSamplesAtTheRight()
    {
        auto scope = MakeScope();
        m_clock.now += 100000000; // more than a day
        scope->SetTimeBase(3600000, QStringLiteral("1 h / div"));
        Feed(*scope, 3, {{99000000, 0}, {100000000, 1}});
        const TScopeRect a = scope->Layout().plot.Shrunk(2);
        QVERIFY(Near(scope->Picture(), a.right, a.top, kChannelColors[3], 2));
    }

    void aFloodRepaintsAtMostEveryFiftyMillisecondsAndEndsWithTheLastSample()
    {
        auto scope = MakeScope();
        scope->show();
        QVERIFY(QTest::qWaitForWindowExposed(scope.get()));
        const int before = scope->RenderCount();
        for (int ms = 0; ms < 1000; ++ms) { // one second at 4,000 samples per second
            ++m_clock.now;
            for (int i = 0; i < 4; ++i)
                scope->AddSample(i, float(ms % 100));
            QCoreApplication::processEvents();
        }
        QVERIFY(scope->RenderCount() - before <= 21);
        QVERIFY(scope->RenderCount() - before >= 10);
        // A last sample inside the interval still reaches the picture.
        const int afterFlood = scope->RenderCount();
        ++m_clock.now;
        scope->AddSample(0, 50);
        m_clock.now += 60;
        QTRY_VERIFY(scope->RenderCount() > afterFlood);
    }

    void pauseFreezesThePictureWhileSamplesAreStored()
    {
        auto scope = MakeScope();
        scope->show();
        QVERIFY(QTest::qWaitForWindowExposed(scope.get()));
        Feed(*scope, 0, {{0, 1}, {1000, 3}});
        QSignalSpy paused(scope.get(), &TMcuScope::PausedChanged);
        scope->SetPaused(true);
        const int x = scope->Layout().plot.left + 100; // 5000 ms
        MoveMouse(*scope, QPoint(x, 50));
        scope->grab();
        QCOMPARE(scope->CursorReadout().values[0], QStringLiteral("3"));
        const QImage frozen = scope->Picture();
        Feed(*scope, 0, {{2000, 9}, {30000, -4}});
        QCOMPARE(scope->Model().Channel(0).SampleCount(), 4);
        QCOMPARE(scope->Picture(), frozen);
        MoveMouse(*scope, QPoint(x + 1, 50));
        MoveMouse(*scope, QPoint(x, 50));
        QCOMPARE(scope->CursorReadout().values[0], QStringLiteral("3"));
        scope->SetPaused(false);
        QCOMPARE(paused.count(), 2);
        QCOMPARE(scope->Shown().WindowStart(), m_clock.now - 20000); // back at the present
        QVERIFY(scope->Picture() != frozen);
    }

    // Paused, the view shows a mark over the picture; the picture itself (as
    // saved) has none, and the mark goes with the pause.
    void pauseIsMarkedOnScreen()
    {
        auto scope = MakeScope();
        scope->show();
        QVERIFY(QTest::qWaitForWindowExposed(scope.get()));
        Feed(*scope, 0, {{0, 1}});
        const QImage running = scope->grab().toImage();
        const QImage picture = scope->Picture();
        scope->SetPaused(true);
        const QImage paused = scope->grab().toImage();
        QCOMPARE(scope->Picture(), picture); // what is saved has no mark
        QVERIFY(paused != running);
        // Only the plot's top left corner differs.
        const TScopeRect &plot = scope->Layout().plot;
        for (int y = 0; y < paused.height(); ++y)
            for (int x = 0; x < paused.width(); ++x)
                if (paused.pixel(x, y) != running.pixel(x, y))
                    QVERIFY2(x >= plot.left && x < plot.left + 120 && y >= plot.top && y < plot.top + 40,
                             qPrintable(QString("%1,%2").arg(x).arg(y)));
        scope->SetPaused(false);
        QCOMPARE(scope->grab().toImage(), running);
    }

    // The limits of channels 0 and 2 share the top line of the scale; wide
    // labels keep a gap between them instead of running together.
    void wideScaleLabelsStayApart_data()
    {
        QTest::addColumn<float>("outer"); // channel 0's Max
        QTest::addColumn<float>("inner"); // channel 2's Max
        QTest::addColumn<int>("width");
        QTest::newRow("short_labels") << 10.0f << 20.0f << 620;
        QTest::newRow("wide_labels") << 624.0f << 2000.0f << 620;
        QTest::newRow("huge_labels") << 1.0e30f << -3.0e38f << 620;
        QTest::newRow("five_digit_labels_narrow_scope") << 62400.0f << 200000.0f << 300;
    }

    void wideScaleLabelsStayApart()
    {
        QFETCH(float, outer);
        QFETCH(float, inner);
        QFETCH(int, width);
        auto scope = MakeScope(QSize(width, 230));
        for (int i = 0; i < 4; ++i)
            scope->Model().Channel(i).SetActive(true);
        scope->Model().Channel(0).SetMax(outer);
        scope->Model().Channel(2).SetMax(inner);
        const QImage picture = scope->Picture();
        const TScopeRect &s = scope->Layout().scale;
        const int top = s.top;
        const int bottom = s.top + scope->Layout().textHeight;
        int innerRight = -1;
        int outerLeft = picture.width();
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < s.right; ++x) {
                if (At(picture, x, y) == kChannelColors[2])
                    innerRight = std::max(innerRight, x);
                if (At(picture, x, y) == kChannelColors[0])
                    outerLeft = std::min(outerLeft, x);
            }
        QVERIFY2(innerRight >= 0 && outerLeft < picture.width(), "both labels are drawn");
        QVERIFY2(outerLeft - innerRight > 2, qPrintable(QString("%1 %2").arg(innerRight).arg(outerLeft)));
    }

    void exportWritesTheStoredSamples()
    {
        QTemporaryDir dir;
        auto scope = MakeScope();
        Feed(*scope, 0, {{5, 1.25f}});
        Feed(*scope, 3, {{7, -2}});
        scope->SetPaused(true); // stored samples, not the picture
        Feed(*scope, 1, {{9, 1e-3f}});
        const QString name = dir.filePath("samples.csv");
        scope->ExportSamples(name);
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("time_ms,channel,value\n5,0,1.25\n7,3,-2\n9,1,0.001\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"samples.csv"});
    }

    void exportToAFolderThatCannotBeWrittenSaysSoAndLeavesNoFile_data()
    {
        QTest::addColumn<QString>("folder"); // relative to a temporary folder, or absolute
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("missingFolder") << "missing" << false;
        QTest::newRow("readOnlyFolder") << "locked" << true;
        QTest::newRow("systemFolder") << "/proc" << false;
    }

    void exportToAFolderThatCannotBeWrittenSaysSoAndLeavesNoFile()
    {
        QFETCH(QString, folder);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(folder);
        if (readOnly) {
            QVERIFY(QDir(dir.path()).mkdir(folder));
            QFile old(path + "/samples.csv");
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old data\n");
            old.close();
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        }
        auto scope = MakeScope();
        Feed(*scope, 0, {{5, 1}});
        const QString name = path + "/samples.csv";
        // Root writes into read-only folders: the export is tried as "nobody".
        TChildSetup setup;
        setup.asNobody = readOnly;
        setup.givenToNobody = {dir.path()};
        const TChildResult result =
            RunInChild(setup, [&] { return SaveRefused(name, [&] { scope->ExportSamples(name); }); });
        if (result.status == TChildResult::Unavailable)
            QSKIP(result.message.c_str());
        QVERIFY2(result.status == TChildResult::Passed, result.message.c_str());
        if (readOnly) {
            QFile old(name);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("old data\n"));
            QCOMPARE(QDir(path).entryList(QDir::Files | QDir::Hidden), QStringList{"samples.csv"});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else {
            QVERIFY(!QFile::exists(name));
        }
    }

    void savesThePictureAsPng()
    {
        QTemporaryDir dir;
        auto scope = MakeScope();
        Feed(*scope, 2, {{0, 0}, {20000, 1}});
        const QString name = dir.filePath("scope.png");
        scope->SavePicture(name);
        QImage saved;
        QVERIFY(saved.load(name, "PNG"));
        QCOMPARE(saved.size(), scope->size());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), scope->Picture());
    }
};

QTEST_MAIN(TestScope)
#include "test_scope.moc"
