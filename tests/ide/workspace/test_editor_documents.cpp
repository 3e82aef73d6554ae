// Documents in tabs: opening, new-file numbering, saving, closing, encodings
// and line ends, file types.
#include "../support/EditorTabsHost.h"
#include "DialogHooks.h"
#include "EditorTabs.h"
#include "Highlighter.h"
#include "Intellisense.h"
#include "SearchReplace.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <cstdlib>
#include <deque>

namespace {

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestEditorDocuments : public QObject {
    Q_OBJECT

    TDialogHooks m_hooks; // in force for the whole suite
    TDialogHooksInUse m_hooksInUse{m_hooks};

    TIntellisense m_completion; // the suite's, as the workbench's
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSearchDlg> m_searchDlg;
    std::unique_ptr<TEditorTabs> m_tabs;
    std::deque<QString> m_saveNames; // answers of the save dialog
    std::deque<int> m_answers; // answers of the questions
    QStringList m_questions;
    QStringList m_helps;

    QString Path(const QString &name) const
    {
        return m_dir->filePath(name);
    }
    TSourceEditor *Current() const
    {
        return AsSourceEditor(m_tabs->CurrentEditor());
    }
    QStringList Captions() const
    {
        QStringList captions;
        for (int i = 0; i < m_tabs->EditorTabSet()->count(); ++i)
            captions << m_tabs->TabCaption(i);
        return captions;
    }
    void Type(const QString &text)
    {
        Current()->insert(text);
        Current()->setCursorPosition(0, static_cast<int>(text.size()));
    }

    // Runs the next modal file dialog: records what it offers, types a name
    // (none: cancel) and closes it.
    struct TFileDialogSeen {
        QStringList filters;
        QString suffix;
        QString initialName;
        QString directory;
    };
    void AnswerFileDialog(TFileDialogSeen &seen, const QString &typed)
    {
        QTimer::singleShot(0, this, [&seen, typed] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen.filters = dialog->nameFilters();
            seen.suffix = dialog->defaultSuffix();
            if (auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit"))
                seen.initialName = edit->text();
            seen.directory = dialog->directory().absolutePath();
            if (typed.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(typed);
            static_cast<QDialog *>(dialog)->accept();
        });
    }

private slots:
    void initTestCase() { }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_dir->path());
        m_host = std::make_unique<QWidget>();
        m_searchDlg = std::make_unique<TSearchDlg>();
        m_tabs = MakeEditorTabs(m_host.get(), m_searchDlg.get(), QSize(600, 400), &m_completion);
        m_saveNames.clear();
        m_answers.clear();
        m_questions.clear();
        m_helps.clear();
        m_hooks.askSaveName = [this](QWidget *, const QString &) {
            if (m_saveNames.empty())
                return QString();
            QString name = m_saveNames.front();
            m_saveNames.pop_front();
            return name;
        };
        m_hooks.confirm = [this](const QString &message, const QString &help) {
            m_questions << message;
            m_helps << help;
            if (m_answers.empty())
                return 2;
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
        m_hooks.beep = [] {};
    }

    void cleanup()
    {
        m_tabs.reset();
        m_host.reset();
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void openingTheSameFileInOtherCaseActivatesIt()
    {
        WriteAll(Path("Prog.bas"), "print 1\r\n");
        IEditor *first = m_tabs->OpenEditor(Path("Prog.bas"));
        m_tabs->NewTextFileClick();
        IEditor *again = m_tabs->OpenEditor(m_dir->path() + "/PROG.BAS");
        QCOMPARE(again, first);
        QCOMPARE(m_tabs->EditorTabSet()->count(), 2);
        QCOMPARE(m_tabs->CurrentEditor(), first);
        QCOMPARE(m_tabs->EditorList().OpenCount(), 2);
    }

    void newFilesAreNumberedByFreePrefix()
    {
        m_tabs->NewBasicFileClick();
        m_tabs->NewBasicFileClick();
        QCOMPARE(Captions(), QStringList({"NewFile1.bas", "NewFile2.bas"}));
        m_tabs->EditorTabSet()->setCurrentIndex(0);
        m_tabs->CloseFileClick();
        QVERIFY(m_questions.isEmpty()); // an untouched new file closes silently
        m_tabs->NewTextFileClick();
        QCOMPARE(Captions(), QStringList({"NewFile2.bas", "NewFile1.txt"}));
        // a tab NewFile12 blocks the number 1 as well
        m_tabs->OpenEditor("NewFile12.bas");
        QCOMPARE(m_tabs->NewFileName(".bas"), QString("NewFile3.bas"));
    }

    void slotsAreReusedAndGrowByTen()
    {
        TEditorList &list = m_tabs->EditorList();
        for (int i = 0; i < 11; ++i)
            m_tabs->NewTextFileClick();
        QCOMPARE(list.Slots().size(), 20);
        QCOMPARE(list.EditorAt(10)->GetId(), 10);
        QCOMPARE(list.EditorAt(25), nullptr);
        QCOMPARE(list.CloseEditor(25), 0);
        QCOMPARE(list.CloseEditor(3), 1);
        m_tabs->EditorTabSet()->removeTab(m_tabs->FindTabById(3));
        QCOMPARE(list.EditorAt(3), nullptr);
        m_tabs->NewBasicFileClick();
        QCOMPARE(m_tabs->CurrentEditor()->GetId(), 3);
        QCOMPARE(list.IndexOfEditor(m_tabs->CurrentEditor()), 3);
    }

    void savingANewFileAlwaysAsks()
    {
        m_tabs->NewBasicFileClick();
        QVERIFY(Current()->CanSave());
        m_saveNames = {Path("first.bas")};
        m_tabs->SaveFileClick();
        QCOMPARE(Captions(), QStringList({"first.bas"}));
        QCOMPARE(ReadAll(Path("first.bas")), QByteArray());
        QVERIFY(!Current()->CanSave());
        QCOMPARE(Current()->Save(), int(srNothing));
    }

    void replacingAnExistingFileNoGoesBackToTheDialog()
    {
        WriteAll(Path("old.bas"), "keep");
        m_tabs->NewBasicFileClick();
        Type("new text");
        m_saveNames = {Path("old.bas"), Path("other.bas")};
        m_answers = {7};
        QCOMPARE(Current()->SaveAs(), int(srSaved));
        QCOMPARE(m_questions, QStringList({"The file old.bas already exists."}));
        QCOMPARE(ReadAll(Path("old.bas")), QByteArray("keep"));
        QCOMPARE(ReadAll(Path("other.bas")), QByteArray("new text"));
        QCOMPARE(Current()->GetFileName(), Path("other.bas"));
        QVERIFY(!Current()->IsModified());
    }

    void cancelInTheReplaceQuestionCancelsSaveAs()
    {
        WriteAll(Path("old.bas"), "keep");
        m_tabs->NewBasicFileClick();
        Type("x");
        m_saveNames = {Path("old.bas")};
        m_answers = {2};
        QCOMPARE(Current()->SaveAs(), int(srCancelled));
        QCOMPARE(ReadAll(Path("old.bas")), QByteArray("keep"));
        QVERIFY(Current()->IsModified());
        QCOMPARE(Current()->GetFileName(), QString("NewFile1.bas"));
    }

    void saveAllStopsAtACancelledDialog()
    {
        WriteAll(Path("a.bas"), "a");
        WriteAll(Path("c.bas"), "c");
        m_tabs->OpenEditor(Path("a.bas"));
        Type("1");
        m_tabs->NewBasicFileClick();
        Type("2");
        m_tabs->OpenEditor(Path("c.bas"));
        Type("3");
        QCOMPARE(Captions(), QStringList({"a.bas*", "NewFile1.bas*", "c.bas*"}));
        m_tabs->AllSaved = true;
        m_tabs->SaveAllFilesClick();
        QVERIFY(!m_tabs->AllSaved);
        QCOMPARE(ReadAll(Path("a.bas")), QByteArray("1a"));
        QCOMPARE(ReadAll(Path("c.bas")), QByteArray("c"));
        QCOMPARE(Captions(), QStringList({"a.bas", "NewFile1.bas*", "c.bas*"}));

        m_saveNames = {Path("b.bas")};
        m_tabs->SaveAllFilesClick();
        QVERIFY(m_tabs->AllSaved);
        QCOMPARE(ReadAll(Path("c.bas")), QByteArray("3c"));
        QCOMPARE(Captions(), QStringList({"a.bas", "b.bas", "c.bas"}));
    }

    void closeAllStopsAtTheFirstCancel()
    {
        for (const char *name : {"a.bas", "b.bas", "c.bas"}) {
            WriteAll(Path(name), "x");
            m_tabs->OpenEditor(Path(name));
            Type("y");
        }
        m_answers = {6, 2};
        QVERIFY(!m_tabs->CloseAllFilesClick());
        QCOMPARE(m_questions, QStringList({"a.bas has been changed.", "b.bas has been changed."}));
        QCOMPARE(ReadAll(Path("a.bas")), QByteArray("yx"));
        QCOMPARE(Captions(), QStringList({"b.bas*", "c.bas*"}));
        m_answers = {7, 7};
        QVERIFY(m_tabs->CloseAllFilesClick());
        QCOMPARE(m_tabs->EditorTabSet()->count(), 0);
        QVERIFY(m_tabs->EditorList().IsEmpty());
        QCOMPARE(ReadAll(Path("c.bas")), QByteArray("x"));
    }

    void activatingBringsTheEditorToTheFront()
    {
        m_host->show();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
        IEditor *first = m_tabs->OpenEditor(Path("a.bas"));
        IEditor *second = m_tabs->OpenEditor(Path("b.bas"));
        QCOMPARE(m_tabs->EditorStack()->currentWidget(), AsSourceEditor(second));
        QString seen;
        const auto record = [&seen](char what) {
            return [&seen, what](IEditor *e) { seen += QString("%1%2 ").arg(what).arg(e ? e->GetId() : -1); };
        };
        m_tabs->OnEditStateChange = record('E');
        m_tabs->OnCaretChange = record('C');
        m_tabs->OnDocumentChange = record('D');
        m_tabs->EditorList().ActivateEditor(first->GetId());
        QCOMPARE(m_tabs->EditorStack()->currentWidget(), AsSourceEditor(first));
        QVERIFY(AsSourceEditor(first)->hasFocus());
        QCOMPARE(seen, QString("E0 C0 D0 "));
        seen.clear();
        m_tabs->EditorTabSet()->setCurrentIndex(0); // the user picks the tabs
        m_tabs->EditorTabSet()->setCurrentIndex(1);
        QCOMPARE(m_tabs->EditorStack()->currentWidget(), AsSourceEditor(second));
        QVERIFY(AsSourceEditor(second)->hasFocus());
        QVERIFY(seen.startsWith("E0 C0 D0 "));
        QVERIFY(seen.contains("E1 C1 D1 "));
    }

    void closingTheListReportsNoEditor()
    {
        int noEditor = 0;
        m_tabs->OnDocumentChange = [&](IEditor *e) { noEditor += e ? 0 : 1; };
        m_tabs->NewBasicFileClick();
        m_tabs->CloseFileClick();
        QCOMPARE(noEditor, 1);
    }

    void encodingAndLineEndsAreKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("windows-1252, CR LF") << QByteArray("a\xe9\x80\r\nb\r\n");
        QTest::newRow("utf-8, LF") << QByteArray("a\xc3\xa9\xe2\x82\xac\nb\n");
        QTest::newRow("utf-8 with mark, CR") << QByteArray("\xef\xbb\xbf"
                                                           "a\rb");
        QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd");
        QTest::newRow("NUL bytes") << QByteArray("a\r\nb\0c\r\n\0\r\nd", 12);
        QTest::newRow("windows-1252 with NUL") << QByteArray("\xe9\r\n\0\xe9", 5);
    }

    void encodingAndLineEndsAreKept()
    {
        QFETCH(QByteArray, bytes);
        WriteAll(Path("enc.bas"), bytes);
        m_tabs->OpenEditor(Path("enc.bas"));
        Current()->setCursorPosition(0, 0);
        Current()->insert("x");
        Current()->setCursorPosition(0, 1);
        Current()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
        m_tabs->SaveFileClick();
        const QByteArray bom = bytes.startsWith("\xef\xbb\xbf") ? bytes.left(3) : QByteArray();
        const QByteArray body = bytes.mid(bom.size());
        const qsizetype eolAt =
            body.indexOf('\r') >= 0 && (body.indexOf('\n') < 0 || body.indexOf('\r') < body.indexOf('\n'))
            ? body.indexOf('\r')
            : body.indexOf('\n');
        QByteArray eol = body.mid(eolAt, 1);
        if (eol == "\r" && body.mid(eolAt, 2) == "\r\n")
            eol = "\r\n";
        QCOMPARE(ReadAll(Path("enc.bas")), bom + "x" + eol + body);
    }

    void textWindows1252CannotHoldIsSavedAsUtf8()
    {
        WriteAll(Path("w.txt"), "caf\xe9");
        m_tabs->OpenEditor(Path("w.txt"));
        QCOMPARE(Current()->Encoding(), TTextEncoding::Windows1252);
        Current()->append(QString::fromUtf8(" \xe2\x9c\x93"));
        m_tabs->SaveFileClick();
        QCOMPARE(ReadAll(Path("w.txt")), QByteArray("caf\xc3\xa9 \xe2\x9c\x93"));
        QCOMPARE(Current()->Encoding(), TTextEncoding::Utf8);
    }

    void failedWriteKeepsNameAndModifiedFlag()
    {
        m_tabs->OpenEditor(Path("missing/dir/x.bas"));
        Type("text");
        bool thrown = false;
        try {
            Current()->Save();
        } catch (const std::exception &) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(Current()->IsModified());
        QCOMPARE(Current()->GetFileName(), Path("missing/dir/x.bas"));
    }

    void fileTypeFollowsSaveAs()
    {
        m_tabs->NewTextFileClick();
        TSourceEditor *editor = Current();
        Type("print");
        // How the word is drawn: bold, and its colour differs from plain text.
        const auto wordLooks = [editor] {
            editor->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
            const unsigned long style = editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 0UL);
            const long plain = editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE,
                                                     static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT));
            // the control keeps the font weight negated
            return std::make_pair(std::abs(editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETWEIGHT, style)) >=
                                      QFont::Bold,
                                  editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style) != plain);
        };
        QVERIFY(!editor->Highlighter());
        QVERIFY(!m_completion.IsAttached(editor));
        m_saveNames = {Path("prog.bas")};
        QCOMPARE(editor->SaveAs(), int(srSaved));
        QVERIFY(editor->Highlighter());
        QVERIFY(m_completion.IsAttached(editor));
        QCOMPARE(wordLooks(), std::make_pair(true, true));
        m_saveNames = {Path("notes.txt")};
        QCOMPARE(editor->SaveAs(), int(srSaved));
        QVERIFY(!editor->Highlighter());
        QVERIFY(!m_completion.IsAttached(editor));
        QCOMPARE(wordLooks(), std::make_pair(false, false));
    }

    void fileTypeByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("velmo");
        QTest::newRow("bas") << "a.bas" << true;
        QTest::newRow("BAS") << "A.BAS" << true;
        QTest::newRow("Bas") << "a.Bas" << true;
        QTest::newRow("two dots") << "a.txt.bas" << true;
        QTest::newRow("txt") << "a.txt" << false;
        QTest::newRow("inc") << "a.inc" << false;
        QTest::newRow("bas then txt") << "a.bas.txt" << false;
        QTest::newRow("no extension") << "bas" << false;
        QTest::newRow("longer extension") << "a.basx" << false;
    }

    void fileTypeByExtension()
    {
        QFETCH(QString, name);
        QFETCH(bool, velmo);
        m_tabs->OpenEditor(Path(name));
        QCOMPARE(Current()->Highlighter() != nullptr, velmo);
        QCOMPARE(Current()->lexer() != nullptr, velmo);
        QCOMPARE(m_completion.IsAttached(Current()), velmo);
    }

    // Save As reports the change of the document whether or not the text
    // was modified, and the tab shows the new name without "*".
    void saveAsRefreshesTheTab_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::newRow("modified") << true;
        QTest::newRow("unmodified") << false;
    }

    void saveAsRefreshesTheTab()
    {
        QFETCH(bool, modified);
        WriteAll(Path("a.bas"), "a");
        m_tabs->OpenEditor(Path("a.bas"));
        if (modified)
            Type("1");
        int reports = 0;
        m_tabs->OnDocumentChange = [&](IEditor *e) { reports += e == m_tabs->CurrentEditor() ? 1 : 0; };
        m_saveNames = {Path("b.bas")};
        m_tabs->SaveFileAsClick();
        QCOMPARE(reports, 1);
        QCOMPARE(Captions(), QStringList{"b.bas"});
        QVERIFY(!Current()->IsModified());
        QCOMPARE(ReadAll(Path("b.bas")), modified ? QByteArray("1a") : QByteArray("a"));
    }

    void modifiedMarkFollowsTheText()
    {
        WriteAll(Path("m.bas"), "a");
        m_tabs->OpenEditor(Path("m.bas"));
        Type("b");
        QCOMPARE(Captions(), QStringList({"m.bas*"}));
        Current()->Undo();
        QCOMPARE(Captions(), QStringList({"m.bas"}));
        Current()->Redo();
        m_tabs->SaveFileClick();
        QCOMPARE(Captions(), QStringList({"m.bas"}));
    }

    void editStateOperations()
    {
        m_tabs->NewBasicFileClick();
        TSourceEditor *e = Current();
        QVERIFY(!e->CanUndo() && !e->CanCut() && !e->CanDelete());
        e->insert("one two");
        QVERIFY(e->CanUndo());
        e->setSelection(0, 0, 0, 3);
        QVERIFY(e->CanCopy() && e->CanCut() && e->CanDelete());
        QCOMPARE(e->GetSelText(), QString("one"));
        e->Delete();
        QCOMPARE(e->text(), QString(" two"));
        e->SetReadOnly(true);
        QVERIFY(!e->CanUndo() && !e->CanPaste());
        e->SelectAll();
        e->Delete();
        QCOMPARE(e->text(), QString(" two"));
    }

    void readOnlyEditorsKeepTheirText_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("cut") << "Cut";
        QTest::newRow("paste") << "Paste";
        QTest::newRow("delete") << "Delete";
        QTest::newRow("undo") << "Undo";
        QTest::newRow("redo") << "Redo";
    }

    void readOnlyEditorsKeepTheirText()
    {
        QFETCH(QString, command);
        const QMap<QString, void (TEditorTabs::*)()> commands = {
            {"Cut", &TEditorTabs::CutMenuClick},       {"Paste", &TEditorTabs::PasteMenuClick},
            {"Delete", &TEditorTabs::DeleteMenuClick}, {"Undo", &TEditorTabs::UndoMenuClick},
            {"Redo", &TEditorTabs::RedoMenuClick},
        };
        m_tabs->NewTextFileClick();
        TSourceEditor *e = Current();
        e->insert("one two");
        e->insert("three ");
        e->Undo(); // leaves something to redo
        QApplication::clipboard()->setText("pasted");
        e->setSelection(0, 0, 0, 3);
        e->SetReadOnly(true);
        (m_tabs.get()->*commands.value(command))();
        QCOMPARE(e->text(), QString("one two"));
        e->SetReadOnly(false);
        (m_tabs.get()->*commands.value(command))();
        QVERIFY(e->text() != QString("one two")); // the same command edits a writable editor
    }

    void gotoLinePutsTheLineInTheMiddle()
    {
        QByteArray text;
        for (int i = 1; i <= 300; ++i)
            text += "line " + QByteArray::number(i) + "\n";
        WriteAll(Path("long.bas"), text);
        m_host->show();
        m_tabs->OpenEditor(Path("long.bas"));
        TSourceEditor *e = Current();
        e->setSelection(0, 0, 2, 0);
        e->GotoLine(150);
        QCOMPARE(e->CaretLine(), 150);
        QCOMPARE(e->CaretColumn(), 1);
        QVERIFY(!e->HasSelection());
        const int onScreen = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
        QVERIFY(onScreen > 2);
        QCOMPARE(e->firstVisibleLine(), 149 - onScreen / 2);
    }

    void linesAreSplitAtEveryLineEnd()
    {
        m_tabs->NewTextFileClick();
        Current()->setText("a\r\nb\nc\rd\n");
        QCOMPARE(Current()->GetLines(), QStringList({"a", "b", "c", "d"}));
    }

    void questionsAreWorded_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("help");
        QTest::newRow("save over an existing file") << false << "The file old.bas already exists."
                                                    << "Do You want to replace the existing file?";
        QTest::newRow("close a changed file") << true << "NewFile1.bas has been changed."
                                              << "Do You want to save the changes?";
    }

    void questionsAreWorded()
    {
        QFETCH(bool, closing);
        QFETCH(QString, message);
        QFETCH(QString, help);
        WriteAll(Path("old.bas"), "keep");
        m_tabs->NewBasicFileClick();
        Type("x");
        m_saveNames = {Path("old.bas")};
        QCOMPARE(closing ? Current()->CloseQuery() : Current()->SaveAs(), int(srCancelled));
        QCOMPARE(m_questions, QStringList{message});
        QCOMPARE(m_helps, QStringList{help});
    }

    void findByNameIgnoresTheCaseOfAsciiLettersOnly_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("found");
        QTest::newRow("ascii letters") << "Prog.BAS"
                                       << "pROG.bas" << true;
        QTest::newRow("same name") << "prog.bas"
                                   << "prog.bas" << true;
        QTest::newRow("other name") << "prog.bas"
                                    << "prog2.bas" << false;
        QTest::newRow("umlaut in other case")
            << QString::fromUtf8("\xc3\xa4.bas") << QString::fromUtf8("\xc3\x84.bas") << false;
        QTest::newRow("umlaut, ascii in other case")
            << QString::fromUtf8("\xc3\xa4X.bas") << QString::fromUtf8("\xc3\xa4x.BAS") << true;
    }

    void findByNameIgnoresTheCaseOfAsciiLettersOnly()
    {
        QFETCH(QString, opened);
        QFETCH(QString, asked);
        QFETCH(bool, found);
        TEditorList &list = m_tabs->EditorList();
        m_tabs->NewTextFileClick();
        IEditor *editor = m_tabs->OpenEditor(opened);
        QCOMPARE(list.FindByName(asked), found ? editor : nullptr);
        QCOMPARE(list.Open(asked) == editor, found);
    }

    void notificationsFollowTheChangeSet_data()
    {
        QTest::addColumn<unsigned>("changes");
        QTest::addColumn<QString>("called"); // E edit state, C caret, D document, in calling order
        QTest::newRow("full refresh") << unsigned(scAll) << "ECD";
        QTest::newRow("selection") << unsigned(scSelection) << "E";
        QTest::newRow("caret column") << unsigned(scCaretX) << "C";
        QTest::newRow("caret line") << unsigned(scCaretY) << "C";
        QTest::newRow("insert mode") << unsigned(scInsertMode) << "D";
        QTest::newRow("modified") << unsigned(scModified) << "D";
        QTest::newRow("read-only") << unsigned(scReadOnly) << "D";
        QTest::newRow("first visible column") << unsigned(scLeftChar) << "";
        QTest::newRow("first visible line") << unsigned(scTopLine) << "";
        QTest::newRow("selection and modified") << unsigned(scSelection | scModified) << "ED";
        QTest::newRow("caret and read-only") << unsigned(scCaretY | scReadOnly) << "CD";
    }

    void notificationsFollowTheChangeSet()
    {
        QFETCH(unsigned, changes);
        QFETCH(QString, called);
        TEditorList list(nullptr);
        QString seen;
        list.NotifyChange(nullptr, changes); // no handler set: nothing happens
        list.OnEditStateChange = [&](IEditor *) { seen += 'E'; };
        list.OnCaretChange = [&](IEditor *) { seen += 'C'; };
        list.OnDocumentChange = [&](IEditor *) { seen += 'D'; };
        list.NotifyChange(nullptr, changes);
        QCOMPARE(seen, called);
    }

    void saveDialogOffersVelmoProgramsAndAddsTheExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved"); // empty: cancelled
        QTest::newRow("name without extension") << "prog"
                                                << "prog.bas";
        QTest::newRow("other extension kept") << "notes.txt"
                                              << "notes.txt";
        QTest::newRow("cancelled") << ""
                                   << "";
    }

    void saveDialogOffersVelmoProgramsAndAddsTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        m_hooks.askSaveName = nullptr; // the real dialog
        m_host->show();
        // A file saved elsewhere first: the dialog then shows that folder.
        QVERIFY(QDir(m_dir->path()).mkdir("elsewhere"));
        m_tabs->OpenEditor(Path("elsewhere/x.bas"));
        TFileDialogSeen before;
        AnswerFileDialog(before, "y");
        QCOMPARE(Current()->SaveAs(), int(srSaved));
        QCOMPARE(before.directory, Path("elsewhere"));
        QCOMPARE(before.initialName, QString("x.bas"));

        m_tabs->NewBasicFileClick();
        Type("text");
        TFileDialogSeen seen;
        AnswerFileDialog(seen, typed);
        const int result = Current()->SaveAs();
        QCOMPARE(seen.filters, QStringList({"Velmo programs (*.bas)", "All files (*)"}));
        QCOMPARE(seen.suffix, QString("bas"));
        QCOMPARE(seen.initialName, QString("NewFile1.bas"));
        QCOMPARE(seen.directory, m_dir->path()); // the working directory
        if (saved.isEmpty()) {
            QCOMPARE(result, int(srCancelled));
            QCOMPARE(Current()->GetFileName(), QString("NewFile1.bas"));
            return;
        }
        QCOMPARE(result, int(srSaved));
        QCOMPARE(Current()->GetFileName(), Path(saved));
        QCOMPARE(ReadAll(Path(saved)), QByteArray("text"));
    }

    void openDialogOffersTheFileKinds()
    {
        m_host->show();
        TFileDialogSeen seen;
        AnswerFileDialog(seen, QString());
        QCOMPARE(m_tabs->ChooseFileToOpen(), QString());
        QCOMPARE(seen.filters,
                 QStringList({"Velmo programs (*.bas)", "List files (*.lst)", "Hex files (*.hex)", "Log files (*.log)",
                              "All files (*)"}));
    }
};

QTEST_MAIN(TestEditorDocuments)
#include "test_editor_documents.moc"
