#include "MainForm.h"

#include "About.h"
#include "BuildList.h"
#include "CaptionPanel.h"
#include "CompileStop.h"
#include "CompilerRunner.h"
#include "EditorTabs.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "FindListBox.h"
#include "Globals.h"
#include "RecentFiles.h"
#include "Resources.h"
#include "SearchReplace.h"
#include "SettingsNotice.h"
#include "StatusPanel.h"
#include "Terminal.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kHomePage = QStringLiteral("https://www.velmo.example/");
const QString kSupportMail = QStringLiteral("mailto:support@velmo.example");

// Design sizes of the window and its panels.
constexpr int kClientWidth = 633;
constexpr int kClientHeight = 520;
constexpr int kWorkDirWidth = 217;
constexpr int kWorkDirMinWidth = 75;
constexpr int kOutputHeight = 230;
constexpr int kOutputMinHeight = 100;
constexpr int kSplitterSize = 4;
constexpr int kCaretUpdateInterval = 50;

const int kStatusWidths[TMainWindow::StatusPanelCount] = {70, 77, 70, 137, 50, 50, 0};

const char *const kOutputTabCaptions[] = {"Build", "Find", "Console", "Scope"};

// Buttons that start disabled until the first notification.
const char *const kInitiallyDisabled[] = {"CutBtn",  "CopyBtn", "PasteBtn",     "DeleteBtn",
                                          "UndoBtn", "RedoBtn", "DisconnectBtn"};

// Pictures of the toolbar buttons; a button without one shows its text.
const struct {
    const char *button;
    const char *icon;
} kButtonIcons[] = {
    {"NewBtn", "new"},
    {"OpenBtn", "open"},
    {"SaveBtn", "save"},
    {"SaveAllBtn", "saveall"},
    {"CloseBtn", "close"},
    {"PrintBtn", "print"},
    {"UndoBtn", "undo"},
    {"RedoBtn", "redo"},
    {"CutBtn", "cut"},
    {"CopyBtn", "copy"},
    {"PasteBtn", "paste"},
    {"DeleteBtn", "delete"},
    {"FindBtn", "find"},
    {"FindNextBtn", "findnext"},
    {"ReplaceBtn", "replace"},
    {"CompileBtn", "compile"},
    {"DownloadBtn", "download"},
    {"ConnectBtn", "connect"},
    {"DisconnectBtn", "disconnect"},
    {"SendMacroBtn", "send"},
    {"WorkDirBtn", "folder"},
    {"RefreshBtn", "refresh"},
    {"ClearBtn", "clear"},
};

// The picture is read when a button is first drawn, not when the window is
// built (given its size, the icon need not open the file to learn it).
QIcon ToolbarIcon(const QString &fileName)
{
    QIcon icon;
    icon.addFile(fileName, QSize(16, 16));
    return icon;
}

QIcon ButtonIcon(const char *button)
{
    for (const auto &entry : kButtonIcons)
        if (qstrcmp(entry.button, button) == 0)
            return ToolbarIcon(QString(":/korvid/icons/%1.png").arg(entry.icon));
    return QIcon();
}

QKeySequence KeyOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(mods, Qt::Key(event->key())));
}

} // namespace

bool TMainWindow::SettingsNotPrepared = true;

TMainWindow::TMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    InitResources();
    setObjectName("MainWindow");
    setWindowTitle("Korvid");
    CreateActions();
    CreateMenus();
    CreatePopupMenus();
    CreateToolBars();
    CreateWorkDirPanel();
    CreateEditorPanel();
    CreateOutputPanel();
    CreatePanelButtons();
    CreateStatusBar();
    FormCreate();
    BindCommands();
    qApp->installEventFilter(this);
}

TMainWindow::~TMainWindow()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TMainWindow::SetArguments(const QStringList &arguments)
{
    FArguments = arguments;
}

// ---------------------------------------------------------------------------
// Building the window

void TMainWindow::CreateActions()
{
    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &command = CommandTable[i];
        if (command.name && command.caption && command.handler)
            CreateMenuAction(command);
        if (command.button)
            CreateButtonAction(command);
    }
}

QAction *TMainWindow::CreateMenuAction(const TCommand &command)
{
    auto *action = new QAction(QString::fromUtf8(command.caption), this);
    action->setObjectName(command.name);
    action->setCheckable(command.checkable);
    if (command.shortcut) {
        const QKeySequence key(QString::fromLatin1(command.shortcut), QKeySequence::PortableText);
        action->setShortcut(key);
        FShortcuts.append({key, command.menu});
    }
    BindHandler(action, command.handler);
    FMenuItems.insert(command.name, action);
    return action;
}

QAction *TMainWindow::CreateButtonAction(const TCommand &command)
{
    auto *action = new QAction(QString::fromUtf8(command.buttonText), this);
    action->setObjectName(command.button);
    action->setToolTip(QString::fromUtf8(command.hint ? command.hint : command.buttonText));
    action->setIcon(ButtonIcon(command.button));
    BindHandler(action, command.handler);
    FButtons.insert(command.button, action);
    return action;
}

void TMainWindow::BindHandler(QAction *action, const char *handler)
{
    if (!handler)
        return;
    const QString name = QString::fromLatin1(handler);
    connect(action, &QAction::triggered, this, [this, name, action] { RunCommand(name, action->objectName()); });
}

void TMainWindow::CreateMenus()
{
    for (std::size_t m = 0; m < TopMenuCount; ++m) {
        const TTopMenu &top = TopMenus[m];
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(top.caption));
        menu->setObjectName(top.name);
        FMenus.insert(top.name, menu);
        const TMenuId id = top.id;
        connect(menu, &QMenu::aboutToShow, this, [this, id] { RunOpeningHandler(id); });
        QMenu *submenu = nullptr;
        for (std::size_t i = 0; i < CommandCount; ++i) {
            const TCommand &c = CommandTable[i];
            if (c.menu != id)
                continue;
            QMenu *target = menu;
            if (c.submenu) {
                if (!submenu || submenu->title() != QString::fromUtf8(c.submenu)) {
                    submenu = menu->addMenu(QString::fromUtf8(c.submenu));
                    submenu->setObjectName(c.handler ? QString(c.name) + "Submenu" : QString(c.name));
                    FMenus.insert(submenu->objectName(), submenu);
                }
                if (!c.handler)
                    continue;
                target = submenu;
            } else {
                submenu = nullptr;
            }
            if (!c.caption) {
                QAction *separator = target->addSeparator();
                if (c.name)
                    separator->setObjectName(c.name);
                continue;
            }
            target->addAction(FMenuItems.value(c.name));
        }
    }
}

void TMainWindow::CreatePopupMenus()
{
    for (std::size_t p = 0; p < PopupMenuCount; ++p) {
        auto *popup = new QMenu(this);
        popup->setObjectName(PopupMenuNames[p]);
        FMenus.insert(PopupMenuNames[p], popup);
    }
    for (std::size_t i = 0; i < PopupItemCount; ++i) {
        const TPopupItem &item = PopupTable[i];
        QMenu *popup = FMenus.value(item.popup);
        if (!item.name) {
            popup->addSeparator();
            continue;
        }
        QAction *action = popup->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(item.name);
        action->setCheckable(item.checkable);
        if (item.shortcut) {
            // Shown in the popup; the main menu's item owns the key.
            action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        BindHandler(action, item.handler);
        FMenuItems.insert(item.name, action);
    }
    connect(Menu("EditorPopupMenu"), &QMenu::aboutToShow, this, &TMainWindow::EditorPopupMenuUpdate);
}

void TMainWindow::CreateToolBars()
{
    EditToolBar = new QToolBar(tr("Edit && Build"), this);
    EditToolBar->setObjectName("EditToolBar");
    ControllerToolBar = new QToolBar(tr("Connect && Send"), this);
    ControllerToolBar->setObjectName("ControllerToolBar");
    for (QToolBar *bar : {EditToolBar, ControllerToolBar}) {
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setFloatable(false);
        bar->setIconSize(QSize(16, 16));
    }
    addToolBar(Qt::TopToolBarArea, EditToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ControllerToolBar);

    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &c = CommandTable[i];
        if (!c.button)
            continue;
        QToolBar *bar = c.toolbar == TToolBarId::Controller ? ControllerToolBar : EditToolBar;
        if (c.groupStart && !bar->actions().isEmpty())
            bar->addSeparator();
        bar->addAction(FButtons.value(c.button));
    }
    // The New button offers both kinds of file.
    auto *newMenu = new QMenu(this);
    newMenu->setObjectName("NewBtnMenu");
    newMenu->addAction(MenuItem("NewBasicFileMenu"));
    newMenu->addAction(MenuItem("NewTextFileMenu"));
    ToolButton("NewBtn")->setMenu(newMenu);
    if (auto *button = qobject_cast<QToolButton *>(EditToolBar->widgetForAction(ToolButton("NewBtn"))))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    for (const char *name : kInitiallyDisabled)
        SetButtonEnabled(name, false);

    ControllerToolBar->addSeparator();
    MacroBox = new QComboBox(ControllerToolBar);
    MacroBox->setObjectName("MacroBox");
    MacroBox->setEditable(true);
    MacroBox->setMinimumWidth(160);
    MacroBox->setInsertPolicy(QComboBox::NoInsert);
    ControllerToolBar->addWidget(MacroBox);
}

void TMainWindow::CreatePanelButtons()
{
    for (std::size_t i = 0; i < PanelButtonCount; ++i) {
        const TToolButtonDef &def = PanelButtons[i];
        auto *bar = findChild<QToolBar *>(def.toolbar);
        auto *action = new QAction(QString::fromUtf8(def.text), this);
        action->setObjectName(def.name);
        action->setToolTip(QString::fromUtf8(def.hint));
        action->setCheckable(def.checkable);
        action->setEnabled(def.startsEnabled);
        action->setIcon(ButtonIcon(def.name));
        BindHandler(action, def.handler);
        if (def.toolbar == QLatin1String("OutputToolbar") && def.name == QLatin1String("Channel0Btn"))
            bar->addSeparator();
        bar->addAction(action);
        FButtons.insert(def.name, action);
    }
    CreateTimeBaseBox();
}

void TMainWindow::CreateWorkDirPanel()
{
    WorkDirPanel = new TCaptionPanel("WorkDirPanel", QString(), this);
    WorkDirPanel->setMinimumWidth(kWorkDirMinWidth);
    WorkDirToolbar = new QToolBar(WorkDirPanel);
    WorkDirToolbar->setObjectName("WorkDirToolbar");
    WorkDirToolbar->setIconSize(QSize(16, 16));
    WorkDirPanel->AddWidget(WorkDirToolbar);
    CreateWorkDirList();
    WorkDirPanel->AddWidget(WorkDirList, 1);
    WorkDirTabs = new QTabBar(WorkDirPanel);
    WorkDirTabs->setObjectName("WorkDirTabs");
    WorkDirTabs->setShape(QTabBar::RoundedSouth);
    WorkDirTabs->addTab(tr("Files"));
    WorkDirPanel->AddWidget(WorkDirTabs);
    connect(WorkDirPanel, &TCaptionPanel::CloseClicked, this, &TMainWindow::WorkDirPanelClose);

    WorkDirSplitter = new QSplitter(Qt::Horizontal, this);
    WorkDirSplitter->setObjectName("WorkDirSplitter");
    WorkDirSplitter->setHandleWidth(kSplitterSize);
    WorkDirSplitter->setChildrenCollapsible(false);
    WorkDirSplitter->addWidget(WorkDirPanel);
    setCentralWidget(WorkDirSplitter);
}

void TMainWindow::CreateEditorPanel()
{
    EditorPanel = new QWidget(this);
    EditorPanel->setObjectName("EditorPanel");
    auto *layout = new QVBoxLayout(EditorPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    EditorTabSet = new QTabBar(EditorPanel);
    EditorTabSet->setObjectName("EditorTabSet");
    EditorTabSet->setTabsClosable(true);
    EditorTabSet->setExpanding(false);
    EditorTabSet->setDocumentMode(true);
    layout->addWidget(EditorTabSet);
    EditorStack = new QStackedWidget(EditorPanel);
    EditorStack->setObjectName("EditorStack");
    layout->addWidget(EditorStack, 1);

    OutputSplitter = new QSplitter(Qt::Vertical, this);
    OutputSplitter->setObjectName("OutputSplitter");
    OutputSplitter->setHandleWidth(kSplitterSize);
    OutputSplitter->setChildrenCollapsible(false);
    OutputSplitter->addWidget(EditorPanel);
    WorkDirSplitter->addWidget(OutputSplitter);
    WorkDirSplitter->setStretchFactor(0, 0);
    WorkDirSplitter->setStretchFactor(1, 1);
}

void TMainWindow::CreateOutputPanel()
{
    OutputPanel = new TCaptionPanel("OutputPanel", tr("Output"), this);
    OutputPanel->setMinimumHeight(kOutputMinHeight);
    OutputToolbar = new QToolBar(OutputPanel);
    OutputToolbar->setObjectName("OutputToolbar");
    OutputToolbar->setIconSize(QSize(16, 16));
    OutputPanel->AddWidget(OutputToolbar);
    OutputViews = new QStackedWidget(OutputPanel);
    OutputViews->setObjectName("OutputViews");
    OutputPanel->AddWidget(OutputViews, 1);
    OutputTabs = new QTabBar(OutputPanel);
    OutputTabs->setObjectName("OutputTabs");
    OutputTabs->setShape(QTabBar::RoundedSouth);
    for (const char *caption : kOutputTabCaptions)
        OutputTabs->addTab(tr(caption));
    OutputPanel->AddWidget(OutputTabs);
    connect(OutputPanel, &TCaptionPanel::CloseClicked, this, &TMainWindow::OutputPanelClose);

    OutputSplitter->addWidget(OutputPanel);
    OutputSplitter->setStretchFactor(0, 1);
    OutputSplitter->setStretchFactor(1, 0);
}

void TMainWindow::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < StatusPanelCount; ++i) {
        const bool last = i == StatusPanelCount - 1;
        FStatusPanels[i] = new TStatusPanel(kStatusWidths[i], last, bar);
        FStatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        bar->addWidget(FStatusPanels[i], last ? 1 : 0);
    }
    FStatusPanels[0]->SetText(" 1:1 ");
    CaretUpdateTimer = new QTimer(this);
    CaretUpdateTimer->setObjectName("CaretUpdateTimer");
    CaretUpdateTimer->setSingleShot(true);
    CaretUpdateTimer->setInterval(kCaretUpdateInterval);
    connect(CaretUpdateTimer, &QTimer::timeout, this, &TMainWindow::OnCaretUpdateTimer);
}

void TMainWindow::CreateOutputViews()
{
    // Placeholders for the views of the units that provide them; each
    // view fills the output panel, stacked in tab order.
    BuildList = new TColorListBox(OutputViews);
    BuildList->setObjectName("BuildList");
    FindList = new TFindListBox(OutputViews);
    FindList->setObjectName("FindList");
    for (TColorListBox *list : {BuildList, static_cast<TColorListBox *>(FindList)}) {
        list->OnJumpToLine = [this](TColorListBox *, const QString &fileName, int line) {
            RunGuarded([&] { OpenFileAtLine(fileName, line); });
        };
        list->OnError = ShowErrorMessage;
    }
    Console = new TMcuConsole(OutputViews);
    Console->setObjectName("Console");
    Console->RegisterCommands(m_commands);
    ScopeView = CreateScopeView(OutputViews);
    ScopeView->setObjectName("ScopeView");
    for (QWidget *view : std::initializer_list<QWidget *>{BuildList, FindList, Console, ScopeView})
        OutputViews->addWidget(view);
    m_compiler = new TCompilerRunner(this);
    ShowCompilesIn(*m_compiler, BuildList);
    WireCompileStop(*m_compiler, BuildList, ToolButton("CompileBtn"));
    AttachPopup(BuildList, Menu("OutputPopupMenu"));
    AttachPopup(FindList, Menu("FindPopupMenu"));
    AttachPopup(Console, Menu("ConsolePopupMenu"));
    AttachPopup(ScopeView, Menu("ScopePopupMenu"));
    connect(OutputTabs, &QTabBar::currentChanged, this, &TMainWindow::OutputTabsChanged);
}

void TMainWindow::AttachPopup(QWidget *view, QMenu *popup)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, popup,
            [view, popup](const QPoint &pos) { popup->exec(view->mapToGlobal(pos)); });
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void TMainWindow::FormCreate()
{
    CreateEditorTabs();
    AttachPopup(WorkDirList, Menu("WorkDirPopupMenu"));
    RunGuarded([this] { WorkDirList->SetDirectory(ProgramDir); });
    CreateOutputViews();
    CreateDeviceLink();
    resize(kClientWidth, kClientHeight);
    WorkDirSplitter->setSizes({kWorkDirWidth, kClientWidth - kWorkDirWidth});
    OutputSplitter->setSizes({kClientHeight - kOutputHeight, kOutputHeight});
    RestoreLayout();
}

void TMainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    FormShow();
}

void TMainWindow::FormShow()
{
    UpdateDocumentState(nullptr);
    UpdateCaret(nullptr);
    OutputTabs->setCurrentIndex(OutputBuildTab);
    OutputTabsChanged(OutputBuildTab);
    BuildList->setFocus();
    RunGuarded([this] { ReadSettings(); });
    RunGuarded([this] { ApplySettings(); });
    if (!FArguments.isEmpty())
        RunGuarded([this] { OpenFile(FArguments.first()); });
}

void TMainWindow::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TMainWindow::FormCloseQuery()
{
    if (TransferRunning())
        return false;
    if (HasHandler("CloseAllFilesClick"))
        RunCommand("CloseAllFilesClick");
    if (CurrentEditState().has_value())
        return false;
    // The recording ends while a write error can still be shown.
    RunGuarded([this] { Console->SetLogging(false); });
    return true;
}

void TMainWindow::FormDestroy()
{
    RunGuarded([this] { WriteSettings(); });
    DestroyDeviceLink();
    delete RecentFileList;
    RecentFileList = nullptr;
    RunGuarded([this] { SaveLayout(); });
}

void TMainWindow::ReadSettings()
{
    const TIniFile ini(SettingsFileName());
    NoticeUnreadable(ini);
    NoticeUnreadable(TIniFile(LayoutFileName())); // read while the window was built
    Workspace = Settings::ReadWorkspace(ini, ProgramDir);
    ToolButton("FilterBasBtn")->setChecked(Workspace.filterBas);
    ToolButton("FilterLstBtn")->setChecked(Workspace.filterLst);
    ToolButton("FilterHexBtn")->setChecked(Workspace.filterHex);
    ReadWorkDirSettings();
    TSearchDlg::Instance().SetSearchHistory(Workspace.searchHistory);
    TSearchDlg::Instance().SetReplaceHistory(Workspace.replaceHistory);
}

void TMainWindow::WriteSettings()
{
    WriteWorkDirSettings();
    Workspace.searchHistory = TSearchDlg::Instance().SearchHistory();
    Workspace.replaceHistory = TSearchDlg::Instance().ReplaceHistory();
    Workspace.filterBas = ToolButton("FilterBasBtn")->isChecked();
    Workspace.filterLst = ToolButton("FilterLstBtn")->isChecked();
    Workspace.filterHex = ToolButton("FilterHexBtn")->isChecked();
    TIniFile ini(SettingsFileName());
    if (!NoticeUnreadable(ini))
        Settings::WriteWorkspace(ini, Workspace);
}

// ---------------------------------------------------------------------------
// Compile: save all files, start the compiler on the active editor's file and
// show its output in the Build list when it ends. A compile already running
// refuses; the Compile button and Escape in the Build list stop it
// (CompileStop.cpp).

TCompilerRunner &TMainWindow::Compiler() const
{
    return *m_compiler;
}

void TMainWindow::CompileMenuClick()
{
    if (EditorList->IsEmpty() || m_compiler->Running())
        return;
    SaveAllFilesClick();
    IEditor *editor = CurrentEditor();
    if (!editor || !AllSaved)
        return;
    BuildList->clear();
    ShowOutputPanel(true);
    OutputTabs->setCurrentIndex(OutputBuildTab);
    m_compiler->Compile(CompilerPath(ProgramDir), editor->GetFileName());
}

// ---------------------------------------------------------------------------
// Operations

void TMainWindow::OpenFile(const QString &fileName)
{
    // A failed open throws before the name reaches the recent files.
    EditorTabs->OpenEditor(fileName);
    RecentFileList->AddFile(fileName);
}

void TMainWindow::OpenFileAtLine(const QString &fileName, int line)
{
    OpenFile(fileName);
    if (IEditor *editor = CurrentEditor())
        editor->GotoLine(line);
}

// Shows or hides a panel together with the splitter bar beside it: the bar
// goes before the panel when hiding and comes back after it when showing.
static void ShowPanelWithSplitter(QWidget *window, QWidget *panel, QWidget *bar, bool visible)
{
    if (panel->isVisibleTo(window) == visible)
        return;
    if (visible) {
        panel->show();
        bar->show();
    } else {
        bar->hide();
        panel->hide();
    }
}

void TMainWindow::ShowOutputPanel(bool visible)
{
    // The bar above the output panel.
    QWidget *bar = OutputSplitter->handle(OutputSplitter->indexOf(OutputPanel));
    ShowPanelWithSplitter(this, OutputPanel, bar, visible);
}

void TMainWindow::ShowWorkDirPanel(bool visible)
{
    // The bar right of the working-directory panel.
    QWidget *bar = WorkDirSplitter->handle(WorkDirSplitter->indexOf(WorkDirPanel) + 1);
    ShowPanelWithSplitter(this, WorkDirPanel, bar, visible);
}

// ---------------------------------------------------------------------------
// Components by name

QAction *TMainWindow::MenuItem(const QString &name) const
{
    return FMenuItems.value(name);
}

QAction *TMainWindow::ToolButton(const QString &name) const
{
    return FButtons.value(name);
}

QMenu *TMainWindow::Menu(const QString &name) const
{
    return FMenus.value(name);
}

QString TMainWindow::StatusText(int panel) const
{
    return FStatusPanels[panel]->Text();
}

void TMainWindow::SetStatusText(int panel, const QString &text)
{
    FStatusPanels[panel]->SetText(text);
}

bool TMainWindow::HasHandler(const QString &handler) const
{
    return m_commands.IsBound(handler);
}

bool TMainWindow::RunCommand(const QString &handler, const QString &sender)
{
    if (!m_commands.IsBound(handler))
        return false;
    return RunGuarded([this, &handler, &sender] { m_commands.Run(handler, sender); });
}

void TMainWindow::ApplyEnabled(const TEnabledItems &items, bool buttons)
{
    for (const TEnabledItem &item : items) {
        if (buttons)
            SetButtonEnabled(item.name, item.enabled);
        else
            SetItemEnabled(item.name, item.enabled);
    }
}

TWorkbenchState TMainWindow::WorkbenchState() const
{
    TWorkbenchState state;
    state.editor = CurrentEditState();
    state.portOpen = PortIsOpen();
    return state;
}

void TMainWindow::SetItemEnabled(const char *name, bool enabled)
{
    if (QAction *action = MenuItem(name))
        action->setEnabled(enabled);
}

void TMainWindow::SetButtonEnabled(const char *name, bool enabled)
{
    if (QAction *action = ToolButton(name))
        action->setEnabled(enabled);
}

// ---------------------------------------------------------------------------
// Notifications of the editor list

void TMainWindow::UpdateEditButtons(const TEditState *editor)
{
    ApplyEnabled(EditButtonStates(editor), true);
}

void TMainWindow::UpdateCaret(const TEditState *editor)
{
    if (!editor) {
        // A pending update would bring back the position of a closed editor.
        CaretUpdateTimer->stop();
        SetStatusText(0, QString());
        return;
    }
    CaretLine = editor->caretLine;
    CaretColumn = editor->caretColumn;
    if (!CaretUpdateTimer->isActive())
        CaretUpdateTimer->start();
}

void TMainWindow::OnCaretUpdateTimer()
{
    CaretUpdateTimer->stop();
    SetStatusText(0, QString("%1: %2").arg(CaretLine).arg(CaretColumn));
}

void TMainWindow::UpdateDocumentState(const TEditState *editor)
{
    ApplyEnabled(DocumentButtonStates(editor), true);
    if (!editor) {
        SetStatusText(1, QString());
        SetStatusText(2, QString());
        return;
    }
    SetStatusText(1, editor->modified ? tr("Modified") : QString());
    if (editor->insertMode)
        SetStatusText(2, tr("Insert"));
    else
        SetStatusText(2, editor->readOnly ? tr("Read only") : tr("Overwrite"));
}

// ---------------------------------------------------------------------------
// Opening handlers

bool TMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Before a shortcut acts, the opening handler of its menu brings the
    // item's enabled state up to date; a disabled item's key does nothing.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            const QKeySequence key = KeyOf(static_cast<QKeyEvent *>(event));
            for (const auto &entry : std::as_const(FShortcuts))
                if (entry.first == key) {
                    RunOpeningHandler(entry.second);
                    break;
                }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::RunOpeningHandler(TMenuId menu)
{
    switch (menu) {
    case TMenuId::File:
        FileMenuClick();
        break;
    case TMenuId::Edit:
        EditMenuClick();
        break;
    case TMenuId::Program:
        ProgramMenuClick();
        break;
    case TMenuId::Controller:
        ControllerMenuClick();
        break;
    case TMenuId::View:
        ViewMenuClick();
        break;
    case TMenuId::Help:
        HelpMenuClick();
        break;
    }
}

void TMainWindow::FileMenuClick()
{
    ApplyEnabled(MenuItemStates(TMenuId::File, WorkbenchState()), false);
    UpdateRecentFileEntries();
}

void TMainWindow::EditMenuClick()
{
    ApplyEnabled(MenuItemStates(TMenuId::Edit, WorkbenchState()), false);
}

void TMainWindow::ProgramMenuClick()
{
    ApplyEnabled(MenuItemStates(TMenuId::Program, WorkbenchState()), false);
}

void TMainWindow::ControllerMenuClick()
{
    ApplyEnabled(MenuItemStates(TMenuId::Controller, WorkbenchState()), false);
}

void TMainWindow::ViewMenuClick()
{
    MenuItem("ViewWorkDirMenu")->setChecked(WorkDirPanel->isVisibleTo(this));
    MenuItem("ViewOutputMenu")->setChecked(OutputPanel->isVisibleTo(this));
}

void TMainWindow::HelpMenuClick()
{
    const bool exists = QFileInfo::exists(ManualFileName());
    MenuItem("ProgrammingManualMenu")->setVisible(exists);
    for (QAction *action : Menu("HelpMenu")->actions())
        if (action->objectName() == QLatin1String("ManualSeparator"))
            action->setVisible(exists);
}

void TMainWindow::EditorPopupMenuUpdate()
{
    const std::optional<TEditState> e = CurrentEditState();
    ApplyEnabled(EditorPopupStates(e ? &*e : nullptr), false);
}

// ---------------------------------------------------------------------------
// Command handlers

void TMainWindow::ExitMenuClick()
{
    close();
}

void TMainWindow::ViewWorkDirMenuClick()
{
    ShowWorkDirPanel(MenuItem("ViewWorkDirMenu")->isChecked());
}

void TMainWindow::ViewOutputMenuClick()
{
    ShowOutputPanel(MenuItem("ViewOutputMenu")->isChecked());
}

void TMainWindow::WorkDirPanelClose()
{
    ShowWorkDirPanel(false);
}

void TMainWindow::OutputPanelClose()
{
    ShowOutputPanel(false);
}

void TMainWindow::OpenUrl(const QString &url)
{
    // A missing program for the request is not an error of ours.
    QDesktopServices::openUrl(QUrl(url));
}

void TMainWindow::ProgrammingManualMenuClick()
{
    OpenUrl(QUrl::fromLocalFile(ManualFileName()).toString());
}

void TMainWindow::LanguageMenuClick()
{
    OpenUrl(kHomePage + "language");
}

void TMainWindow::SamplesMenuClick()
{
    OpenUrl(kHomePage + "samples");
}

void TMainWindow::VelmoHomepageMenuClick()
{
    OpenUrl(kHomePage);
}

void TMainWindow::TechnicalSupportMenuClick()
{
    OpenUrl(kSupportMail);
}

void TMainWindow::AboutMenuClick()
{
    TAboutForm about(this);
    about.exec();
}

void TMainWindow::ClearBtnClick()
{
    switch (OutputTabs->currentIndex()) {
    case OutputScopeTab:
        ClearScopeView();
        break;
    case OutputBuildTab:
        BuildList->clear();
        break;
    case OutputFindTab:
        FindList->clear();
        break;
    case OutputConsoleTab:
        Console->ClearScreen();
        break;
    default:
        break; // the scope clears itself
    }
}

void TMainWindow::OutputTabsChanged(int newTab)
{
    const QList<QWidget *> views = {BuildList, FindList, Console, ScopeView};
    if (newTab >= 0 && newTab < views.size())
        OutputViews->setCurrentWidget(views[newTab]);
    const bool scope = newTab == OutputScopeTab;
    ApplyEnabled(OutputTabStates(scope), true);
    TimeBaseBox->setEnabled(scope);
}
