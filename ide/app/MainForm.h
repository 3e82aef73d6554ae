#pragma once

#include "CommandRegistry.h"
#include "CommandState.h"
#include "Commands.h"
#include "EditState.h"
#include "Settings.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <optional>

class QAction;
class QComboBox;
class QListWidget;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTimer;
class QToolBar;
class TCaptionPanel;
class TColorListBox;
class TCompilerRunner;
class TFindListBox;
class TStatusPanel;

// Provided by the editor, working-directory and device units.
class IEditor;
class TEditorList;
class TEditorTabs;
class TRecentFiles;
class TImageFileListBox;
class TMcuComRecv;
class TMcuConsole;
class TMcuScope;
class TMcuTransferDlg;

// The one top-level window of Korvid: menus, toolbars, the working-directory
// panel, the editor panel, the output panel and the status bar. It decides
// which commands are enabled and runs start-up and shut-down.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int StatusPanelCount = 7;
    static constexpr int OutputBuildTab = 0;
    static constexpr int OutputFindTab = 1;
    static constexpr int OutputConsoleTab = 2;
    static constexpr int OutputScopeTab = 3;

    explicit TMainWindow(QWidget *parent = nullptr);
    ~TMainWindow() override;

    // The program's command-line arguments (without the program name); the
    // first one is opened when the window is shown.
    void SetArguments(const QStringList &arguments);

    // --- Operations for the other units ---------------------------------
    void OpenFile(const QString &fileName);
    void OpenFileAtLine(const QString &fileName, int line);
    void ShowOutputPanel(bool visible);
    void ShowWorkDirPanel(bool visible);
    void ApplySettings();
    void UpdatePortStatus();

    // Notifications of the editor list; nullptr means no editor.
    void UpdateEditButtons(const TEditState *editor);
    void UpdateCaret(const TEditState *editor);
    void UpdateDocumentState(const TEditState *editor);

    // The current editor (that of the selected tab), or none.
    IEditor *CurrentEditor() const;
    // The state of the current editor, none when no tab is selected.
    virtual std::optional<TEditState> CurrentEditState() const;
    // Whether the serial port is open.
    virtual bool PortIsOpen() const;

    // --- Components by name ---------------------------------------------
    QAction *MenuItem(const QString &name) const; // menu and popup items
    QAction *ToolButton(const QString &name) const; // toolbar buttons
    QMenu *Menu(const QString &name) const; // top menus, submenus, popups
    QString StatusText(int panel) const;
    void SetStatusText(int panel, const QString &text);
    // Gives a view its context menu.
    void AttachPopup(QWidget *view, QMenu *popup);

    // Runs a handler of the command table by name; errors reach the
    // top-level handler. False when no such handler is bound or it failed.
    bool RunCommand(const QString &handler, const QString &sender = QString());
    bool HasHandler(const QString &handler) const;
    // Where every subsystem binds its command handlers.
    TCommandRegistry &Commands()
    {
        return m_commands;
    }

    // --- Opening handlers -------------------------------------------------
    void FileMenuClick();
    void EditMenuClick();
    void ProgramMenuClick();
    void ControllerMenuClick();
    void ViewMenuClick();
    void HelpMenuClick();
    void EditorPopupMenuUpdate();

    // --- Commands on documents the window itself carries out ----------------
    void OpenFileClick();
    void SaveAllFilesClick();

    // --- Command handlers of the window -----------------------------------
    // Starts the compile of the active file; its end comes as the runner's
    // Finished.
    void CompileMenuClick();
    TCompilerRunner &Compiler() const; // the Build list's compiles
    void FindAllMenuClick(); // FindAllCommand.cpp
    void ExitMenuClick();
    void ViewWorkDirMenuClick();
    void ViewOutputMenuClick();
    void ProgrammingManualMenuClick();
    void LanguageMenuClick();
    void SamplesMenuClick();
    void VelmoHomepageMenuClick();
    void TechnicalSupportMenuClick();
    void AboutMenuClick();
    void ClearBtnClick();
    void OutputTabsChanged(int newTab);
    void WorkDirPanelClose();
    void OutputPanelClose();
    void OnCaretUpdateTimer();

    // Working-directory panel and recent files (WorkDirCommands.cpp).
    void UpdateWorkDirCaption();
    void OpenWorkDirFile();
    void WorkDirBtnClick();
    void RefreshBtnClick();
    void WorkDirFilterBtnClick();
    void WorkDirPopupMenuUpdate();
    void DeleteWorkDirFileMenuClick();
    void UpdateRecentFileEntries();
    void OpenRecentFileClick(int index);
    void PrintFileMenuClick();

    // Serial link, console and macros (DeviceWiring.cpp).
    void SettingsMenuClick();
    void ConnectMenuClick();
    void ShowConnected();
    void DisconnectMenuClick();
    void SendMacroBtnClick();
    void ConsoleLoggingMenuClick();
    void ConsolePopupMenuPopup();
    // The log file the user picks, preset with the last one; empty when
    // cancelled.
    virtual QString AskLogFileName(const QString &last);

    // Program download, reset and firmware update (TransferWiring.cpp).
    void DownloadMenuClick();
    void ResetMenuClick();
    void UpdateMenuClick();
    // Whether a download or update runs (the window refuses to close).
    bool TransferRunning() const;
    // Shows the download dialog or the update wizard modally.
    virtual int ExecTransferDialog(TMcuTransferDlg &dialog);

    // Settings file: recent files, working directory, filters, find history.
    void ReadSettings();
    void WriteSettings();

    // The scope (ScopeWiring.cpp): the view, and where the receive
    // dispatcher's sample event goes (channel 0 ... 3 and the value).
    TMcuScope *Scope() const;
    void ReceivedSample(int channel, float value);

    // --- Components ---------------------------------------------------------
    QToolBar *EditToolBar = nullptr;
    QToolBar *ControllerToolBar = nullptr;
    QComboBox *MacroBox = nullptr;
    TCaptionPanel *WorkDirPanel = nullptr;
    QToolBar *WorkDirToolbar = nullptr;
    QTabBar *WorkDirTabs = nullptr;
    QSplitter *WorkDirSplitter = nullptr;
    QWidget *EditorPanel = nullptr;
    QTabBar *EditorTabSet = nullptr;
    QStackedWidget *EditorStack = nullptr;
    QSplitter *OutputSplitter = nullptr;
    TCaptionPanel *OutputPanel = nullptr;
    QToolBar *OutputToolbar = nullptr;
    QComboBox *TimeBaseBox = nullptr;
    QStackedWidget *OutputViews = nullptr;
    QTabBar *OutputTabs = nullptr;
    QTimer *CaretUpdateTimer = nullptr;

    // --- Fields -------------------------------------------------------------
    TEditorList *EditorList = nullptr; // owned by EditorTabs
    TEditorTabs *EditorTabs = nullptr; // pairs EditorTabSet with the editor list
    TImageFileListBox *WorkDirList = nullptr; // the working-directory list
    TRecentFiles *RecentFileList = nullptr;
    TColorListBox *BuildList = nullptr; // output views, stacked in OutputViews
    TFindListBox *FindList = nullptr;
    TMcuConsole *Console = nullptr;
    QWidget *ScopeView = nullptr;
    TMcuComRecv *Receiver = nullptr;
    int CaretLine = 0;
    int CaretColumn = 0;
    bool AllSaved = false;
    TWorkspaceState Workspace; // as read from the settings file

    // Cleared by the one-time settings-file preparation of the first
    // ApplySettings in the process.
    static bool SettingsNotPrepared;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BindCommands();
    void CreateDeviceLink(); // DeviceWiring.cpp
    void DestroyDeviceLink();
    void BindTransferCommands(); // TransferWiring.cpp
    void ApplyPortSettings();
    void ApplyTerminalSettings();
    void SendMacroText(const QByteArray &bytes);
    void CheckCommandBindings() const;
    void ApplyEnabled(const TEnabledItems &items, bool buttons);
    TWorkbenchState WorkbenchState() const;

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormDestroy();

    void CreateActions();
    void CreateMenus();
    void CreatePopupMenus();
    void CreateToolBars();
    void CreatePanelButtons();
    void CreateWorkDirPanel();
    void CreateWorkDirList();
    void ReadWorkDirSettings();
    void WriteWorkDirSettings();
    void CreateEditorPanel();
    void CreateEditorTabs();
    void CreateOutputPanel();
    void CreateOutputViews();
    QWidget *CreateScopeView(QWidget *parent); // ScopeWiring.cpp
    void CreateTimeBaseBox();
    void ClearScopeView();
    void CreateStatusBar();
    QAction *CreateMenuAction(const TCommand &command);
    QAction *CreateButtonAction(const TCommand &command);
    void BindHandler(QAction *action, const char *handler);
    void RunOpeningHandler(TMenuId menu);
    void SetItemEnabled(const char *name, bool enabled);
    void SetButtonEnabled(const char *name, bool enabled);
    void OpenUrl(const QString &url);

    // Window placement, working-directory panel geometry and toolbar
    // arrangement in the layout file (WindowLayout.cpp).
    void RestoreLayout();
    void SaveLayout();

    TCommandRegistry m_commands;
    TCompilerRunner *m_compiler = nullptr; // a child of the window
    QHash<QString, QAction *> FMenuItems;
    QHash<QString, QAction *> FButtons;
    QHash<QString, QMenu *> FMenus;
    QList<QPair<QKeySequence, TMenuId>> FShortcuts;
    TStatusPanel *FStatusPanels[StatusPanelCount] = {};
    QStringList FArguments;
    bool FShown = false;
};
