// The main window: components and commands, enabled states from the opening
// handlers, shortcuts of disabled items, toolbar and status notifications,
// the caret throttle, panels and splitters, output tabs, settings and layout
// across a restart, and the top-level error handler.

#include "AppState.h"
#include "Application.h"
#include "BuildController.h"
#include "CaptionPanel.h"
#include "ColorListBox.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FindListBox.h"
#include "Globals.h"
#include "IniFile.h"
#include "MainForm.h"
#include "RecentFiles.h"
#include "ScopeController.h"
#include "Settings.h"
#include "WorkDirController.h"

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <cerrno>
#include <cstring>

// A window whose current editor and port state the test decides.
class TTestWindow : public TMainWindow {
public:
    using TMainWindow::TMainWindow;

    std::optional<TEditState> editor;
    bool portOpen = false;

    std::optional<TEditState> CurrentEditState() const override
    {
        return editor;
    }
    bool PortIsOpen() const override
    {
        return portOpen;
    }
};

Q_DECLARE_METATYPE(std::optional<TEditState>)

namespace {

TEditState Editor(bool canSave, bool anyCanSave, bool selection, bool canUndo)
{
    TEditState e;
    e.canSave = canSave;
    e.anyCanSave = anyCanSave;
    e.canCut = e.canCopy = e.canDelete = selection;
    e.canUndo = canUndo;
    e.canRedo = false;
    e.canPaste = true;
    return e;
}

// "Name=1" or "Name=0" for each item: its enabled state.
QStringList EnabledStates(TMainWindow &w, const QStringList &names, bool buttons)
{
    QStringList states;
    for (const QString &name : names) {
        QAction *a = buttons ? w.ToolButton(name) : w.MenuItem(name);
        states << name + (a && a->isEnabled() ? "=1" : "=0");
    }
    return states;
}

QStringList Expect(const QStringList &names, const QString &bits)
{
    QStringList states;
    for (int i = 0; i < names.size(); ++i)
        states << names[i] + "=" + bits[i];
    return states;
}

class ThrowingObject : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw EKorvidError("Unable to write to /x/Korvid.ini");
        return QObject::event(e);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

public slots:
    // Receives the desktop shell's "open" requests.
    void RecordUrl(const QUrl &url)
    {
        openedUrls << url;
    }

private:
    QTemporaryDir *dir = nullptr;
    std::unique_ptr<TAppState> m_app;
    QStringList errors;
    QList<QUrl> openedUrls;

    QString SettingsPath() const
    {
        return dir->filePath("prog/Korvid.ini");
    }
    QString LayoutPath() const
    {
        return dir->filePath("config/Korvid.ini");
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        QDir().mkpath(dir->filePath("prog"));
        UseWorkbench(SettingsPath());
        errors.clear();
        openedUrls.clear();
    }

    void cleanup()
    {
        m_app.reset();
        delete dir;
        dir = nullptr;
    }

    // Every command of the table reaches a handler: a menu item, button or
    // key whose command nobody bound would do nothing without a word.
    void everyCommandIsBound()
    {
        TMainWindow w(*m_app);
        QCOMPARE(w.Commands().Unbound(), QStringList());
    }

    void components_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const QList<QPair<const char *, const char *>> rows = {
            {"EditToolBar", "QToolBar"},      {"ControllerToolBar", "QToolBar"}, {"WorkDirPanel", "TCaptionPanel"},
            {"WorkDirToolbar", "QToolBar"},   {"WorkDirList", "QWidget"},        {"WorkDirSplitter", "QSplitter"},
            {"EditorPanel", "QWidget"},       {"EditorTabSet", "QTabBar"},       {"OutputSplitter", "QSplitter"},
            {"OutputPanel", "TCaptionPanel"}, {"OutputToolbar", "QToolBar"},     {"OutputTabs", "QTabBar"},
            {"BuildList", "QWidget"},         {"FindList", "QWidget"},           {"ConsolePlace", "QWidget"},
            {"ScopeView", "TMcuScope"},       {"StatusBar", "QStatusBar"},       {"MacroBox", "QComboBox"},
            {"TimeBaseBox", "QComboBox"},     {"CaretUpdateTimer", "QTimer"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.first) << row.first << row.second;
    }

    void components()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        TMainWindow w(*m_app);
        QObject *o = w.findChild<QObject *>(name);
        QVERIFY2(o, qPrintable(name));
        QVERIFY2(o->inherits(qPrintable(className)), qPrintable(o->metaObject()->className()));
    }

    void windowDesign()
    {
        TMainWindow w(*m_app);
        QCOMPARE(w.objectName(), QString("MainWindow"));
        QCOMPARE(w.windowTitle(), QString("Korvid"));
        QCOMPARE(w.EditToolBar()->windowTitle(), QString("Edit && Build"));
        QCOMPARE(w.ControllerToolBar()->windowTitle(), QString("Connect && Send"));
        QCOMPARE(w.OutputPanel()->Caption(), QString("Output"));
        QStringList tabs;
        for (int i = 0; i < w.OutputTabs()->count(); ++i)
            tabs << w.OutputTabs()->tabText(i);
        QCOMPARE(tabs, QStringList({"Build", "Find", "Console", "Scope"}));
        QCOMPARE(w.findChild<QTabBar *>("WorkDirTabs")->tabText(0), QString("Files"));
        QVERIFY(w.EditorTabSet()->tabsClosable());
        QCOMPARE(w.WorkDirSplitter()->handleWidth(), 4);
        QCOMPARE(w.OutputSplitter()->handleWidth(), 4);
        QCOMPARE(w.WorkDirPanel()->minimumWidth(), 75);
        QCOMPARE(w.OutputPanel()->minimumHeight(), 100);
        QCOMPARE(w.EditorControl().CaretUpdateTimer()->interval(), 50);
        QVERIFY(w.EditorControl().CaretUpdateTimer()->isSingleShot());
        QVERIFY(!w.EditorControl().CaretUpdateTimer()->isActive());
        QCOMPARE(w.ScopeControl().TimeBaseBox()->count(), 19);
        QCOMPARE(w.ScopeControl().TimeBaseBox()->currentText(), QString("1 s / div"));
        QCOMPARE(w.statusBar()->findChildren<QLabel *>(QRegularExpression("^StatusPanel\\d$")).size(), 7);
    }

    void panelDesignSizes()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.WorkDirPanel()->width(), 217);
        QCOMPARE(w.OutputPanel()->height(), 230);
        QVERIFY(w.WorkDirPanel()->isVisible());
        QVERIFY(w.OutputPanel()->isVisible());
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        const QList<std::array<const char *, 4>> rows = {
            {"FileMenu", "NewBasicFileMenu", "&Basic file", "Ctrl+N"},
            {"FileMenu", "NewTextFileMenu", "&Text file", ""},
            {"FileMenu", "OpenFileMenu", "&Open...", "Ctrl+O"},
            {"FileMenu", "SaveFileMenu", "&Save", "Ctrl+S"},
            {"FileMenu", "SaveFileAsMenu", "Save &As...", ""},
            {"FileMenu", "SaveAllFilesMenu", "Sa&ve All Files", ""},
            {"FileMenu", "CloseFileMenu", "&Close", "Ctrl+F4"},
            {"FileMenu", "CloseAllFilesMenu", "Close All Fi&les", "Ctrl+Shift+F4"},
            {"FileMenu", "PrintFileMenu", "&Print...", ""},
            {"FileMenu", "ExitMenu", "E&xit", "Alt+F4"},
            {"EditMenu", "UndoMenu", "&Undo", "Ctrl+Z"},
            {"EditMenu", "RedoMenu", "&Redo", "Ctrl+Shift+Z"},
            {"EditMenu", "CutMenu", "Cu&t", "Ctrl+X"},
            {"EditMenu", "CopyMenu", "&Copy", "Ctrl+C"},
            {"EditMenu", "PasteMenu", "&Paste", "Ctrl+V"},
            {"EditMenu", "DeleteMenu", "De&lete", ""},
            {"EditMenu", "SelectAllMenu", "Select &All", "Ctrl+A"},
            {"EditMenu", "FindMenu", "&Find...", "Ctrl+F"},
            {"EditMenu", "FindAllMenu", "Find &All...", "Ctrl+Shift+F"},
            {"EditMenu", "FindNextMenu", "Find &Next", "F3"},
            {"EditMenu", "FindPrevMenu", "F&ind Previous", "Shift+F3"},
            {"EditMenu", "FindReplaceMenu", "R&eplace...", "Ctrl+R"},
            {"ProgramMenu", "CompileMenu", "&Compile", "F9"},
            {"ProgramMenu", "DownloadMenu", "&Download...", "F10"},
            {"ControllerMenu", "SettingsMenu", "&Settings...", ""},
            {"ControllerMenu", "ConnectMenu", "&Connect", ""},
            {"ControllerMenu", "DisconnectMenu", "&Disconnect", ""},
            {"ControllerMenu", "UpdateMenu", "&Update...", ""},
            {"ControllerMenu", "ResetMenu", "&Reset", "F11"},
            {"ViewMenu", "ViewWorkDirMenu", "Working Directory", ""},
            {"ViewMenu", "ViewOutputMenu", "Output Panel", ""},
            {"HelpMenu", "ProgrammingManualMenu", "Programming Manual", "F1"},
            {"HelpMenu", "LanguageMenu", "Language", ""},
            {"HelpMenu", "SamplesMenu", "Samples", ""},
            {"HelpMenu", "VelmoHomepageMenu", "Velmo Homepage", ""},
            {"HelpMenu", "TechnicalSupportMenu", "Technical Support", ""},
            {"HelpMenu", "AboutMenu", "Info about Velmo IDE", ""},
        };
        for (const auto &r : rows)
            QTest::newRow(r[1]) << r[0] << r[1] << r[2] << r[3];
    }

    void menuItems()
    {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        TMainWindow w(*m_app);
        QAction *a = w.MenuItem(item);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        // The item is reachable from its top menu (directly or in a submenu).
        QMenu *top = w.Menu(menu);
        QVERIFY(top && w.menuBar()->actions().contains(top->menuAction()));
        bool found = top->actions().contains(a);
        for (QAction *sub : top->actions())
            if (sub->menu() && sub->menu()->actions().contains(a))
                found = true;
        QVERIFY(found);
    }

    void submenus()
    {
        TMainWindow w(*m_app);
        QStringList fileSubmenus, helpSubmenus;
        for (QAction *a : w.Menu("FileMenu")->actions())
            if (a->menu())
                fileSubmenus << a->text();
        for (QAction *a : w.Menu("HelpMenu")->actions())
            if (a->menu())
                helpSubmenus << a->text();
        QCOMPARE(fileSubmenus, QStringList({"&New", "&Recent Files"}));
        QCOMPARE(helpSubmenus, QStringList({"Online Help"}));
        QVERIFY(w.MenuItem("ViewWorkDirMenu")->isCheckable());
        QVERIFY(w.MenuItem("ViewOutputMenu")->isCheckable());
    }

    void toolButtons_data()
    {
        QTest::addColumn<QString>("toolbar");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("enabledAtStart");
        const QList<std::tuple<const char *, const char *, const char *, bool>> rows = {
            {"EditToolBar", "NewBtn", "Create new file", true},
            {"EditToolBar", "OpenBtn", "Open file...", true},
            {"EditToolBar", "SaveBtn", "Save file", true},
            {"EditToolBar", "SaveAllBtn", "Save all files", true},
            {"EditToolBar", "CloseBtn", "Close file", true},
            {"EditToolBar", "PrintBtn", "Print file...", true},
            {"EditToolBar", "UndoBtn", "Undo", false},
            {"EditToolBar", "RedoBtn", "Redo", false},
            {"EditToolBar", "CutBtn", "Cut", false},
            {"EditToolBar", "CopyBtn", "Copy", false},
            {"EditToolBar", "PasteBtn", "Paste", false},
            {"EditToolBar", "DeleteBtn", "Delete", false},
            {"EditToolBar", "FindBtn", "Find...", true},
            {"EditToolBar", "FindNextBtn", "Find next", true},
            {"EditToolBar", "ReplaceBtn", "Replace...", true},
            {"EditToolBar", "CompileBtn", "Compile (F9)", true},
            {"EditToolBar", "DownloadBtn", "Download... (F10)", true},
            {"ControllerToolBar", "ConnectBtn", "Connect to microcontroller", true},
            {"ControllerToolBar", "DisconnectBtn", "Disconnect", false},
            {"ControllerToolBar", "SendMacroBtn", "Send macro", true},
            {"OutputToolbar", "ClearBtn", "Clear current view", true},
            {"OutputToolbar", "Channel0Btn", "Setup Channel #0", false},
            {"OutputToolbar", "Channel3Btn", "Setup Channel #3", false},
            {"WorkDirToolbar", "WorkDirBtn", "Select folder...", true},
            {"WorkDirToolbar", "RefreshBtn", "Refresh file list", true},
            {"WorkDirToolbar", "FilterBasBtn", "Filter Basic files (*.bas)", true},
            {"WorkDirToolbar", "FilterLstBtn", "Filter List files (*.lst)", true},
            {"WorkDirToolbar", "FilterHexBtn", "Filter Hex files (*.hex)", true},
        };
        for (const auto &[bar, button, hint, enabled] : rows)
            QTest::newRow(button) << bar << button << hint << enabled;
    }

    void toolButtons()
    {
        QFETCH(QString, toolbar);
        QFETCH(QString, button);
        QFETCH(QString, hint);
        QFETCH(bool, enabledAtStart);
        TMainWindow w(*m_app);
        QAction *a = w.ToolButton(button);
        QVERIFY(a);
        QCOMPARE(a->toolTip(), hint);
        QVERIFY(w.findChild<QToolBar *>(toolbar)->actions().contains(a));
        QCOMPARE(a->isEnabled(), enabledAtStart);
    }

    void newButtonOffersBothKinds()
    {
        TMainWindow w(*m_app);
        QMenu *menu = w.ToolButton("NewBtn")->menu();
        QVERIFY(menu);
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, QStringList({"&Basic file", "&Text file"}));
    }

    void popupMenus_data()
    {
        QTest::addColumn<QString>("popup");
        QTest::addColumn<QStringList>("items"); // caption, then "|" and the shortcut if any
        QTest::newRow("editor") << "EditorPopupMenu"
                                << QStringList{"&Close|Ctrl+F4", "&Undo|Ctrl+Z",      "&Redo|Ctrl+Shift+Z",
                                               "Cu&t|Ctrl+X",    "C&opy|Ctrl+C",      "&Paste|Ctrl+V",
                                               "&Delete",        "Select &All|Ctrl+A"};
        QTest::newRow("workdir") << "WorkDirPopupMenu" << QStringList{"&Refresh List", "&Delete File"};
        QTest::newRow("build") << "OutputPopupMenu" << QStringList{"&Clear output"};
        QTest::newRow("find") << "FindPopupMenu" << QStringList{"&Clear output"};
        QTest::newRow("scope") << "ScopePopupMenu"
                               << QStringList{"&Clear output", "&Pause", "&Export samples...", "&Save picture..."};
        QTest::newRow("console") << "ConsolePopupMenu"
                                 << QStringList{"&Clear output", "&Logging...", "C&opy", "&Save text..."};
    }

    void popupMenus()
    {
        QFETCH(QString, popup);
        QFETCH(QStringList, items);
        TMainWindow w(*m_app);
        QStringList texts;
        for (QAction *a : w.Menu(popup)->actions()) {
            if (a->isSeparator())
                continue;
            const QString key = a->shortcut().toString(QKeySequence::PortableText);
            texts << (key.isEmpty() ? a->text() : a->text() + "|" + key);
        }
        QCOMPARE(texts, items);
    }

    void editorPopupItemsActOnTheCurrentEditor()
    {
        QFile file(dir->filePath("a.bas"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("10 PRINT 1\n20 END");
        file.close();
        TMainWindow w(*m_app);
        w.OpenFile(dir->filePath("other.bas"));
        w.OpenFile(file.fileName());
        QCOMPARE(w.CurrentEditor()->GetSelText(), QString());
        w.MenuItem("EditorSelectAllItem")->trigger();
        QCOMPARE(w.CurrentEditor()->GetSelText(), QString("10 PRINT 1\n20 END"));
        w.MenuItem("EditorCloseItem")->trigger();
        QCOMPARE(w.EditorControl().EditorList()->OpenCount(), 1);
        QCOMPARE(w.CurrentEditor()->GetFileName(), dir->filePath("other.bas"));
    }

    void openingHandlers_data()
    {
        QTest::addColumn<std::optional<TEditState>>("editor");
        QTest::addColumn<QString>("fileBits"); // Save SaveAs SaveAll Close CloseAll Print New Open Exit
        QTest::addColumn<QString>(
            "editBits"); // Undo Redo Cut Copy Paste Delete SelectAll Find FindNext FindPrev Replace
        QTest::addColumn<bool>("compile");

        QTest::newRow("no editor") << std::optional<TEditState>() << "000000111"
                                   << "00000000000" << false;
        QTest::newRow("unsaved editor with selection")
            << std::optional<TEditState>(Editor(true, true, true, true)) << "111111111"
            << "10111111111" << true;
        QTest::newRow("saved editor, another one unsaved")
            << std::optional<TEditState>(Editor(false, true, false, false)) << "011111111"
            << "00001011111" << true;
        QTest::newRow("nothing to save anywhere")
            << std::optional<TEditState>(Editor(false, false, false, false)) << "010111111"
            << "00001011111" << true;
    }

    void openingHandlers()
    {
        QFETCH(std::optional<TEditState>, editor);
        QFETCH(QString, fileBits);
        QFETCH(QString, editBits);
        QFETCH(bool, compile);
        const QStringList fileItems = {"SaveFileMenu",     "SaveFileAsMenu",    "SaveAllFilesMenu",
                                       "CloseFileMenu",    "CloseAllFilesMenu", "PrintFileMenu",
                                       "NewBasicFileMenu", "OpenFileMenu",      "ExitMenu"};
        const QStringList editItems = {"UndoMenu",     "RedoMenu",     "CutMenu",        "CopyMenu",
                                       "PasteMenu",    "DeleteMenu",   "SelectAllMenu",  "FindMenu",
                                       "FindNextMenu", "FindPrevMenu", "FindReplaceMenu"};
        TTestWindow w(*m_app);
        // Start from the opposite of the no-editor state so that stale
        // states cannot pass for computed ones.
        for (QAction *a : w.findChildren<QAction *>())
            a->setEnabled(editor.has_value() ? false : true);
        w.editor = editor;
        w.FileMenuClick();
        w.EditMenuClick();
        w.ProgramMenuClick();
        for (int i = 6; i < fileItems.size(); ++i) // items the handler does not touch
            w.MenuItem(fileItems[i])->setEnabled(true);
        QCOMPARE(EnabledStates(w, fileItems, false), Expect(fileItems, fileBits));
        QCOMPARE(EnabledStates(w, editItems, false), Expect(editItems, editBits));
        QCOMPARE(w.MenuItem("CompileMenu")->isEnabled(), compile);
    }

    void findAllIsNeverTouched()
    {
        TTestWindow w(*m_app);
        for (const bool start : {false, true}) {
            w.MenuItem("FindAllMenu")->setEnabled(start);
            for (const bool hasEditor : {false, true}) {
                w.editor = hasEditor ? std::optional<TEditState>(Editor(true, true, true, true)) : std::nullopt;
                w.EditMenuClick();
                QCOMPARE(w.MenuItem("FindAllMenu")->isEnabled(), start);
            }
        }
    }

    void controllerMenuTouchesOnlyReset()
    {
        TTestWindow w(*m_app);
        w.MenuItem("ConnectMenu")->setEnabled(false);
        w.MenuItem("DisconnectMenu")->setEnabled(true);
        w.portOpen = false;
        w.ControllerMenuClick();
        QVERIFY(!w.MenuItem("ResetMenu")->isEnabled());
        w.portOpen = true;
        w.ControllerMenuClick();
        QVERIFY(w.MenuItem("ResetMenu")->isEnabled());
        QVERIFY(!w.MenuItem("ConnectMenu")->isEnabled());
        QVERIFY(w.MenuItem("DisconnectMenu")->isEnabled());
    }

    void helpMenuShowsManualOnlyWhenPresent()
    {
        TTestWindow w(*m_app);
        auto separatorVisible = [&w] {
            for (QAction *a : w.Menu("HelpMenu")->actions())
                if (a->objectName() == "ManualSeparator")
                    return a->isVisible();
            return false;
        };
        w.HelpMenuClick();
        QVERIFY(!w.MenuItem("ProgrammingManualMenu")->isVisible());
        QVERIFY(!separatorVisible());
        QDir().mkpath(m_app->Paths().ProgramDir() + "Help");
        QFile manual(m_app->Paths().ProgramDir() + "Help/Velmo.pdf");
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        w.HelpMenuClick();
        QVERIFY(w.MenuItem("ProgrammingManualMenu")->isVisible());
        QVERIFY(separatorVisible());
    }

    void editorPopupFollowsEditor()
    {
        TTestWindow w(*m_app);
        for (QAction *a : w.Menu("EditorPopupMenu")->actions())
            a->setEnabled(false);
        w.EditorPopupMenuUpdate(); // no editor: nothing changes
        QVERIFY(!w.MenuItem("EditorCutItem")->isEnabled());
        QVERIFY(!w.MenuItem("EditorCloseItem")->isEnabled());
        w.editor = Editor(true, true, true, false);
        w.EditorPopupMenuUpdate();
        QVERIFY(w.MenuItem("EditorCutItem")->isEnabled());
        QVERIFY(!w.MenuItem("EditorUndoItem")->isEnabled());
        QVERIFY(w.MenuItem("EditorCloseItem")->isEnabled());
        QVERIFY(w.MenuItem("EditorSelectAllItem")->isEnabled());
    }

    void shortcutRunsOpeningHandlerFirst()
    {
        TTestWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QAction *save = w.MenuItem("SaveFileMenu");
        QSignalSpy triggered(save, &QAction::triggered);

        // Stale enabled state, but no editor: the key does nothing.
        save->setEnabled(true);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 0);
        QVERIFY(!save->isEnabled());

        // Stale disabled state, but an editor that can save: the key acts.
        w.editor = Editor(true, true, false, false);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);

        // The same through the Edit menu's handler.
        QSignalSpy cut(w.MenuItem("CutMenu"), &QAction::triggered);
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(cut.count(), 0);
        w.editor = Editor(true, true, true, false);
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(cut.count(), 1);
    }

    void editButtons_data()
    {
        QTest::addColumn<std::optional<TEditState>>("editor");
        QTest::addColumn<QString>("bits"); // Cut Copy Undo Redo Paste Delete
        QTest::newRow("none") << std::optional<TEditState>() << "000000";
        QTest::newRow("selection") << std::optional<TEditState>(Editor(true, true, true, false)) << "110011";
        QTest::newRow("undo only") << std::optional<TEditState>(Editor(true, true, false, true)) << "001010";
    }

    void editButtons()
    {
        QFETCH(std::optional<TEditState>, editor);
        QFETCH(QString, bits);
        const QStringList names = {"CutBtn", "CopyBtn", "UndoBtn", "RedoBtn", "PasteBtn", "DeleteBtn"};
        TMainWindow w(*m_app);
        for (const QString &n : names)
            w.ToolButton(n)->setEnabled(!editor.has_value());
        w.EditorControl().UpdateEditButtons(editor ? &*editor : nullptr);
        QCOMPARE(EnabledStates(w, names, true), Expect(names, bits));
    }

    void documentState_data()
    {
        QTest::addColumn<std::optional<TEditState>>("editor");
        QTest::addColumn<QString>("bits"); // Find Replace Compile FindNext Close Print Save SaveAll
        QTest::addColumn<QString>("panel1");
        QTest::addColumn<QString>("panel2");

        TEditState modified = Editor(true, true, false, false);
        modified.modified = true;
        TEditState overwrite = Editor(false, false, false, false);
        overwrite.insertMode = false;
        TEditState readOnly = overwrite;
        readOnly.readOnly = true;
        TEditState insertReadOnly = Editor(false, true, false, false);
        insertReadOnly.readOnly = true;

        QTest::newRow("none") << std::optional<TEditState>() << "00000000"
                              << ""
                              << "";
        QTest::newRow("modified") << std::optional<TEditState>(modified) << "11111111"
                                  << "Modified"
                                  << "Insert";
        QTest::newRow("overwrite") << std::optional<TEditState>(overwrite) << "11111100"
                                   << ""
                                   << "Overwrite";
        QTest::newRow("read only") << std::optional<TEditState>(readOnly) << "11111100"
                                   << ""
                                   << "Read only";
        QTest::newRow("insert wins over read only") << std::optional<TEditState>(insertReadOnly) << "11111101"
                                                    << ""
                                                    << "Insert";
    }

    void documentState()
    {
        QFETCH(std::optional<TEditState>, editor);
        QFETCH(QString, bits);
        QFETCH(QString, panel1);
        QFETCH(QString, panel2);
        const QStringList names = {"FindBtn",  "ReplaceBtn", "CompileBtn", "FindNextBtn",
                                   "CloseBtn", "PrintBtn",   "SaveBtn",    "SaveAllBtn"};
        TMainWindow w(*m_app);
        w.SetStatusText(1, "stale");
        w.SetStatusText(2, "stale");
        w.EditorControl().UpdateDocumentState(editor ? &*editor : nullptr);
        QCOMPARE(EnabledStates(w, names, true), Expect(names, bits));
        QCOMPARE(w.StatusText(1), panel1);
        QCOMPARE(w.StatusText(2), panel2);
    }

    void caretThrottle()
    {
        TMainWindow w(*m_app);
        TEditState e;
        e.caretLine = 1;
        e.caretColumn = 1;
        w.SetStatusText(0, "old");
        w.EditorControl().UpdateCaret(&e);
        QCOMPARE(w.StatusText(0), QString("old")); // not at once
        QVERIFY(w.EditorControl().CaretUpdateTimer()->isActive());
        const int firstRemaining = w.EditorControl().CaretUpdateTimer()->remainingTime();
        // Until the timer's remaining time has gone down (a restart would
        // bring it back up); no events are processed meanwhile.
        QDeadlineTimer deadline(1000);
        while (w.EditorControl().CaretUpdateTimer()->remainingTime() >= firstRemaining && !deadline.hasExpired()) { }
        QVERIFY(w.EditorControl().CaretUpdateTimer()->remainingTime() < firstRemaining);
        for (int line = 2; line <= 500; ++line) {
            e.caretLine = line;
            e.caretColumn = line % 7 + 1;
            w.EditorControl().UpdateCaret(&e);
        }
        // Switching on a running timer does not restart it.
        QVERIFY(w.EditorControl().CaretUpdateTimer()->remainingTime() <= firstRemaining);
        QCOMPARE(w.StatusText(0), QString("old"));
        QTRY_COMPARE(w.StatusText(0), QString("500: 4"));
        QVERIFY(!w.EditorControl().CaretUpdateTimer()->isActive());
        QCOMPARE(w.EditorControl().CaretLine(), 500);
        QCOMPARE(w.EditorControl().CaretColumn(), 4);

        w.EditorControl().UpdateCaret(nullptr);
        QCOMPARE(w.StatusText(0), QString()); // cleared at once
    }

    void noEditorCancelsAPendingCaretUpdate()
    {
        TMainWindow w(*m_app);
        TEditState e;
        e.caretLine = 7;
        e.caretColumn = 3;
        w.EditorControl().UpdateCaret(&e);
        w.EditorControl().UpdateCaret(nullptr); // the editor went away within the 50 ms
        QVERIFY(!w.EditorControl().CaretUpdateTimer()->isActive()); // so no update can come any more
        QCoreApplication::processEvents();
        QCOMPARE(w.StatusText(0), QString());
    }

    void statusPanelDesign_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("width"); // 0: takes the rest of the bar
        const int widths[] = {70, 77, 70, 137, 50, 50, 0};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(qPrintable(QString("panel %1").arg(i))) << i << widths[i];
    }

    void statusPanelDesign()
    {
        QFETCH(int, panel);
        QFETCH(int, width);
        TMainWindow w(*m_app);
        auto *label = w.findChild<QLabel *>(QString("StatusPanel%1").arg(panel));
        QVERIFY(label);
        QCOMPARE(w.StatusText(panel), QString(panel == 0 ? " 1:1 " : ""));
        w.resize(1000, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (width > 0) {
            QCOMPARE(label->width(), width);
            QCOMPARE(label->alignment(), Qt::AlignCenter);
        } else {
            QVERIFY(label->width() > 200);
        }
    }

    void statusPanelsStartState()
    {
        TMainWindow w(*m_app);
        w.SetStatusText(0, "x");
        w.show();
        // Shown: no editor, so panels 0 to 2 are empty and the editor buttons off.
        QCOMPARE(w.StatusText(0), QString());
        QCOMPARE(w.StatusText(1), QString());
        QCOMPARE(w.StatusText(2), QString());
        QVERIFY(!w.ToolButton("SaveBtn")->isEnabled());
        QVERIFY(!w.ToolButton("CompileBtn")->isEnabled());
        QCOMPARE(w.OutputTabs()->currentIndex(), 0);
        QCOMPARE(w.OutputViews()->currentWidget(), static_cast<QWidget *>(w.BuildControl().BuildList()));
        const QString longName = "/very/long/path/" + QString("folder/").repeated(40) + "console.log";
        w.SetStatusText(6, longName);
        QCOMPARE(w.StatusText(6), longName);
        auto *last = w.findChild<QLabel *>("StatusPanel6");
        QVERIFY(last->text().contains(QChar(0x2026))); // shortened with an ellipsis
    }

    void outputPanelWithSplitter()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSplitterHandle *handle = w.OutputSplitter()->handle(1);
        QVERIFY(w.OutputPanel()->isVisible() && handle->isVisible());
        QWidget *row = w.OutputPanel()->parentWidget(); // shared with the debug views
        QCOMPARE(w.OutputSplitter()->indexOf(row), 1); // below the editors

        w.ShowOutputPanel(false);
        QVERIFY(!w.OutputPanel()->isVisible());
        QVERIFY(!handle->isVisible());
        w.ShowOutputPanel(false); // already hidden: nothing changes
        QVERIFY(!w.OutputPanel()->isVisible());

        w.ShowOutputPanel(true);
        QVERIFY(w.OutputPanel()->isVisible());
        QVERIFY(handle->isVisible());
        QVERIFY(handle->geometry().bottom() < row->geometry().top() + 1);

        w.OutputPanel()->CloseButton()->click();
        QVERIFY(!w.OutputPanel()->isVisible());
        QVERIFY(!handle->isVisible());
        w.ViewMenuClick();
        QVERIFY(!w.MenuItem("ViewOutputMenu")->isChecked());
        w.MenuItem("ViewOutputMenu")->trigger();
        QVERIFY(w.OutputPanel()->isVisible());
        QVERIFY(handle->isVisible());
    }

    void workDirPanelWithSplitter()
    {
        TMainWindow w(*m_app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSplitterHandle *handle = w.WorkDirSplitter()->handle(1);
        QCOMPARE(w.WorkDirSplitter()->indexOf(w.WorkDirPanel()), 0); // left of the editors
        w.WorkDirPanel()->CloseButton()->click();
        QVERIFY(!w.WorkDirPanel()->isVisible());
        QVERIFY(!handle->isVisible());
        w.ViewMenuClick();
        QVERIFY(!w.MenuItem("ViewWorkDirMenu")->isChecked());
        QVERIFY(w.MenuItem("ViewOutputMenu")->isChecked());
        w.MenuItem("ViewWorkDirMenu")->trigger();
        QVERIFY(w.WorkDirPanel()->isVisible());
        QVERIFY(handle->isVisible());
        QVERIFY(handle->geometry().left() >= w.WorkDirPanel()->geometry().right());
        w.MenuItem("ViewWorkDirMenu")->trigger();
        QVERIFY(!w.WorkDirPanel()->isVisible());
    }

    void outputTabs_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("view");
        QTest::addColumn<bool>("scopeControls");
        QTest::newRow("build") << 0 << "BuildList" << false;
        QTest::newRow("find") << 1 << "FindList" << false;
        QTest::newRow("console") << 2 << "Console" << false;
        QTest::newRow("scope") << 3 << "ScopeView" << true;
    }

    void outputTabs()
    {
        QFETCH(int, tab);
        QFETCH(QString, view);
        QFETCH(bool, scopeControls);
        TMainWindow w(*m_app);
        w.OutputTabs()->setCurrentIndex(3);
        w.OutputTabs()->setCurrentIndex(tab == 3 ? 0 : 3);
        w.OutputTabs()->setCurrentIndex(tab);
        QCOMPARE(w.OutputViews()->currentWidget()->objectName(), view);
        for (const char *b : {"Channel0Btn", "Channel1Btn", "Channel2Btn", "Channel3Btn"})
            QCOMPARE(w.ToolButton(b)->isEnabled(), scopeControls);
        QCOMPARE(w.ScopeControl().TimeBaseBox()->isEnabled(), scopeControls);
    }

    void clearClearsCurrentView()
    {
        TMainWindow w(*m_app);
        w.BuildControl().BuildList()->addItems({"a", "b"});
        w.EditorControl().FindList()->addItems({"c"});
        w.OutputTabs()->setCurrentIndex(1);
        w.ToolButton("ClearBtn")->trigger();
        QCOMPARE(w.EditorControl().FindList()->count(), 0);
        QCOMPARE(w.BuildControl().BuildList()->count(), 2);
        w.OutputTabs()->setCurrentIndex(0);
        w.MenuItem("OutputClearItem")->trigger();
        QCOMPARE(w.BuildControl().BuildList()->count(), 0);
    }

    void settingsSurviveRestart()
    {
        {
            IniWrite("Folders", "FilterLst", "1");
            IniWrite("Folders", "FilterHex", "2");
            IniWrite("MRUFiles", "File0", "/a.bas");
        }
        QRect placed;
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(!w.ToolButton("FilterBasBtn")->isChecked());
            QVERIFY(w.ToolButton("FilterLstBtn")->isChecked());
            QVERIFY(!w.ToolButton("FilterHexBtn")->isChecked());
            QCOMPARE(w.Workspace().recentFiles, QStringList{"/a.bas"});
            w.ToolButton("FilterBasBtn")->setChecked(true);
            w.setGeometry(40, 50, 700, 560);
            w.WorkDirSplitter()->setSizes({260, 440});
            placed = w.geometry();
            w.close();
        }
        const TIniFile settings(SettingsPath());
        QCOMPARE(settings.ReadString("Folders", "FilterBas", ""), QString("1"));
        QCOMPARE(settings.ReadString("Folders", "FilterHex", ""), QString("0"));
        QCOMPARE(settings.ReadString("MRUFiles", "File0", ""), QString("/a.bas"));
        const TIniFile layout(LayoutPath());
        // Written as the controls go away: the panel, the window, the toolbars.
        QStringList sections;
        for (const QString &line : TIniFile::LoadLines(LayoutPath()))
            if (line.startsWith('['))
                sections << line;
        QCOMPARE(sections, QStringList({"[WorkDirPanel]", "[MainForm]", "[ToolBars]"}));
        QCOMPARE(layout.ReadInteger("MainForm", "Left", -1), placed.left());
        QCOMPARE(layout.ReadInteger("MainForm", "Right", -1), placed.left() + placed.width());
        QCOMPARE(layout.ReadInteger("WorkDirPanel", "Width", -1), 260);
        QCOMPARE(layout.ReadInteger("ToolBars", "ToolBarCount", -1), 2);
        QCOMPARE(layout.ReadInteger("ToolBars", "RowCount", -1), 2);
        QCOMPARE(layout.ReadString("ToolBars", "Name1", ""), QString("EditToolBar"));
        QCOMPARE(layout.ReadString("ToolBars", "ControllerToolBar.Row", ""), QString("1"));

        TMainWindow again(*m_app);
        QCOMPARE(again.geometry(), placed);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.WorkDirPanel()->width(), 260);
        QVERIFY(again.ToolButton("FilterBasBtn")->isChecked());
        QVERIFY(again.ControllerToolBar()->y() > again.EditToolBar()->y());
    }

    void toolbarArrangementRestored()
    {
        IniWrite("ToolBars", "ToolBarCount", "2", true);
        IniWrite("ToolBars", "Name1", "ControllerToolBar", true);
        IniWrite("ToolBars", "Name2", "EditToolBar", true);
        IniWrite("ToolBars", "ControllerToolBar.Row", "0", true);
        IniWrite("ToolBars", "EditToolBar.Row", "0", true);
        IniWrite("ToolBars", "EditToolBar.Left", "400", true);
        IniWrite("ToolBars", "EditToolBar.Visible", "0", true);
        TMainWindow w(*m_app);
        w.resize(1200, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.EditToolBar()->isVisible());
        QVERIFY(w.ControllerToolBar()->isVisible());
        QVERIFY(!w.toolBarBreak(w.ControllerToolBar()));
    }

    void unusableStoredPlacementIsIgnored()
    {
        IniWrite("MainForm", "Left", "-30000", true);
        IniWrite("MainForm", "Top", "-30000", true);
        IniWrite("MainForm", "Right", "-29000", true);
        IniWrite("MainForm", "Bottom", "-29000", true);
        TMainWindow w(*m_app);
        QCOMPARE(w.size(), QSize(633, 520));
        // Placed as at a first start: centred on the desktop.
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((w.geometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QString("%1,%2").arg(w.geometry().center().x()).arg(w.geometry().center().y())));
    }

    // Absurd numbers in the layout file: start-up does not spin, the editor
    // keeps its room, the window fits the screen, and what is saved back at
    // the end is sane again.
    void absurdLayoutNumbers_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("tool bar count") << "ToolBars"
                                        << "ToolBarCount"
                                        << "2147483647";
        QTest::newRow("panel width") << "WorkDirPanel"
                                     << "Width"
                                     << "2147483647";
        QTest::newRow("window right") << "MainForm"
                                      << "Right"
                                      << "-2147483648";
        QTest::newRow("window bottom") << "MainForm"
                                       << "Bottom"
                                       << "2147483647";
    }

    void absurdLayoutNumbers()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        IniWrite("ToolBars", "Name1", "EditToolBar", true);
        IniWrite("ToolBars", "Name2", "ControllerToolBar", true);
        IniWrite(section, key, value, true);
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY(w.width() <= screen.width() && w.height() <= screen.height());
            QVERIFY2(w.EditorPanel()->width() >= 100, qPrintable(QString::number(w.EditorPanel()->width())));
        }
        const TIniFile layout(LayoutPath());
        QVERIFY(layout.ReadInteger("WorkDirPanel", "Width", -1) < layout.ReadInteger("MainForm", "Right", 0));
        QCOMPARE(layout.ReadInteger("ToolBars", "ToolBarCount", -1), 2);
    }

    void helpCommandsOpenTheirAddresses()
    {
        TMainWindow w(*m_app);
        for (const char *scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "RecordUrl");
        const QStringList commands = {"VelmoHomepageMenu", "LanguageMenu", "SamplesMenu", "TechnicalSupportMenu",
                                      "ProgrammingManualMenu"};
        for (const QString &command : commands)
            w.MenuItem(command)->trigger();
        for (const char *scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(openedUrls.size(), commands.size());
        const QString home = openedUrls[0].toString();
        QVERIFY(home.endsWith('/'));
        QCOMPARE(openedUrls[1].toString(), home + "language");
        QCOMPARE(openedUrls[2].toString(), home + "samples");
        QCOMPARE(openedUrls[3].scheme(), QString("mailto"));
        QVERIFY(openedUrls[3].path().contains('@'));
        QCOMPARE(openedUrls[4], QUrl::fromLocalFile(m_app->Paths().ProgramDir() + "Help/Velmo.pdf"));
    }

    void refusedSettingsWriteIsReported()
    {
        // The settings file's folder is taken by a file: there is nothing to
        // read, and the write at the end is refused.
        QFile blocker(dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString settings = dir->filePath("blocker/Korvid.ini");
        UseWorkbench(settings);
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(errors.isEmpty());
        }
        QCOMPARE(errors, QStringList{"Unable to write to " + settings});
        // The layout is still written.
        QVERIFY(QFile::exists(LayoutPath()));
    }

    // A settings file that exists but cannot be read (a folder in its place):
    // the user is told once, the defaults are used, and nothing is written to
    // it - not by the preparation, not at the end, not by a second window.
    void unreadableSettingsFileIsToldOnceAndNeverWritten()
    {
        QDir().mkpath(SettingsPath());
        const QStringList told = {
            Settings::UnreadableMessage(SettingsPath(), QString::fromLocal8Bit(strerror(EISDIR)))};
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(errors, told);
            QCOMPARE(w.Workspace().workingDir, m_app->Paths().ProgramDir());
        }
        {
            TMainWindow again(*m_app);
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
        }
        QCOMPARE(errors, told);
        QVERIFY(QDir(SettingsPath()).isEmpty());
        QVERIFY(QFile::exists(LayoutPath()));
    }

    void preparationRunsOncePerProcess()
    {
        QDir().mkpath(m_app->Paths().ProgramDir() + "Samples");
        IniWrite("Folders", "WorkingDir", "<APPROOT>\\Samples");
        {
            TMainWindow w(*m_app);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            // Read before the preparation: the directory does not exist yet.
            QCOMPARE(w.Workspace().workingDir, m_app->Paths().ProgramDir());
            QVERIFY(m_app->SettingsPrepared());
            QCOMPARE(TIniFile(SettingsPath()).ReadString("Folders", "WorkingDir", ""),
                     m_app->Paths().ProgramDir() + "Samples");
            w.Workspace().workingDir = m_app->Paths().ProgramDir() + "Samples";
        }
        IniWrite("Transfer", "LastFile", "<approot>\\x.hex");
        TMainWindow second(*m_app);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.Workspace().workingDir, m_app->Paths().ProgramDir() + "Samples");
        QCOMPARE(TIniFile(SettingsPath()).ReadString("Transfer", "LastFile", ""), QString("<approot>\\x.hex"));
    }

    void commandLineOpensFirstArgumentOnly()
    {
        const QString first = dir->filePath("missing.bas");
        const QString second = dir->filePath("second.bas");
        TMainWindow w(*m_app);
        w.SetArguments({first, second});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.EditorControl().EditorList()->OpenCount(), 1);
        IEditor *editor = w.CurrentEditor();
        QVERIFY(editor);
        QCOMPARE(editor->GetFileName(), first);
        QCOMPARE(w.WorkDirControl().RecentFileList()->FileAt(0), first);
        QVERIFY(!QFile::exists(first)); // created only when saved
        QVERIFY(w.CurrentEditState().has_value());
        QVERIFY(w.ToolButton("CompileBtn")->isEnabled());
    }

    void commandLineNameIsRelativeToTheStartDirectory()
    {
        QFile file(dir->filePath("start/prog.bas"));
        QVERIFY(QDir(dir->path()).mkpath("start"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BYTE i\n");
        file.close();
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->filePath("start")));
        const QStringList arguments = AbsoluteFileNames({"prog.bas"});
        TMainWindow w(*m_app); // moves the current directory to the working directory
        QDir::setCurrent(started);
        w.SetArguments(arguments);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        IEditor *editor = w.CurrentEditor();
        QVERIFY(editor);
        QCOMPARE(editor->GetFileName(), file.fileName());
        QCOMPARE(editor->GetLines().value(0), QString("BYTE i"));
    }

    void decimalSeparatorIsPoint()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        InitGlobals();
        QCOMPARE(QLocale().toString(1.5), QString("1.5"));
        QCOMPARE(QLocale().toDouble("2.25"), 2.25);
        QVERIFY(TWorkbenchPaths::OfProgram().ProgramDir().endsWith('/'));
    }

    void commandErrorsReachTheTopLevelHandler()
    {
        ThrowingObject thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(errors, QStringList{"Unable to write to /x/Korvid.ini"});
        QVERIFY(!RunGuarded([] { throw std::runtime_error("disk full"); }));
        QCOMPARE(errors.last(), QString("disk full"));
        QVERIFY(RunGuarded([] {}));
        QCOMPARE(errors.size(), 2);
    }

private:
    // A workbench of its own with the settings file given; errors go to errors.
    void UseWorkbench(const QString &settings)
    {
        m_app.reset();
        m_app = std::make_unique<TAppState>(TWorkbenchPaths(dir->filePath("prog"), settings, LayoutPath()));
        m_app->DialogHooks().errorReporter = [this](const QString &m) { errors << m; };
    }

    void IniWrite(const QString &section, const QString &key, const QString &value, bool layout = false)
    {
        TIniFile(layout ? LayoutPath() : SettingsPath()).WriteString(section, key, value);
    }
};

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
