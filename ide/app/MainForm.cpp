#include "MainForm.h"

#include "About.h"
#include "AppState.h"
#include "BuildController.h"
#include "BuiltInImage.h"
#include "CaptionPanel.h"
#include "DebugController.h"
#include "DeviceController.h"
#include "DiagnosticsController.h"
#include "EditorController.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "FindListBox.h"
#include "IEditor.h"
#include "Scope.h"
#include "ScopeController.h"
#include "StatusPanel.h"
#include "Terminal.h"
#include "TransferController.h"
#include "TransferDlg.h"
#include "ViewStack.h"
#include "WorkDirController.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kHomePage = QStringLiteral("https://www.velmo.example/");
const QString kSupportMail = QStringLiteral("mailto:support@velmo.example");
const QString kLogFilter = QStringLiteral("Logfiles (*.log);;All Files (*.*)");

// Design sizes of the window and its panels.
constexpr int kClientWidth = 633;
constexpr int kClientHeight = 520;
constexpr int kWorkDirWidth = 217;
constexpr int kWorkDirMinWidth = 75;
constexpr int kOutputHeight = 230;
constexpr int kOutputMinHeight = 100;
constexpr int kSplitterSize = 4;

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

// The pictures are 32 pixels square, decoded when the workbench was built,
// and drawn at 16 (twice that on a high-density screen).
QIcon ButtonIcon(const char *button)
{
    for (const auto &entry : kButtonIcons)
        if (qstrcmp(entry.button, button) == 0)
            return QIcon(QPixmap::fromImage(BuiltInImage(entry.icon)));
    return QIcon();
}

QKeySequence KeyOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(mods, Qt::Key(event->key())));
}

} // namespace

TMainWindow::TMainWindow(TAppState &app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_editor(std::make_unique<TEditorController>(*this, app))
    , m_build(std::make_unique<TBuildController>(*this, app))
    , m_device(std::make_unique<TDeviceController>(*this, app))
    , m_scope(std::make_unique<TScopeController>(*this, app))
    , m_transfer(std::make_unique<TTransferController>(*this))
    , m_workDir(std::make_unique<TWorkDirController>(*this, m_workspace))
    , m_diagnostics(std::make_unique<TDiagnosticsController>(*this, app))
    , m_debug(std::make_unique<TDebugController>(*this, app))
{
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
    m_arguments = arguments;
}

TEditorController &TMainWindow::EditorControl() const
{
    return *m_editor;
}

TBuildController &TMainWindow::BuildControl() const
{
    return *m_build;
}

TDeviceController &TMainWindow::DeviceControl() const
{
    return *m_device;
}

TScopeController &TMainWindow::ScopeControl() const
{
    return *m_scope;
}

TTransferController &TMainWindow::TransferControl() const
{
    return *m_transfer;
}

TWorkDirController &TMainWindow::WorkDirControl() const
{
    return *m_workDir;
}

TDiagnosticsController &TMainWindow::DiagnosticsControl() const
{
    return *m_diagnostics;
}

TDebugController &TMainWindow::DebugControl() const
{
    return *m_debug;
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
        m_shortcuts.append({key, command.menu});
    }
    BindHandler(action, command.handler);
    m_menuItems.insert(command.name, action);
    return action;
}

QAction *TMainWindow::CreateButtonAction(const TCommand &command)
{
    auto *action = new QAction(QString::fromUtf8(command.buttonText), this);
    action->setObjectName(command.button);
    action->setToolTip(QString::fromUtf8(command.hint ? command.hint : command.buttonText));
    action->setIcon(ButtonIcon(command.button));
    BindHandler(action, command.handler);
    m_buttons.insert(command.button, action);
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
        m_menus.insert(top.name, menu);
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
                    m_menus.insert(submenu->objectName(), submenu);
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
            target->addAction(m_menuItems.value(c.name));
        }
    }
}

void TMainWindow::CreatePopupMenus()
{
    for (std::size_t p = 0; p < PopupMenuCount; ++p) {
        auto *popup = new QMenu(this);
        popup->setObjectName(PopupMenuNames[p]);
        m_menus.insert(PopupMenuNames[p], popup);
    }
    for (std::size_t i = 0; i < PopupItemCount; ++i) {
        const TPopupItem &item = PopupTable[i];
        QMenu *popup = m_menus.value(item.popup);
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
        m_menuItems.insert(item.name, action);
    }
    connect(Menu("EditorPopupMenu"), &QMenu::aboutToShow, this, &TMainWindow::EditorPopupMenuUpdate);
}

void TMainWindow::CreateToolBars()
{
    m_editToolBar = new QToolBar(tr("Edit && Build"), this);
    m_editToolBar->setObjectName("EditToolBar");
    m_controllerToolBar = new QToolBar(tr("Connect && Send"), this);
    m_controllerToolBar->setObjectName("ControllerToolBar");
    for (QToolBar *bar : {m_editToolBar, m_controllerToolBar}) {
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setFloatable(false);
        bar->setIconSize(QSize(16, 16));
    }
    addToolBar(Qt::TopToolBarArea, m_editToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_controllerToolBar);

    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &c = CommandTable[i];
        if (!c.button)
            continue;
        QToolBar *bar = c.toolbar == TToolBarId::Controller ? m_controllerToolBar : m_editToolBar;
        if (c.groupStart && !bar->actions().isEmpty())
            bar->addSeparator();
        bar->addAction(m_buttons.value(c.button));
    }
    // The New button offers both kinds of file.
    auto *newMenu = new QMenu(this);
    newMenu->setObjectName("NewBtnMenu");
    newMenu->addAction(MenuItem("NewBasicFileMenu"));
    newMenu->addAction(MenuItem("NewTextFileMenu"));
    ToolButton("NewBtn")->setMenu(newMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_editToolBar->widgetForAction(ToolButton("NewBtn"))))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    for (const char *name : kInitiallyDisabled)
        SetButtonEnabled(name, false);

    m_controllerToolBar->addSeparator();
    m_device->CreateMacroBox(m_controllerToolBar);
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
        m_buttons.insert(def.name, action);
    }
    m_scope->CreateTimeBaseBox(m_outputToolbar); // enabled only while the scope tab shows
}

void TMainWindow::CreateWorkDirPanel()
{
    m_workDirPanel = new TCaptionPanel("WorkDirPanel", QString(), this);
    m_workDirPanel->setMinimumWidth(kWorkDirMinWidth);
    m_workDirToolbar = new QToolBar(m_workDirPanel);
    m_workDirToolbar->setObjectName("WorkDirToolbar");
    m_workDirToolbar->setIconSize(QSize(16, 16));
    m_workDirPanel->AddWidget(m_workDirToolbar);
    m_workDirPanel->AddWidget(m_workDir->CreateList(m_workDirPanel), 1);
    m_workDirTabs = new QTabBar(m_workDirPanel);
    m_workDirTabs->setObjectName("WorkDirTabs");
    m_workDirTabs->setShape(QTabBar::RoundedSouth);
    m_workDirTabs->addTab(tr("Files"));
    m_workDirPanel->AddWidget(m_workDirTabs);
    connect(m_workDirPanel, &TCaptionPanel::CloseClicked, this, &TMainWindow::WorkDirPanelClose);

    m_workDirSplitter = new QSplitter(Qt::Horizontal, this);
    m_workDirSplitter->setObjectName("WorkDirSplitter");
    m_workDirSplitter->setHandleWidth(kSplitterSize);
    m_workDirSplitter->setChildrenCollapsible(false);
    m_workDirSplitter->addWidget(m_workDirPanel);
    setCentralWidget(m_workDirSplitter);
}

void TMainWindow::CreateEditorPanel()
{
    m_editorPanel = new QWidget(this);
    m_editorPanel->setObjectName("EditorPanel");
    auto *layout = new QVBoxLayout(m_editorPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_editorTabSet = new QTabBar(m_editorPanel);
    m_editorTabSet->setObjectName("EditorTabSet");
    m_editorTabSet->setTabsClosable(true);
    m_editorTabSet->setExpanding(false);
    m_editorTabSet->setDocumentMode(true);
    layout->addWidget(m_editorTabSet);
    m_editorStack = new QStackedWidget(m_editorPanel);
    m_editorStack->setObjectName("EditorStack");
    layout->addWidget(m_editorStack, 1);

    m_outputSplitter = new QSplitter(Qt::Vertical, this);
    m_outputSplitter->setObjectName("OutputSplitter");
    m_outputSplitter->setHandleWidth(kSplitterSize);
    m_outputSplitter->setChildrenCollapsible(false);
    m_outputSplitter->addWidget(m_editorPanel);
    m_workDirSplitter->addWidget(m_outputSplitter);
    m_workDirSplitter->setStretchFactor(0, 0);
    m_workDirSplitter->setStretchFactor(1, 1);
}

void TMainWindow::CreateOutputPanel()
{
    m_outputPanel = new TCaptionPanel("OutputPanel", tr("Output"), this);
    m_outputPanel->setMinimumHeight(kOutputMinHeight);
    m_outputToolbar = new QToolBar(m_outputPanel);
    m_outputToolbar->setObjectName("OutputToolbar");
    m_outputToolbar->setIconSize(QSize(16, 16));
    m_outputPanel->AddWidget(m_outputToolbar);
    m_outputViews = new TViewStack(m_outputPanel);
    m_outputViews->setObjectName("OutputViews");
    m_outputPanel->AddWidget(m_outputViews, 1);
    m_outputTabs = new QTabBar(m_outputPanel);
    m_outputTabs->setObjectName("OutputTabs");
    m_outputTabs->setShape(QTabBar::RoundedSouth);
    for (const char *caption : kOutputTabCaptions)
        m_outputTabs->addTab(tr(caption));
    m_outputPanel->AddWidget(m_outputTabs);
    connect(m_outputPanel, &TCaptionPanel::CloseClicked, this, &TMainWindow::OutputPanelClose);

    m_outputSplitter->addWidget(m_outputPanel);
    m_outputSplitter->setStretchFactor(0, 1);
    m_outputSplitter->setStretchFactor(1, 0);
}

void TMainWindow::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < StatusPanelCount; ++i) {
        const bool last = i == StatusPanelCount - 1;
        m_statusPanels[i] = new TStatusPanel(kStatusWidths[i], last, bar);
        m_statusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        bar->addWidget(m_statusPanels[i], last ? 1 : 0);
    }
    m_statusPanels[0]->SetText(" 1:1 ");
    m_editor->CreateCaretTimer();
}

void TMainWindow::CreateOutputViews()
{
    // The views of the controllers; each view fills the output panel,
    // stacked in tab order.
    TColorListBox *buildList = m_build->CreateBuildList(m_outputViews);
    TFindListBox *findList = m_editor->CreateFindList(m_outputViews);
    JumpToLinesOf(buildList);
    JumpToLinesOf(findList);
    for (QWidget *view : std::initializer_list<QWidget *>{buildList, findList})
        m_outputViews->addWidget(view);
    m_device->CreateConsole(m_outputViews, m_commands); // made when first needed, with its popup
    TMcuScope *scope = m_scope->CreateScope(m_outputViews, m_commands);
    m_outputViews->addWidget(scope);
    AttachPopup(buildList, Menu("OutputPopupMenu"));
    AttachPopup(findList, Menu("FindPopupMenu"));
    AttachPopup(scope, Menu("ScopePopupMenu"));
    connect(m_outputTabs, &QTabBar::currentChanged, this, &TMainWindow::OutputTabsChanged);
}

// A double-click on a message line opens its file at its line.
void TMainWindow::JumpToLinesOf(TColorListBox *list)
{
    list->OnJumpToLine = [this](TColorListBox *, const QString &fileName, int line) {
        RunGuarded([&] { OpenFileAtLine(fileName, line); });
    };
    list->OnError = ShowErrorMessage;
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
    m_editor->CreateTabs(m_editorTabSet, m_editorStack, Menu("EditorPopupMenu"));
    m_diagnostics->Attach(*m_editor->EditorList());
    TImageFileListBox *workDirList = m_workDir->WorkDirList();
    AttachPopup(workDirList, Menu("WorkDirPopupMenu"));
    RunGuarded([this, workDirList] { workDirList->SetDirectory(m_app.Paths().ProgramDir()); });
    CreateOutputViews();
    m_device->CreateLink(m_commands);
    m_debug->CreateDocks();
    resize(kClientWidth, kClientHeight);
    m_workDirSplitter->setSizes({kWorkDirWidth, kClientWidth - kWorkDirWidth});
    m_outputSplitter->setSizes({kClientHeight - kOutputHeight, kOutputHeight});
    RestoreLayout();
}

void TMainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TMainWindow::FormShow()
{
    m_editor->UpdateDocumentState(nullptr);
    m_editor->UpdateCaret(nullptr);
    m_outputTabs->setCurrentIndex(OutputBuildTab);
    OutputTabsChanged(OutputBuildTab);
    m_build->BuildList()->setFocus();
    RunGuarded([this] { ReadSettings(); });
    RunGuarded([this] { m_device->ApplySettings(); });
    if (!m_arguments.isEmpty())
        RunGuarded([this] { OpenFile(m_arguments.first()); });
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
    if (m_transfer->TransferRunning())
        return false;
    if (HasHandler("CloseAllFilesClick"))
        RunCommand("CloseAllFilesClick");
    if (CurrentEditState().has_value())
        return false;
    // The recording ends while a write error can still be shown.
    if (m_device->ConsoleMade())
        RunGuarded([this] { m_device->Console()->SetLogging(false); });
    return true;
}

void TMainWindow::FormDestroy()
{
    RunGuarded([this] { WriteSettings(); });
    m_device->DestroyLink();
    RunGuarded([this] { SaveLayout(); });
}

void TMainWindow::ReadSettings()
{
    const TWorkbenchPaths &paths = m_app.Paths();
    const TIniFile ini(paths.SettingsFileName());
    m_app.SettingsNotice().Unreadable(ini);
    m_app.SettingsNotice().Unreadable(TIniFile(paths.LayoutFileName())); // read while the window was built
    m_workspace = Settings::ReadWorkspace(ini, paths.ProgramDir());
    ToolButton("FilterBasBtn")->setChecked(m_workspace.filterBas);
    ToolButton("FilterLstBtn")->setChecked(m_workspace.filterLst);
    ToolButton("FilterHexBtn")->setChecked(m_workspace.filterHex);
    m_workDir->ReadSettings();
    m_editor->ReadSearchHistory(m_workspace);
}

void TMainWindow::WriteSettings()
{
    m_workDir->WriteSettings();
    m_editor->WriteSearchHistory(m_workspace);
    m_workspace.filterBas = ToolButton("FilterBasBtn")->isChecked();
    m_workspace.filterLst = ToolButton("FilterLstBtn")->isChecked();
    m_workspace.filterHex = ToolButton("FilterHexBtn")->isChecked();
    TIniFile ini(m_app.Paths().SettingsFileName());
    if (m_app.SettingsNotice().Unreadable(ini))
        return;
    ini.HoldSaves(); // one save for the whole workspace
    Settings::WriteWorkspace(ini, m_workspace);
    ini.SaveHeld();
}

// ---------------------------------------------------------------------------
// Compile (BuildController.cpp); the Compile command calls it here
// (CompileStop.cpp).

void TMainWindow::CompileMenuClick()
{
    m_build->CompileMenuClick();
}

TCompilerRunner &TMainWindow::Compiler() const
{
    return m_build->Compiler();
}

// ---------------------------------------------------------------------------
// Operations

void TMainWindow::OpenFile(const QString &fileName)
{
    // A failed open throws before the name reaches the recent files.
    m_editor->OpenEditor(fileName);
    m_workDir->AddRecentFile(fileName);
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
    // The bar above the output panel's row (shared with the debug views).
    QWidget *row = m_outputPanel;
    while (row->parentWidget() && row->parentWidget() != m_outputSplitter)
        row = row->parentWidget();
    QWidget *bar = m_outputSplitter->handle(m_outputSplitter->indexOf(row));
    ShowPanelWithSplitter(this, row, bar, visible);
}

void TMainWindow::ShowWorkDirPanel(bool visible)
{
    // The bar right of the working-directory panel.
    QWidget *bar = m_workDirSplitter->handle(m_workDirSplitter->indexOf(m_workDirPanel) + 1);
    ShowPanelWithSplitter(this, m_workDirPanel, bar, visible);
}

// What the user types next is for the module: the console takes the keyboard
// focus, which stays with the window when the scope is in front.
void TMainWindow::ShowConsoleTab()
{
    if (m_outputTabs->currentIndex() != OutputScopeTab)
        m_outputTabs->setCurrentIndex(OutputConsoleTab);
    if (m_outputTabs->currentIndex() == OutputConsoleTab)
        m_device->Console()->setFocus(Qt::OtherFocusReason);
}

IEditor *TMainWindow::CurrentEditor() const
{
    return m_editor->CurrentEditor();
}

std::optional<TEditState> TMainWindow::CurrentEditState() const
{
    return m_editor->CurrentEditState();
}

bool TMainWindow::PortIsOpen() const
{
    return m_device->PortIsOpen();
}

QString TMainWindow::AskLogFileName(const QString &last)
{
    QFileDialog dialog(this, tr("Enter or select a logfile..."), QString(), kLogFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // a log is appended to
    dialog.setDefaultSuffix("log");
    if (!last.isEmpty())
        dialog.selectFile(last);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

int TMainWindow::ExecTransferDialog(TMcuTransferDlg &dialog)
{
    return dialog.exec();
}

// ---------------------------------------------------------------------------
// Components by name

QAction *TMainWindow::MenuItem(const QString &name) const
{
    return m_menuItems.value(name);
}

QAction *TMainWindow::ToolButton(const QString &name) const
{
    return m_buttons.value(name);
}

QMenu *TMainWindow::Menu(const QString &name) const
{
    return m_menus.value(name);
}

void TMainWindow::AddMenuItem(QAction *item)
{
    m_menuItems.insert(item->objectName(), item);
}

QString TMainWindow::StatusText(int panel) const
{
    return m_statusPanels[panel]->Text();
}

void TMainWindow::SetStatusText(int panel, const QString &text)
{
    m_statusPanels[panel]->SetText(text);
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
// Opening handlers

bool TMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Before a shortcut acts, the opening handler of its menu brings the
    // item's enabled state up to date; a disabled item's key does nothing.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            const QKeySequence key = KeyOf(static_cast<QKeyEvent *>(event));
            for (const auto &entry : std::as_const(m_shortcuts))
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
    case TMenuId::Debug:
        m_debug->DebugMenuClick();
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
    m_workDir->UpdateRecentFileEntries();
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
    MenuItem("ViewWorkDirMenu")->setChecked(m_workDirPanel->isVisibleTo(this));
    MenuItem("ViewOutputMenu")->setChecked(m_outputPanel->isVisibleTo(this));
}

void TMainWindow::HelpMenuClick()
{
    const bool exists = QFileInfo::exists(m_app.Paths().ManualFileName());
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
    OpenUrl(QUrl::fromLocalFile(m_app.Paths().ManualFileName()).toString());
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
    switch (m_outputTabs->currentIndex()) {
    case OutputScopeTab:
        m_scope->ClearScopeView();
        break;
    case OutputBuildTab:
        m_build->BuildList()->clear();
        break;
    case OutputFindTab:
        m_editor->FindList()->clear();
        break;
    case OutputConsoleTab:
        m_device->Console()->ClearScreen();
        break;
    default:
        break; // the scope clears itself
    }
}

void TMainWindow::OutputTabsChanged(int newTab)
{
    if (newTab == OutputConsoleTab)
        m_device->Console(); // made when its tab is first picked
    const QList<QWidget *> views = {m_build->BuildList(), m_editor->FindList(), m_device->ConsoleView(),
                                    m_scope->Scope()};
    if (newTab >= 0 && newTab < views.size())
        m_outputViews->setCurrentWidget(views[newTab]);
    const bool scope = newTab == OutputScopeTab;
    ApplyEnabled(OutputTabStates(scope), true);
    m_scope->SetScopeTabShown(scope);
}
