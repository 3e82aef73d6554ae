#pragma once

#include "CommandRegistry.h"
#include "CommandState.h"
#include "Commands.h"
#include "EditState.h"
#include "Settings.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolBar;
class TCaptionPanel;
class TColorListBox;
class TStatusPanel;

class IEditor;
class TAppState;
class TMcuTransferDlg;
class TBuildController;
class TCompilerRunner;
class TDebugController;
class TDeviceController;
class TDiagnosticsController;
class TEditorController;
class TScopeController;
class TTransferController;
class TWorkDirController;

// The one top-level window of Korvid: menus, toolbars, the working-directory
// panel, the editor panel, the output panel and the status bar. It decides
// which commands are enabled and runs start-up and shut-down; the wiring of
// each subsystem is a controller the window composes (editor tabs, build,
// serial link and console, scope, transfers, working directory).
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int StatusPanelCount = 7;
    static constexpr int OutputBuildTab = 0;
    static constexpr int OutputFindTab = 1;
    static constexpr int OutputConsoleTab = 2;
    static constexpr int OutputScopeTab = 3;

    // The window of the workbench whose state is app (it outlives the window).
    explicit TMainWindow(TAppState &app, QWidget *parent = nullptr);
    ~TMainWindow() override;

    // The program's command-line arguments (without the program name); the
    // first one is opened when the window is shown.
    void SetArguments(const QStringList &arguments);

    TAppState &App() const
    {
        return m_app;
    }

    // --- The controllers ------------------------------------------------
    TEditorController &EditorControl() const;
    TBuildController &BuildControl() const;
    TDeviceController &DeviceControl() const;
    TScopeController &ScopeControl() const;
    TTransferController &TransferControl() const;
    TWorkDirController &WorkDirControl() const;
    TDiagnosticsController &DiagnosticsControl() const;
    TDebugController &DebugControl() const;

    // --- Operations for the controllers ---------------------------------
    void OpenFile(const QString &fileName);
    void OpenFileAtLine(const QString &fileName, int line);
    void ShowOutputPanel(bool visible);
    void ShowWorkDirPanel(bool visible);
    // Brings the console forward unless the scope shows, and gives it the
    // keyboard focus.
    void ShowConsoleTab();
    void ApplyEnabled(const TEnabledItems &items, bool buttons);

    // The current editor (that of the selected tab), or none.
    IEditor *CurrentEditor() const;
    // The state of the current editor, none when no tab is selected.
    virtual std::optional<TEditState> CurrentEditState() const;
    // Whether the serial port is open.
    virtual bool PortIsOpen() const;
    // The log file the user picks, preset with the last one; empty when
    // cancelled.
    virtual QString AskLogFileName(const QString &last);
    // Shows the download dialog or the update wizard modally.
    virtual int ExecTransferDialog(TMcuTransferDlg &dialog);

    // --- Components by name ---------------------------------------------
    QAction *MenuItem(const QString &name) const; // menu and popup items
    QAction *ToolButton(const QString &name) const; // toolbar buttons
    QMenu *Menu(const QString &name) const; // top menus, submenus, popups
    // Makes an item created by a controller reachable by its name.
    void AddMenuItem(QAction *item);
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

    // --- Command handlers of the window -----------------------------------
    void CompileMenuClick(); // the build controller's, for the Compile command
    TCompilerRunner &Compiler() const; // the Build list's compiles
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

    // Settings file: recent files, working directory, filters, find history.
    void ReadSettings();
    void WriteSettings();
    // The workspace as read from the settings file.
    TWorkspaceState &Workspace()
    {
        return m_workspace;
    }

    // --- Components -------------------------------------------------------
    QToolBar *EditToolBar() const
    {
        return m_editToolBar;
    }
    QToolBar *ControllerToolBar() const
    {
        return m_controllerToolBar;
    }
    TCaptionPanel *WorkDirPanel() const
    {
        return m_workDirPanel;
    }
    QToolBar *WorkDirToolbar() const
    {
        return m_workDirToolbar;
    }
    QSplitter *WorkDirSplitter() const
    {
        return m_workDirSplitter;
    }
    QWidget *EditorPanel() const
    {
        return m_editorPanel;
    }
    QTabBar *EditorTabSet() const
    {
        return m_editorTabSet;
    }
    QSplitter *OutputSplitter() const
    {
        return m_outputSplitter;
    }
    TCaptionPanel *OutputPanel() const
    {
        return m_outputPanel;
    }
    QStackedWidget *OutputViews() const
    {
        return m_outputViews;
    }
    QTabBar *OutputTabs() const
    {
        return m_outputTabs;
    }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BindCommands();
    void CheckCommandBindings() const;
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
    void CreateEditorPanel();
    void CreateOutputPanel();
    void CreateOutputViews();
    void JumpToLinesOf(TColorListBox *list);
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

    TAppState &m_app;
    TCommandRegistry m_commands;
    TWorkspaceState m_workspace;
    std::unique_ptr<TEditorController> m_editor;
    std::unique_ptr<TBuildController> m_build;
    std::unique_ptr<TDeviceController> m_device;
    std::unique_ptr<TScopeController> m_scope;
    std::unique_ptr<TTransferController> m_transfer;
    std::unique_ptr<TWorkDirController> m_workDir;
    std::unique_ptr<TDiagnosticsController> m_diagnostics;
    std::unique_ptr<TDebugController> m_debug;

    QToolBar *m_editToolBar = nullptr;
    QToolBar *m_controllerToolBar = nullptr;
    TCaptionPanel *m_workDirPanel = nullptr;
    QToolBar *m_workDirToolbar = nullptr;
    QTabBar *m_workDirTabs = nullptr;
    QSplitter *m_workDirSplitter = nullptr;
    QWidget *m_editorPanel = nullptr;
    QTabBar *m_editorTabSet = nullptr;
    QStackedWidget *m_editorStack = nullptr;
    QSplitter *m_outputSplitter = nullptr;
    TCaptionPanel *m_outputPanel = nullptr;
    QToolBar *m_outputToolbar = nullptr;
    QStackedWidget *m_outputViews = nullptr;
    QTabBar *m_outputTabs = nullptr;

    QHash<QString, QAction *> m_menuItems;
    QHash<QString, QAction *> m_buttons;
    QHash<QString, QMenu *> m_menus;
    QList<QPair<QKeySequence, TMenuId>> m_shortcuts;
    TStatusPanel *m_statusPanels[StatusPanelCount] = {};
    QStringList m_arguments;
    bool m_shown = false;
};
