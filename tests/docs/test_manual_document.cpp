// The laid-out manual: every chapter starts on a page of its own, the
// contents and the index give the pages the headings are really on, and the
// PDF is written whole or not at all.
#include "ManualDocument.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestManualDocument : public QObject {
    Q_OBJECT

private:
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
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(150);
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
        QVERIFY(buffer.data().startsWith("%PDF-"));
        QCOMPARE(buffer.data().count("/Type /Page\n"), pages[7]);
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
