#include "Errors.h"
#include "Print.h"
#include "PrintJob.h"

#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString Run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch match = pages.match(Run("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfText(const QString &pdf, int page = 0)
{
    QStringList args{"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return Run("pdftotext", args << pdf << "-");
}

// Pixels of the first page whose red, green and blue differ clearly.
int ColouredPixels(const QString &pdf, const QString &dir)
{
    const QString prefix = dir + "/page";
    Run("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf, prefix});
    const QImage image(prefix + ".png");
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60)
                ++coloured;
        }
    }
    return image.isNull() ? -1 : coloured;
}

QString NumberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString("item%1 = %1").arg(i);
    return lines.join('\n');
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_tmp;

    QString Pdf(const char *name) const
    {
        return m_tmp.filePath(name);
    }

    void PrintToPdf(QsciScintilla &editor, const TPrintJobSettings &settings, const QString &pdf, int *pages = nullptr)
    {
        TEditorPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        PrintEditor(editor, settings, printer);
        if (pages)
            *pages = printer.LastPageCount();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        for (const char *tool : {"pdftotext", "pdfinfo", "pdftoppm", "pdffonts"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
    }

    void headerFooterAndPageCount()
    {
        QsciScintilla editor;
        editor.setText(NumberedLines(150));
        const QString pdf = Pdf("pages.pdf");
        int pages = 0;
        PrintToPdf(editor, MakePrintJobSettings("Prog.BAS", "/Work/Velmo/Prog.BAS", true, false, false), pdf, &pages);
        QVERIFY(pages >= 2);
        QCOMPARE(PdfPages(pdf), pages);
        const QString date = QDate::currentDate().toString(Qt::ISODate);
        for (int page = 1; page <= pages; ++page) {
            const QString text = PdfText(pdf, page);
            QVERIFY2(text.contains("Velmo"), qPrintable(text));
            QVERIFY(text.contains(date));
            QVERIFY(text.contains("/work/velmo/prog.bas"));
            QVERIFY(!text.contains("Prog.BAS"));
            QVERIFY(text.contains(QString("%1/%2").arg(page).arg(pages)));
            // Title left and date right on one line; file name left and
            // page of pages right on another.
            QVERIFY2(QRegularExpression("^\\s*Velmo\\s{2,}" + QRegularExpression::escape(date) + "\\s*$",
                                        QRegularExpression::MultilineOption)
                         .match(text)
                         .hasMatch(),
                     qPrintable(text));
            QVERIFY2(QRegularExpression(QString("^\\s*/work/velmo/prog\\.bas\\s{2,}%1/%2\\s*$").arg(page).arg(pages),
                                        QRegularExpression::MultilineOption)
                         .match(text)
                         .hasMatch(),
                     qPrintable(text));
        }
        const QString all = PdfText(pdf);
        QVERIFY(all.contains("item1 = 1"));
        QVERIFY(all.contains("item150 = 150"));
    }

    void selectedTextOnly_data()
    {
        QTest::addColumn<bool>("selectedOnly");
        QTest::addColumn<int>("endLine");
        QTest::addColumn<int>("endColumn");
        QTest::newRow("selection into a line") << true << 61 << 7;
        QTest::newRow("selection to a line start") << true << 62 << 0;
        QTest::newRow("whole text") << false << 61 << 7;
    }

    void selectedTextOnly()
    {
        QFETCH(bool, selectedOnly);
        QsciScintilla editor;
        editor.setText(NumberedLines(120));
        // The printer prints whole lines: from "em60" to "item62 " prints the
        // lines item60 to item62; a selection ending at the start of a line
        // leaves that line out.
        QFETCH(int, endLine);
        QFETCH(int, endColumn);
        editor.setSelection(59, 2, endLine, endColumn);
        const QString pdf = Pdf("selection.pdf");
        int pages = 0;
        PrintToPdf(editor, MakePrintJobSettings("a.bas", "/a.bas", true, false, selectedOnly), pdf, &pages);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains("item60 = 60"));
        QCOMPARE(text.contains("item59 = 59"), !selectedOnly);
        QVERIFY(text.contains("item62 = 62"));
        QCOMPARE(text.contains("item63 = 63"), !selectedOnly);
        QCOMPARE(pages == 1, selectedOnly);
        QCOMPARE(text.contains(QString("1/%1").arg(pages)), true);
    }

    void lineNumbers_data()
    {
        QTest::addColumn<bool>("lineNumbers");
        QTest::addColumn<bool>("editorShowsNumbers");
        QTest::newRow("on, editor without gutter") << true << false;
        QTest::newRow("on, editor with gutter") << true << true;
        QTest::newRow("off, editor with gutter") << false << true;
    }

    void lineNumbers()
    {
        QFETCH(bool, lineNumbers);
        QFETCH(bool, editorShowsNumbers);
        QsciScintilla editor;
        editor.setText("alpha\nbeta\ngamma\ndelta\nepsilon\nzeta\neta");
        editor.setMarginLineNumbers(0, editorShowsNumbers);
        editor.setMarginWidth(0, editorShowsNumbers ? 30 : 0);
        const int widthBefore = editor.marginWidth(0);
        const QString pdf = Pdf("numbers.pdf");
        PrintToPdf(editor, MakePrintJobSettings("a.txt", "/a.txt", true, lineNumbers, false), pdf);
        const QString text = PdfText(pdf);
        QCOMPARE(QRegularExpression("\\b6\\s+zeta\\b").match(text).hasMatch(), lineNumbers);
        QVERIFY(text.contains("zeta"));
        QCOMPARE(editor.marginWidth(0), widthBefore);
        QCOMPARE(editor.marginLineNumbers(0), editorShowsNumbers);
    }

    void coloursOnlyWhenAsked()
    {
        QsciScintilla editor;
        QsciLexerCPP lexer;
        editor.setLexer(&lexer);
        QString source;
        for (int i = 0; i < 20; ++i)
            source += "int main() { return 0; } // a comment line\n\"a string\" while for\n";
        editor.setText(source);
        const QByteArray fontBefore = QByteArray(lexer.font(QsciLexerCPP::Keyword).family().toUtf8());
        const QString coloured = Pdf("colour.pdf");
        const QString plain = Pdf("plain.pdf");
        PrintToPdf(editor, MakePrintJobSettings("a.c", "/a.c", true, false, false), coloured);
        PrintToPdf(editor, MakePrintJobSettings("a.c", "/a.c", false, false, false), plain);
        QVERIFY(ColouredPixels(coloured, m_tmp.path()) > 50);
        QCOMPARE(ColouredPixels(plain, m_tmp.path()), 0);
        char font[256] = {};
        editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, QsciLexerCPP::Keyword, static_cast<void *>(font));
        QCOMPARE(QByteArray(font), fontBefore);
    }

    // The editor's guides stay on screen: a printout shows no column line, and
    // the editor keeps its guide afterwards.
    void editorGuidesAreNotPrinted()
    {
        QsciScintilla editor;
        editor.setEdgeMode(QsciScintilla::EdgeLine);
        editor.setEdgeColumn(80);
        editor.setEdgeColor(QColor(255, 0, 0));
        editor.setText(NumberedLines(60));
        const QString pdf = Pdf("guides.pdf");
        PrintToPdf(editor, MakePrintJobSettings("a.bas", "/a.bas", true, false, false), pdf);
        QCOMPARE(ColouredPixels(pdf, m_tmp.path()), 0);
        QCOMPARE(editor.edgeMode(), QsciScintilla::EdgeLine);
        QCOMPARE(editor.edgeColumn(), 80);
    }

    // The print font is the job's, whatever font the editor shows: the same
    // text takes the same pages from an editor at 6 or 28 points, and more
    // pages with a larger print font.
    void printFontIsTheJobsNotTheEditors_data()
    {
        QTest::addColumn<int>("editorPoints");
        QTest::newRow("small editor font") << 6;
        QTest::newRow("large editor font") << 28;
    }

    void printFontIsTheJobsNotTheEditors()
    {
        QFETCH(int, editorPoints);
        const auto pagesWith = [this](int editorSize, int printSize) {
            QsciScintilla editor;
            editor.setFont(QFont(QStringLiteral("DejaVu Sans"), editorSize));
            editor.setText(NumberedLines(200));
            TPrintJobSettings settings = MakePrintJobSettings("a.txt", "/a.txt", true, false, false);
            settings.FontSize = printSize;
            int pages = 0;
            PrintToPdf(editor, settings, Pdf("font.pdf"), &pages);
            return pages;
        };
        const int reference = pagesWith(10, 10);
        QVERIFY(reference >= 2);
        // The text is set in the desktop's face for "Courier New".
        if (!QStandardPaths::findExecutable("fc-match").isEmpty()) {
            const QString face = Run("fc-match", {"-f", "%{family[0]}", "Courier New"}).remove(' ');
            QVERIFY2(Run("pdffonts", {Pdf("font.pdf")}).contains(face), qPrintable(face));
        }
        QCOMPARE(pagesWith(editorPoints, 10), reference);
        QVERIFY(pagesWith(10, 20) > reference);
    }

    void emptyTextPrintsOnePage()
    {
        QsciScintilla editor;
        const QString pdf = Pdf("empty.pdf");
        int pages = 0;
        PrintToPdf(editor, MakePrintJobSettings("NewFile1.bas", "NewFile1.bas", true, false, false), pdf, &pages);
        QCOMPARE(pages, 1);
        QCOMPARE(PdfPages(pdf), 1);
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("1/1") && text.contains("newfile1.bas"), qPrintable(text));
    }

    void refusedJobRaisesAndRestoresTheEditor()
    {
        QsciScintilla editor;
        editor.setText("x = 1");
        editor.setMarginLineNumbers(0, true);
        editor.setMarginWidth(0, 40);
        TEditorPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/no/such/folder/out.pdf");
        QVERIFY_THROWS_EXCEPTION(
            EKorvidError, PrintEditor(editor, MakePrintJobSettings("a.bas", "/a.bas", true, false, false), printer));
        QCOMPARE(editor.marginWidth(0), 40);
        QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETPRINTCOLOURMODE), 0L);
    }

    void noPrinterRaisesAClearError()
    {
        QsciScintilla editor;
        editor.setText("x = 1");
        TEditorPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
        try {
            PrintEditor(editor, MakePrintJobSettings("a.bas", "/a.bas", true, false, false), printer);
            QFAIL("no error raised");
        } catch (const EKorvidError &e) {
            QCOMPARE(e.Message(),
                     QString("Unable to print \"a.bas\": no printer is available. "
                             "Choose a printer or a PDF file with \"Printer Setup...\"."));
        }
    }

    void selectionBoxFollowsTheEditor_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("hasSelection");
        QTest::newRow("ticked, no selection") << true << false;
        QTest::newRow("unticked, selection") << false << true;
        QTest::newRow("ticked, selection") << true << true;
    }

    void selectionBoxFollowsTheEditor()
    {
        QFETCH(bool, ticked);
        QFETCH(bool, hasSelection);
        TEditorPrinter printer;
        TPrintFileDialog dialog(printer);
        dialog.SelectedOnlyCheckBox->setChecked(ticked);
        dialog.SetSelectedOnly(hasSelection);
        QCOMPARE(dialog.SelectedOnly(), hasSelection);
        QCOMPARE(dialog.SelectedOnlyCheckBox->isEnabled(), hasSelection);
    }

    void escapeCancelsEnterPrints_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
        QTest::newRow("enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
    }

    void escapeCancelsEnterPrints()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        TEditorPrinter printer;
        TPrintFileDialog dialog(printer);
        dialog.LineNumbersCheckBox->setChecked(true);
        QTimer::singleShot(0, &dialog, [&dialog, key] {
            dialog.LineNumbersCheckBox->setFocus();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key(key));
        });
        QCOMPARE(dialog.exec(), result);
        QVERIFY(dialog.LineNumbers()); // the boxes keep their states
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
