#include "EditorTabs.h"

#include "CommandRegistry.h"
#include "SearchReplace.h"

#include <QFileDialog>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>

#include <utility>

namespace {

const QString kOpenFilter =
    QStringLiteral("Velmo programs (*.bas)|*.bas|List files (*.lst)|*.lst|Hex files (*.hex)|*.hex|"
                   "Log files (*.log)|*.log|All files (*.*)|*.*");

void SetUpTabs(QTabBar *tabs)
{
    tabs->setTabsClosable(true);
    tabs->setExpanding(false);
    tabs->setDocumentMode(true);
    tabs->setUsesScrollButtons(true);
    tabs->setSelectionBehaviorOnRemove(QTabBar::SelectRightTab);
}

} // namespace

TEditorTabs::TEditorTabs(QTabBar *tabs, QStackedWidget *stack, TSearchDlgSource searchDlg, QObject *parent)
    : QObject(parent)
    , m_searchDlg(std::move(searchDlg))
    , m_tabs(tabs)
    , m_stack(stack)
    , m_list(stack)
{
    SetUpTabs(m_tabs);
    m_list.OnEditStateChange = [this](IEditor *e) {
        if (OnEditStateChange)
            OnEditStateChange(e);
    };
    m_list.OnCaretChange = [this](IEditor *e) {
        if (OnCaretChange)
            OnCaretChange(e);
    };
    m_list.OnDocumentChange = [this](IEditor *e) {
        UpdateModifiedMark(e);
        if (OnDocumentChange)
            OnDocumentChange(e);
    };
    m_list.SearchEngine().Options = [this] { return m_searchDlg().Options(); };
    ExecSearchDlg = [](TSearchDlg &dialog, bool replace) { return replace ? dialog.ShowReplace() : dialog.ShowFind(); };
    connect(m_tabs, &QTabBar::currentChanged, this, &TEditorTabs::EditorTabSetChanged);
    connect(m_tabs, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (EditorTabSetClose(index))
            RemoveTab(index);
    });
}

IEditor *TEditorTabs::CurrentEditor() const
{
    const int index = m_tabs->currentIndex();
    return index < 0 ? nullptr : m_list.EditorAt(m_tabs->tabData(index).toInt());
}

// The tab strip shows "&" as an access key; captions double it.
QString TEditorTabs::TabCaption(int index) const
{
    return m_tabs->tabText(index).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void TEditorTabs::SetTabCaption(int index, const QString &caption)
{
    m_tabs->setTabText(index, QString(caption).replace(u'&', QStringLiteral("&&")));
}

int TEditorTabs::FindTabByPrefix(const QString &text) const
{
    for (int i = m_tabs->count() - 1; i >= 0; --i)
        if (TabCaption(i).startsWith(text))
            return i;
    return -1;
}

int TEditorTabs::FindTabById(int id) const
{
    for (int i = m_tabs->count() - 1; i >= 0; --i)
        if (m_tabs->tabData(i).toInt() == id)
            return i;
    return -1;
}

IEditor *TEditorTabs::OpenEditor(const QString &name)
{
    IEditor *editor = m_list.Open(name);
    int index = FindTabById(editor->GetId());
    if (index < 0) {
        const QSignalBlocker blocker(m_tabs);
        index = m_tabs->addTab(QString());
        SetTabCaption(index, editor->GetTitle());
        m_tabs->setTabData(index, editor->GetId());
    }
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    EditorTabSetChanged(index);
    return editor;
}

void TEditorTabs::EditorTabSetChanged(int index)
{
    if (index >= 0 && index < m_tabs->count())
        m_list.ActivateEditor(m_tabs->tabData(index).toInt());
}

bool TEditorTabs::EditorTabSetClose(int index)
{
    if (index < 0 || index >= m_tabs->count())
        return false;
    return m_list.CloseEditor(m_tabs->tabData(index).toInt()) != srCancelled;
}

void TEditorTabs::RemoveTab(int index)
{
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->removeTab(index);
    }
    EditorTabSetChanged(m_tabs->currentIndex());
}

// ---- File commands

namespace {

const QString kNewFilePrefix = QStringLiteral("NewFile");

bool Untitled(const IEditor *editor)
{
    return editor->GetFileName().startsWith(kNewFilePrefix);
}

} // namespace

QString TEditorTabs::NewFileName(const QString &extension) const
{
    int n = 1;
    while (FindTabByPrefix(kNewFilePrefix + QString::number(n)) >= 0)
        ++n;
    return kNewFilePrefix + QString::number(n) + extension;
}

void TEditorTabs::NewBasicFileClick()
{
    OpenEditor(NewFileName(QStringLiteral(".bas")));
}

void TEditorTabs::NewTextFileClick()
{
    OpenEditor(NewFileName(QStringLiteral(".txt")));
}

QString TEditorTabs::ChooseFileToOpen()
{
    return QFileDialog::getOpenFileName(m_tabs->window(), QString(), QString(),
                                        DialogNameFilters(kOpenFilter).join(";;"));
}

void TEditorTabs::SaveFileClick()
{
    IEditor *editor = CurrentEditor();
    if (editor && editor->Save() == srSaved)
        SetTabCaption(m_tabs->currentIndex(), editor->GetTitle());
}

void TEditorTabs::SaveFileAsClick()
{
    IEditor *editor = CurrentEditor();
    if (editor && editor->SaveAs() == srSaved)
        SetTabCaption(m_tabs->currentIndex(), editor->GetTitle());
}

void TEditorTabs::SaveAllFilesClick()
{
    AllSaved = SaveEditors([](const IEditor *) { return true; });
}

bool TEditorTabs::SaveForCompile()
{
    const IEditor *active = CurrentEditor();
    return SaveEditors([active](const IEditor *editor) { return editor == active || !Untitled(editor); });
}

// Saves the wanted editors in tab order; false when the user cancelled one.
bool TEditorTabs::SaveEditors(const std::function<bool(const IEditor *)> &wanted)
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        IEditor *editor = m_list.EditorAt(m_tabs->tabData(i).toInt());
        if (!editor || !wanted(editor))
            continue;
        const int result = editor->Save();
        if (result == srCancelled)
            return false;
        if (result == srSaved)
            SetTabCaption(i, editor->GetTitle());
    }
    return true;
}

void TEditorTabs::CloseFileClick()
{
    const int index = m_tabs->currentIndex();
    if (index < 0)
        return;
    if (m_list.CloseEditor(m_tabs->tabData(index).toInt()) != srCancelled)
        RemoveTab(index);
}

bool TEditorTabs::CloseAllFilesClick()
{
    m_tabs->setCurrentIndex(0);
    while (m_tabs->currentIndex() >= 0) {
        const int index = m_tabs->currentIndex();
        if (m_list.CloseEditor(m_tabs->tabData(index).toInt()) == srCancelled)
            return false;
        RemoveTab(index);
    }
    return true;
}

void TEditorTabs::UpdateModifiedMark(IEditor *editor)
{
    TSourceEditor *source = AsSourceEditor(editor);
    if (!source)
        return;
    const int index = FindTabById(source->GetId());
    if (index < 0)
        return;
    const bool marked = TabCaption(index).contains(u'*');
    if (source->IsModified() && !marked)
        SetTabCaption(index, source->GetTitle() + QLatin1Char('*'));
    else if (!source->IsModified() && marked)
        SetTabCaption(index, source->GetTitle());
}

// ---- Edit commands

void TEditorTabs::UndoMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Undo();
}
void TEditorTabs::RedoMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Redo();
}
void TEditorTabs::CutMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Cut();
}
void TEditorTabs::CopyMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Copy();
}
void TEditorTabs::PasteMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Paste();
}
void TEditorTabs::DeleteMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Delete();
}
void TEditorTabs::SelectAllMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->SelectAll();
}

// ---- Search commands

void TEditorTabs::RunSearchDialog(bool replace)
{
    IEditor *editor = CurrentEditor();
    if (!editor)
        return;
    TSearchDlg &dialog = m_searchDlg();
    dialog.SetSearchText(editor->GetSelText());
    if (ExecSearchDlg(dialog, replace) == QDialog::Accepted)
        editor->Search(replace, false, dialog.EntireScope());
}

void TEditorTabs::FindMenuClick()
{
    RunSearchDialog(false);
}
void TEditorTabs::FindReplaceMenuClick()
{
    RunSearchDialog(true);
}
void TEditorTabs::FindNextMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Search(false, false, false);
}
void TEditorTabs::FindPrevMenuClick()
{
    if (IEditor *e = CurrentEditor())
        e->Search(false, true, false);
}

void TEditorTabs::RegisterCommands(TCommandRegistry &commands)
{
    using TMethod = void (TEditorTabs::*)();
    static const struct {
        const char *name;
        TMethod method;
    } kCommands[] = {
        {"NewBasicFileClick", &TEditorTabs::NewBasicFileClick},
        {"NewTextFileClick", &TEditorTabs::NewTextFileClick},
        {"SaveFileClick", &TEditorTabs::SaveFileClick},
        {"SaveFileAsClick", &TEditorTabs::SaveFileAsClick},
        {"CloseFileClick", &TEditorTabs::CloseFileClick},
        {"UndoMenuClick", &TEditorTabs::UndoMenuClick},
        {"RedoMenuClick", &TEditorTabs::RedoMenuClick},
        {"CutMenuClick", &TEditorTabs::CutMenuClick},
        {"CopyMenuClick", &TEditorTabs::CopyMenuClick},
        {"PasteMenuClick", &TEditorTabs::PasteMenuClick},
        {"DeleteMenuClick", &TEditorTabs::DeleteMenuClick},
        {"SelectAllMenuClick", &TEditorTabs::SelectAllMenuClick},
        {"FindMenuClick", &TEditorTabs::FindMenuClick},
        {"FindNextMenuClick", &TEditorTabs::FindNextMenuClick},
        {"FindPrevMenuClick", &TEditorTabs::FindPrevMenuClick},
        {"FindReplaceMenuClick", &TEditorTabs::FindReplaceMenuClick},
    };
    for (const auto &command : kCommands)
        commands.Bind(command.name, [this, method = command.method] { (this->*method)(); });
    commands.Bind("CloseAllFilesClick", [this] { CloseAllFilesClick(); });
}
