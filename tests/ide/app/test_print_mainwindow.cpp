// File > Print... in the main window: the options dialog follows the current
// editor's selection, Print prints the current file on the current printer
// (a PDF file here), Escape prints nothing, no editor shows no dialog.

#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "BuildController.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "Globals.h"
#include "MainForm.h"
#include "Print.h"
#include "PrintJob.h"
#include "ScopeController.h"
#include "SourceEditor.h"
#include "WorkDirController.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

QString PdfText(const QString &pdf)
{
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The document title recorded in the PDF file.
QString PdfTitle(const QString &pdf)
{
    QProcess process;
    process.start("pdfinfo", {pdf});
    process.waitForFinished(30000);
    const QRegularExpression title(QStringLiteral("^Title:\\s+(.*)$"), QRegularExpression::MultilineOption);
    return title.match(QString::fromUtf8(process.readAllStandardOutput())).captured(1).trimmed();
}

// Pixels of the first page whose red, green and blue differ clearly.
int ColouredPixels(const QString &pdf, const QString &dir)
{
    const QString prefix = dir + "/page";
    QProcess::execute("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf, prefix});
    const QImage image(prefix + ".png");
    if (image.isNull())
        return -1;
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60)
                ++coloured;
        }
    }
    return coloured;
}

// What the dialog showed when it opened.
struct TDialogSeen {
    bool shown = false;
    bool selectedOnlyEnabled = false;
    bool selectedOnlyTicked = false;
};

} // namespace

class TestPrintMainWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TAppState> m_app;
    QStringList m_errors;
    QString m_startDir;

    QString Pdf() const
    {
        return m_dir->filePath("out.pdf");
    }

    // Answers the print dialog once it is open, with Enter or Escape.
    TDialogSeen RunPrint(TMainWindow &w, Qt::Key answer)
    {
        TDialogSeen seen;
        QTimer::singleShot(0, &w, [&seen, answer] {
            auto *dialog = qobject_cast<TPrintFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen.shown = true;
            seen.selectedOnlyEnabled = dialog->SelectedOnlyCheckBox->isEnabled();
            seen.selectedOnlyTicked = dialog->SelectedOnlyCheckBox->isChecked();
            QTest::keyClick(dialog, answer);
        });
        w.RunCommand("PrintFileMenuClick");
        QCoreApplication::processEvents(); // the answer runs before `seen` goes
        return seen;
    }

private slots:
    void init()
    {
        m_startDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_dir->filePath("prog"));
        m_app = std::make_unique<TAppState>(TWorkbenchPaths(m_dir->filePath("prog"), m_dir->filePath("prog/Korvid.ini"),
                                                            m_dir->filePath("config/Korvid.ini")));
        m_errors.clear();
        m_app->DialogHooks().errorReporter = [this](const QString &m) { m_errors << m; };
        m_app->Printer().setOutputFormat(QPrinter::PdfFormat);
        m_app->Printer().setOutputFileName(Pdf());
    }

    void cleanup()
    {
        m_app.reset();
        QDir::setCurrent(m_startDir);
        m_dir.reset();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join('\n')));
    }

    void printsTheCurrentFile_data()
    {
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("boxTickedBefore");
        QTest::newRow("selection") << true << false;
        QTest::newRow("no selection, box ticked before") << false << true;
    }

    void printsTheCurrentFile()
    {
        QFETCH(bool, select);
        QFETCH(bool, boxTickedBefore);
        const QString source = m_dir->filePath("Blink.BAS");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= 40; ++i)
            file.write(QString("PRINT %1\n").arg(i * 11).toLatin1());
        file.close();
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenFile(source);
        TSourceEditor *editor = AsSourceEditor(w.CurrentEditor());
        QVERIFY(editor);
        if (select)
            editor->setSelection(9, 0, 11, 0); // lines 10 and 11
        m_app->PrintDialog().SelectedOnlyCheckBox->setEnabled(true);
        m_app->PrintDialog().SelectedOnlyCheckBox->setChecked(boxTickedBefore);

        const TDialogSeen seen = RunPrint(w, Qt::Key_Return);
        QVERIFY(seen.shown);
        QCOMPARE(seen.selectedOnlyEnabled, select);
        QCOMPARE(seen.selectedOnlyTicked, select);
        const QString text = PdfText(Pdf());
        QVERIFY2(text.contains("PRINT 110"), qPrintable(text));
        QVERIFY(text.contains("PRINT 121"));
        QCOMPARE(text.contains("PRINT 99"), !select);
        QCOMPARE(text.contains("PRINT 132"), !select);
        QVERIFY(text.contains(QDir::cleanPath(source).toLower()));
        QVERIFY(text.contains("Velmo"));
        QVERIFY(text.contains("1/1"));
        // The job carries the editor's title.
        QCOMPARE(PdfTitle(Pdf()), w.CurrentEditor()->GetTitle());
    }

    void colouringFollowsTheBoxAndTheFileType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("colours");
        QTest::addColumn<bool>("coloured");
        QTest::newRow("Velmo, colours") << "prog.bas" << true << true;
        QTest::newRow("Velmo, plain") << "prog.bas" << false << false;
        QTest::newRow("text, colours") << "notes.txt" << true << false;
    }

    void colouringFollowsTheBoxAndTheFileType()
    {
        QFETCH(QString, name);
        QFETCH(bool, colours);
        QFETCH(bool, coloured);
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 10; ++i)
            file.write("' a comment\nFOR i = 1 TO 10\n  PRINT \"text\"; i\nNEXT i\n");
        file.close();
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenFile(file.fileName());
        m_app->PrintDialog().ColorsCheckBox->setChecked(colours);
        QVERIFY(RunPrint(w, Qt::Key_Return).shown);
        const int pixels = ColouredPixels(Pdf(), m_dir->path());
        QVERIFY(pixels >= 0);
        QCOMPARE(pixels > 50, coloured);
        m_app->PrintDialog().ColorsCheckBox->setChecked(true);
    }

    void escapePrintsNothing()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenFile(m_dir->filePath("empty.bas"));
        QVERIFY(RunPrint(w, Qt::Key_Escape).shown);
        QVERIFY(!QFile::exists(Pdf()));
    }

    void noEditorNoDialog()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!RunPrint(w, Qt::Key_Return).shown);
        QVERIFY(!QFile::exists(Pdf()));
        // The command is disabled in the File menu as well.
        w.FileMenuClick();
        QVERIFY(!w.MenuItem("PrintFileMenu")->isEnabled());
    }
};

WORKBENCH_TEST_MAIN(TestPrintMainWindow)
#include "test_print_mainwindow.moc"
