// The laid-out manual: every chapter starts on a page of its own, the
// contents and the index give the pages the headings are really on, a
// picture fits the text's width and stays on one page with its caption, and
// the PDF is written whole or not at all.
#include "ManualDocument.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// A caption of four lines or so.
const QString kLongCaption = QStringLiteral("The window while the program is stopped at its breakpoint, ").repeated(7);

// A PDF in memory at 150 dots per inch, without page margins: the page's
// measures are the layout's own.
struct TPdfTarget {
    TPdfTarget()
        : writer(&buffer)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(150);
    }
    QBuffer buffer;
    QPdfWriter writer;
};

class TestManualDocument : public QObject {
    Q_OBJECT

private:
    // A manual with one picture of the given size after some paragraphs,
    // its image in the folder `dir`.
    static TExpandedManual FigureManual(const QTemporaryDir &dir, QSize size, int paragraphs,
                                        const QString &caption = QStringLiteral("The window"))
    {
        QDir(dir.path()).mkpath(QStringLiteral("images"));
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(dir.filePath(QStringLiteral("images/shot.png")));
        QString chapter = QStringLiteral("# Pictures\n");
        for (int i = 0; i < paragraphs; ++i)
            chapter += QStringLiteral("A paragraph of text that comes before the picture, %1.\n\n").arg(i);
        chapter += QStringLiteral("![%1](images/shot.png)\n\nThe end.\n").arg(caption);
        TExpandedManual manual;
        QStringList errors;
        if (!ExpandManual({TChapterFile{dir.filePath(QStringLiteral("p.md")), chapter}}, manual, errors))
            qWarning() << errors;
        return manual;
    }

    static TExpandedManual Manual()
    {
        QString chapters = QStringLiteral("# Short\nOne paragraph.\n\n{{entry CLS}}\n\n# Long\n");
        for (int i = 0; i < 150; ++i)
            chapters += QStringLiteral("A paragraph of text that fills the pages of the long chapter.\n\n");
        chapters += QStringLiteral("## Late section\n\n{{entry PAUSE}}\n\n# Last\nThe end.\n");
        TExpandedManual manual;
        QStringList errors;
        if (!ExpandManual({TChapterFile{QStringLiteral("m.md"), chapters}}, manual, errors))
            qWarning() << errors;
        return manual;
    }

private slots:
    void headingsAndTheirPages()
    {
        const TExpandedManual manual = Manual();
        TPdfTarget pdf;
        QPdfWriter &writer = pdf.writer;
        TManualDocument document(manual, TManualInfo{QStringLiteral("Title"), QStringLiteral("Sub"), QImage()});
        QString error;
        QVERIFY2(document.Layout(writer, error), qPrintable(error));

        // Contents, "1 Short", "CLS", "2 Long", "2.1 Late section", "PAUSE", "3 Last", Index.
        const QList<int> pages = document.HeadingPages();
        QCOMPARE(pages.size(), 8);
        QCOMPARE(pages[0], 2); // after the title page
        QCOMPARE(pages[1], 3);
        QCOMPARE(pages[2], 3); // the entry stays in its chapter
        QCOMPARE(pages[3], 4); // a chapter starts a page
        QVERIFY(pages[4] > pages[3] + 1); // the long chapter spans pages
        QVERIFY(pages[5] >= pages[4]);
        QCOMPARE(pages[6], pages[5] + 1);
        QCOMPARE(pages[7], pages[6] + 1);
        QCOMPARE(document.PageCount(), pages[7]);

        const QString text = document.PlainText();
        const QStringList expected = {
            QStringLiteral("1 Short\n%1\n").arg(pages[1]),
            QStringLiteral("2 Long\n%1\n").arg(pages[3]),
            QStringLiteral("2.1 Late section\n%1\n").arg(pages[4]),
            QStringLiteral("3 Last\n%1\n").arg(pages[6]),
            QStringLiteral("Index\n%1\n").arg(pages[7]),
            QStringLiteral("CLS\n%1 ").arg(pages[2]),
            QStringLiteral("PAUSE\n%1 ").arg(pages[5]),
        };
        for (const QString &part : expected)
            QVERIFY2(text.contains(part), qPrintable(part));

        QPainter painter(&writer);
        document.Paint(painter, writer);
        painter.end();
        QVERIFY(pdf.buffer.data().startsWith("%PDF-"));
        QCOMPARE(pdf.buffer.data().count("/Type /Page\n"), pages[7]);
    }

    // Sizes in millimetres on an A4 page, whose text is 168 mm wide and
    // 251 mm high; an image's pixel is one of a 96 dpi screen at most.
    void figureSize_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSizeF>("printed");
        QTest::newRow("small: as on the screen") << QSize(378, 189) << QSizeF(100, 50);
        QTest::newRow("wide: the text's width") << QSize(3000, 1000) << QSizeF(168, 56);
        QTest::newRow("tall: 0.6 of the text's height") << QSize(300, 3000) << QSizeF(15.06, 150.6);
    }

    void figureSize()
    {
        QFETCH(QSize, pixels);
        QFETCH(QSizeF, printed);
        QTemporaryDir dir;
        TPdfTarget pdf;
        QPdfWriter &writer = pdf.writer;
        TManualDocument document(FigureManual(dir, pixels, 1), TManualInfo{QStringLiteral("T"), QString(), QImage()});
        QString error;
        QVERIFY2(document.Layout(writer, error), qPrintable(error));
        const QList<TManualDocument::TFigureBox> boxes = document.FigureBoxes();
        QCOMPARE(boxes.size(), 1);
        const qreal mm = 150 / 25.4;
        QVERIFY2(qAbs(boxes[0].image.width() / mm - printed.width()) < 0.5,
                 qPrintable(QString::number(boxes[0].image.width() / mm)));
        QVERIFY2(qAbs(boxes[0].image.height() / mm - printed.height()) < 0.5,
                 qPrintable(QString::number(boxes[0].image.height() / mm)));
        QVERIFY(qAbs(boxes[0].image.center().x() / mm - (22 + 168 / 2.0)) < 0.5); // centred in the text
        QVERIFY(boxes[0].caption.top() >= boxes[0].image.bottom());
        QVERIFY(document.PlainText().contains(QStringLiteral("\n[Figure 1.1: The window]\nThe end.")));
    }

    // Wherever the text before it ends, the picture and its caption (of
    // several lines) are on one page: the picture's bottom goes past the foot
    // of a page in steps smaller than a line.
    void figureStaysOnOnePage()
    {
        QTemporaryDir dir;
        TPdfTarget pdf;
        QPdfWriter &writer = pdf.writer;
        QSet<int> pages;
        for (int paragraphs = 50; paragraphs <= 60; paragraphs += 2) {
            for (int height = 700; height < 800; height += 4) {
                TManualDocument document(FigureManual(dir, QSize(900, height), paragraphs, kLongCaption),
                                         TManualInfo{QStringLiteral("T"), QString(), QImage()});
                QString error;
                QVERIFY2(document.Layout(writer, error), qPrintable(error));
                const QList<TManualDocument::TFigureBox> boxes = document.FigureBoxes();
                QCOMPARE(boxes.size(), 1);
                const int page = int(boxes[0].image.top() / writer.height());
                QVERIFY2(page == int(boxes[0].caption.bottom() / writer.height()),
                         qPrintable(QStringLiteral("%1 paragraphs, %2 pixels").arg(paragraphs).arg(height)));
                pages << page;
            }
        }
        QVERIFY(pages.size() > 1); // some of the pictures did move to the next page
    }

    void unwritableFileLeavesNothing()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("missing/Velmo.pdf"));
        QString error;
        QVERIFY(!WriteManual(Manual(), TManualInfo{QStringLiteral("T"), QString(), QImage()}, pdf, QString(), error));
        QVERIFY(error.contains(QStringLiteral("missing/Velmo.pdf")));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void writesThePdfAndItsText()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("Velmo.pdf"));
        const QString txt = dir.filePath(QStringLiteral("Velmo.txt"));
        QString error;
        QVERIFY2(WriteManual(Manual(), TManualInfo{QStringLiteral("T"), QString(), QImage()}, pdf, txt, error),
                 qPrintable(error));
        QFile text(txt);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(text.readAll()).contains(QStringLiteral("The end.")));
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }
};

QTEST_MAIN(TestManualDocument)
#include "test_manual_document.moc"
