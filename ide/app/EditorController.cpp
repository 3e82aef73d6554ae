#include "EditorController.h"

#include "AppState.h"
#include "EditorTabs.h"
#include "Errors.h"
#include "FileListBox.h"
#include "FindListBox.h"
#include "IEditor.h"
#include "MainForm.h"
#include "Print.h"
#include "SearchAll.h"
#include "SearchReplace.h"
#include "WorkDirController.h"

#include <QTabBar>
#include <QTimer>

namespace {

constexpr int kCaretUpdateInterval = 50;

TEditState EditStateOf(const TEditorList &list, TSourceEditor &editor)
{
    TEditState state;
    state.canCut = editor.CanCut();
    state.canCopy = editor.CanCopy();
    state.canUndo = editor.CanUndo();
    state.canRedo = editor.CanRedo();
    state.canSave = editor.CanSave();
    state.canPaste = editor.CanPaste();
    state.canDelete = editor.CanDelete();
    state.anyCanSave = list.AnyCanSave();
    state.modified = editor.IsModified();
    state.insertMode = editor.InsertMode();
    state.readOnly = editor.IsReadOnly();
    state.caretLine = editor.CaretLine();
    state.caretColumn = editor.CaretColumn();
    return state;
}

TSearchSource SourceOf(IEditor *editor)
{
    return {editor->GetFileName(), editor->GetLines()};
}

} // namespace

TEditorController::TEditorController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
{
}

void TEditorController::CreateTabs(QTabBar *tabSet, QStackedWidget *stack, QMenu *popup)
{
    m_tabs = new TEditorTabs(
        tabSet, stack, [this]() -> TSearchDlg & { return m_app.SearchDialog(); }, &m_window);
    m_list = &m_tabs->EditorList();
    m_list->SetPopupMenu(popup);
    m_list->SetCompletion(&m_app.Completion());
    m_list->SetPrinter([this]() -> TEditorPrinter & { return m_app.Printer(); });
    const auto notify = [this](void (TEditorController::*handler)(const TEditState *)) {
        return [this, handler](IEditor *editor) {
            TSourceEditor *source = AsSourceEditor(editor);
            if (!source) {
                (this->*handler)(nullptr);
                return;
            }
            const TEditState state = EditStateOf(*m_list, *source);
            (this->*handler)(&state);
        };
    };
    m_tabs->OnEditStateChange = notify(&TEditorController::UpdateEditButtons);
    m_tabs->OnCaretChange = notify(&TEditorController::UpdateCaret);
    m_tabs->OnDocumentChange = notify(&TEditorController::UpdateDocumentState);
}

void TEditorController::CreateCaretTimer()
{
    m_caretTimer = new QTimer(&m_window);
    m_caretTimer->setObjectName("CaretUpdateTimer");
    m_caretTimer->setSingleShot(true);
    m_caretTimer->setInterval(kCaretUpdateInterval);
    QObject::connect(m_caretTimer, &QTimer::timeout, &m_window, [this] { OnCaretUpdateTimer(); });
}

TFindListBox *TEditorController::CreateFindList(QWidget *parent)
{
    m_findList = new TFindListBox(parent);
    m_findList->setObjectName("FindList");
    return m_findList;
}

void TEditorController::RegisterCommands(TCommandRegistry &commands)
{
    m_tabs->RegisterCommands(commands);
    commands.Bind("OpenFileClick", [this] { OpenFileClick(); });
    commands.Bind("SaveAllFilesClick", [this] { SaveAllFilesClick(); });
    commands.Bind("PrintFileMenuClick", [this] { PrintFileMenuClick(); });
    commands.Bind("FindAllMenuClick", [this] { FindAllMenuClick(); });
}

IEditor *TEditorController::CurrentEditor() const
{
    return m_tabs ? m_tabs->CurrentEditor() : nullptr;
}

std::optional<TEditState> TEditorController::CurrentEditState() const
{
    TSourceEditor *editor = AsSourceEditor(CurrentEditor());
    if (!editor)
        return std::nullopt;
    return EditStateOf(*m_list, *editor);
}

void TEditorController::OpenEditor(const QString &fileName)
{
    m_tabs->OpenEditor(fileName);
}

// ---------------------------------------------------------------------------
// Notifications of the editor list

void TEditorController::UpdateEditButtons(const TEditState *editor)
{
    m_window.ApplyEnabled(EditButtonStates(editor), true);
}

void TEditorController::UpdateCaret(const TEditState *editor)
{
    if (!editor) {
        // A pending update would bring back the position of a closed editor.
        m_caretTimer->stop();
        m_window.SetStatusText(0, QString());
        return;
    }
    m_caretLine = editor->caretLine;
    m_caretColumn = editor->caretColumn;
    if (!m_caretTimer->isActive())
        m_caretTimer->start();
}

void TEditorController::OnCaretUpdateTimer()
{
    m_caretTimer->stop();
    m_window.SetStatusText(0, QString("%1: %2").arg(m_caretLine).arg(m_caretColumn));
}

void TEditorController::UpdateDocumentState(const TEditState *editor)
{
    m_window.ApplyEnabled(DocumentButtonStates(editor), true);
    if (!editor) {
        m_window.SetStatusText(1, QString());
        m_window.SetStatusText(2, QString());
        return;
    }
    m_window.SetStatusText(1, editor->modified ? QObject::tr("Modified") : QString());
    if (editor->insertMode)
        m_window.SetStatusText(2, QObject::tr("Insert"));
    else
        m_window.SetStatusText(2, editor->readOnly ? QObject::tr("Read only") : QObject::tr("Overwrite"));
}

// ---------------------------------------------------------------------------
// Commands

void TEditorController::OpenFileClick()
{
    const QString name = m_tabs->ChooseFileToOpen();
    if (!name.isEmpty())
        m_window.OpenFile(name);
}

void TEditorController::SaveAllFilesClick()
{
    m_tabs->SaveAllFilesClick();
    m_allSaved = m_tabs->AllSaved;
}

bool TEditorController::SaveForCompile()
{
    return m_tabs->SaveForCompile();
}

void TEditorController::PrintFileMenuClick()
{
    IEditor *editor = CurrentEditor();
    if (!editor)
        return;
    TPrintFileDialog &dialog = m_app.PrintDialog();
    dialog.SetSelectedOnly(editor->CanCopy());
    if (dialog.exec() != QDialog::Accepted)
        return;
    editor->Print(dialog.Colors(), dialog.LineNumbers(), dialog.SelectedOnly());
}

// The find-in-files dialog searches the open editors, the current one and
// the working directory into the Find list.
void TEditorController::FindAllMenuClick()
{
    TSearchAllDlg &dlg = m_app.SearchAllDialog();
    if (IEditor *editor = CurrentEditor())
        dlg.SetSearchText(editor->GetSelText());
    if (dlg.Execute() != QDialog::Accepted)
        return;
    dlg.SetResultList(m_findList);
    m_window.ShowOutputPanel(true);
    m_window.OutputTabs()->setCurrentIndex(TMainWindow::OutputFindTab);
    TSearchScope scope;
    for (IEditor *editor : m_list->Slots()) {
        if (editor)
            scope.openFiles.push_back(SourceOf(editor));
    }
    if (IEditor *current = CurrentEditor())
        scope.currentFile = SourceOf(current);
    scope.workDir = m_window.WorkDirControl().WorkDirList()->Directory();
    QString error;
    if (!dlg.Search(scope, error))
        throw EKorvidError(error);
}

void TEditorController::ReadSearchHistory(const TWorkspaceState &workspace)
{
    m_app.SetSearchHistories(workspace.searchHistory, workspace.replaceHistory);
}

void TEditorController::WriteSearchHistory(TWorkspaceState &workspace) const
{
    workspace.searchHistory = m_app.SearchHistory();
    workspace.replaceHistory = m_app.ReplaceHistory();
}
