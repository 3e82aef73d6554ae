// Live checking in the workbench, offscreen, with the velmo-ls of this build
// beside it: a typed error is underlined, marked in the margin and explained
// in a tool tip within a second, and fixing it removes the marks; an error in
// an include file open in another tab shows in that tab; the server starts
// only with the first Velmo source; a server that goes away is reported once
// and a missing one changes nothing.

#include "../support/ChildProcesses.h"
#include "../support/TestFiles.h"
#include "../support/WorkbenchTestMain.h"
#include "AppState.h"
#include "DiagnosticMarks.h"
#include "DiagnosticsController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "MainForm.h"
#include "SourceEditor.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

constexpr int kWithinMs = 1000;
const QByteArray kServerName = "velmo-ls";

QString BinDir()
{
    return qEnvironmentVariable("VELMO_BIN_DIR");
}

TDiagnosticMarks *MarksOf(TSourceEditor *editor)
{
    return TDiagnosticMarks::Of(editor);
}

// Whether the editor underlines the line from `character` to its end with the
// error indicator, and nothing before that.
bool Underlined(TSourceEditor *editor, int line, int character)
{
    const long first = editor->positionFromLineIndex(line, character);
    const long end = editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    const int indicator = TDiagnosticMarks::kErrorIndicator;
    return editor->SendScintilla(QsciScintillaBase::SCI_INDICATORSTART, indicator, first) == first &&
        editor->SendScintilla(QsciScintillaBase::SCI_INDICATOREND, indicator, first) == end &&
        editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, first) > 0;
}

// Whether the editor shows an underline or a marker of a message anywhere.
bool AnyMark(TSourceEditor *editor)
{
    const long length = editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    for (const int indicator : {TDiagnosticMarks::kErrorIndicator, TDiagnosticMarks::kWarningIndicator}) {
        for (long at = 0; at < length;) {
            if (editor->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, at) > 0)
                return true;
            const long next = editor->SendScintilla(QsciScintillaBase::SCI_INDICATOREND, indicator, at);
            if (next <= at)
                break;
            at = next;
        }
    }
    const int mask = (1 << TDiagnosticMarks::kErrorMarker) | (1 << TDiagnosticMarks::kWarningMarker);
    return editor->markerFindNext(0, mask) >= 0;
}

// The messages shown, one a line.
QString ShownMessages(TSourceEditor *editor)
{
    QStringList messages;
    for (const TSourceDiagnostic &diagnostic : TDiagnosticMarks::Of(editor)->Shown())
        messages << diagnostic.message;
    return messages.join(u'\n');
}

bool MarkedLine(TSourceEditor *editor, int line)
{
    return editor->markersAtLine(line) & (1 << TDiagnosticMarks::kErrorMarker);
}

// The middle of a character of the text, and a point of the margin on the
// same line, in the editor's viewport.
QPoint PointOf(TSourceEditor *editor, int line, int character)
{
    const long position = editor->positionFromLineIndex(line, character);
    const int x = int(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position));
    const int y = int(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position));
    return {x + 2, y + int(editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, line)) / 2};
}

QPoint MarginPointOf(TSourceEditor *editor, int line)
{
    int left = 0;
    for (int margin = 0; margin < TDiagnosticMarks::kMargin; ++margin)
        left += editor->marginWidth(margin);
    return {left + TDiagnosticMarks::kMarginWidth / 2, PointOf(editor, line, 0).y()};
}

// Types key by key; a line end is the Return key.
void Type(TSourceEditor *editor, const QString &text)
{
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines[i]);
    }
}

// Types at the end of the text.
void TypeAtEnd(TSourceEditor *editor, const QString &text)
{
    editor->setFocus();
    const int last = editor->lines() - 1;
    editor->setCursorPosition(last, editor->text(last).size());
    Type(editor, text);
}

// Replaces a line's text by typing over it.
void RetypeLine(TSourceEditor *editor, int line, const QString &text)
{
    editor->setFocus();
    QString old = editor->text(line);
    while (old.endsWith(u'\n') || old.endsWith(u'\r'))
        old.chop(1);
    editor->setSelection(line, 0, line, int(old.size()));
    QTest::keyClicks(editor, text);
}

} // namespace

class TestDiagnosticsMainWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TAppState> m_app;

    QString WorkFile(const QString &name, const QByteArray &text)
    {
        return WriteTestFile(m_dir->filePath("work/" + name), text);
    }
    void PlaceServer()
    {
        QVERIFY(QFile::exists(BinDir() + "/velmo-ls"));
        QVERIFY(QFile::link(BinDir() + "/velmo-ls", m_dir->filePath("prog/velmo-ls")));
    }
    static TSourceEditor *Open(TMainWindow &w, const QString &path)
    {
        w.OpenFile(path);
        return AsSourceEditor(w.CurrentEditor());
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QDir().mkpath(m_dir->filePath("prog"));
        m_app = std::make_unique<TAppState>(TWorkbenchPaths(m_dir->filePath("prog"), m_dir->filePath("prog/Korvid.ini"),
                                                            m_dir->filePath("config/Korvid.ini")));
        m_app->LinkSettings().OfferedDevices = [] { return QStringList(); };
    }

    void cleanup()
    {
        m_app.reset();
        delete m_dir;
    }

    void typedErrorIsMarkedAndFixingItRemovesTheMarks()
    {
        PlaceServer();
        TMainWindow w(*m_app);
        w.show();
        TSourceEditor *editor = Open(w, WorkFile("main.bas", "BYTE count\ncount = 1\n"));
        QVERIFY(editor);
        TypeAtEnd(editor, "  count = = 2");
        QTRY_VERIFY_WITH_TIMEOUT(MarksOf(editor) && !MarksOf(editor)->Shown().isEmpty(), kWithinMs);
        QVERIFY(Underlined(editor, 2, 2));
        QVERIFY(!Underlined(editor, 1, 0));
        QVERIFY(MarkedLine(editor, 2));
        QVERIFY(!MarkedLine(editor, 1));
        // Every message on the line, the compiler's first one first.
        const QString message = ShownMessages(editor);
        QVERIFY2(message.startsWith("Factor expected."), qPrintable(message));
        QCOMPARE(MarksOf(editor)->ToolTipAt(PointOf(editor, 2, 6)), message);
        QCOMPARE(MarksOf(editor)->ToolTipAt(MarginPointOf(editor, 2)), message);
        QCOMPARE(MarksOf(editor)->ToolTipAt(PointOf(editor, 1, 2)), QString());
        QCOMPARE(MarksOf(editor)->ToolTipAt(MarginPointOf(editor, 1)), QString());

        RetypeLine(editor, 2, "count = 2");
        QTRY_VERIFY_WITH_TIMEOUT(!AnyMark(editor), kWithinMs);
        QVERIFY(MarksOf(editor)->Shown().isEmpty());
    }

    void errorInAnIncludeFileShowsInItsTab()
    {
        PlaceServer();
        TMainWindow w(*m_app);
        w.show();
        WorkFile("inc.bas", "BYTE shared\n");
        TSourceEditor *main = Open(w, WorkFile("main.bas", "#INCLUDE \"inc.bas\"\nshared = 1\n"));
        TSourceEditor *include = Open(w, m_dir->filePath("work/inc.bas"));
        QVERIFY(main && include && main != include);
        TypeAtEnd(include, "shared = (");
        QTRY_VERIFY_WITH_TIMEOUT(MarksOf(include) && MarkedLine(include, 1), kWithinMs);
        QVERIFY(Underlined(include, 1, 0));
        // The including file marks its #INCLUDE line, naming the include file.
        QTRY_VERIFY_WITH_TIMEOUT(MarkedLine(main, 0), kWithinMs);
        QVERIFY2(MarksOf(main)->ToolTipAt(MarginPointOf(main, 0)).contains("inc.bas"),
                 qPrintable(MarksOf(main)->ToolTipAt(MarginPointOf(main, 0))));
    }

    void serverStartsWithTheFirstVelmoSource()
    {
        PlaceServer();
        TMainWindow w(*m_app);
        w.show();
        QTest::qWait(2 * TDiagnosticsController::kPauseMs);
        QVERIFY(RunningChildren(kServerName).isEmpty());
        Open(w, WorkFile("notes.txt", "x = = 1\n"));
        QTest::qWait(2 * TDiagnosticsController::kPauseMs);
        QVERIFY(RunningChildren(kServerName).isEmpty());
        TSourceEditor *editor = Open(w, WorkFile("main.bas", "x = = 1\n"));
        QTRY_COMPARE_WITH_TIMEOUT(RunningChildren(kServerName).size(), 1, kWithinMs);
        QTRY_VERIFY_WITH_TIMEOUT(MarkedLine(editor, 0), kWithinMs);
    }

    void serverThatGoesAwayIsReportedOnce()
    {
        PlaceServer();
        TMainWindow w(*m_app);
        w.show();
        TSourceEditor *editor = Open(w, WorkFile("main.bas", "x = = 1\n"));
        QTRY_VERIFY_WITH_TIMEOUT(MarkedLine(editor, 0), kWithinMs);
        const QList<qint64> servers = RunningChildren(kServerName);
        QCOMPARE(servers.size(), 1);
        ::kill(pid_t(servers.first()), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(!w.DiagnosticsControl().Live(), kWithinMs);
        const QString status = w.StatusText(TDiagnosticsController::kStatusPanel);
        QVERIFY2(status.contains("velmo-ls") && status.contains("Live checking is off"), qPrintable(status));
        QVERIFY(!AnyMark(editor));
        // Typing goes on without the server, which is not started again.
        w.SetStatusText(TDiagnosticsController::kStatusPanel, QString());
        TypeAtEnd(editor, "\ny = = 2");
        QTest::qWait(2 * TDiagnosticsController::kPauseMs);
        QVERIFY(RunningChildren(kServerName).isEmpty());
        QVERIFY(!AnyMark(editor));
        QCOMPARE(w.StatusText(TDiagnosticsController::kStatusPanel), QString());
    }

    void missingServerChangesNothing()
    {
        TMainWindow w(*m_app);
        w.show();
        TSourceEditor *editor = Open(w, WorkFile("main.bas", "x = 1\n"));
        TypeAtEnd(editor, "\ny = = 2");
        QTest::qWait(2 * TDiagnosticsController::kPauseMs);
        QVERIFY(!w.DiagnosticsControl().Live());
        QVERIFY(!MarksOf(editor));
        QVERIFY(!AnyMark(editor));
        QCOMPARE(w.StatusText(TDiagnosticsController::kStatusPanel), QString());
        QCOMPARE(editor->text(2), QString("y = = 2"));
    }
};

WORKBENCH_TEST_MAIN(TestDiagnosticsMainWindow)
#include "test_diagnostics_mainwindow.moc"
