// The main window's view of the current editor and the document commands
// that involve the window (recent files, the saved state a compile needs).
// The editor tabs carry out and bind the other File, Edit and search commands.
#include "EditorTabs.h"
#include "MainForm.h"
#include "SearchReplace.h"

namespace {

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

} // namespace

void TMainWindow::CreateEditorTabs()
{
    EditorTabs = new TEditorTabs(EditorTabSet, EditorStack, &TSearchDlg::Instance(), this);
    EditorList = &EditorTabs->EditorList();
    EditorList->SetPopupMenu(Menu("EditorPopupMenu"));
    const auto notify = [this](void (TMainWindow::*handler)(const TEditState *)) {
        return [this, handler](IEditor *editor) {
            TSourceEditor *source = AsSourceEditor(editor);
            if (!source) {
                (this->*handler)(nullptr);
                return;
            }
            const TEditState state = EditStateOf(*EditorList, *source);
            (this->*handler)(&state);
        };
    };
    EditorTabs->OnEditStateChange = notify(&TMainWindow::UpdateEditButtons);
    EditorTabs->OnCaretChange = notify(&TMainWindow::UpdateCaret);
    EditorTabs->OnDocumentChange = notify(&TMainWindow::UpdateDocumentState);
}

IEditor *TMainWindow::CurrentEditor() const
{
    return EditorTabs ? EditorTabs->CurrentEditor() : nullptr;
}

std::optional<TEditState> TMainWindow::CurrentEditState() const
{
    TSourceEditor *editor = AsSourceEditor(CurrentEditor());
    if (!editor)
        return std::nullopt;
    return EditStateOf(*EditorList, *editor);
}

void TMainWindow::OpenFileClick()
{
    const QString name = EditorTabs->ChooseFileToOpen();
    if (!name.isEmpty())
        OpenFile(name);
}

void TMainWindow::SaveAllFilesClick()
{
    EditorTabs->SaveAllFilesClick();
    AllSaved = EditorTabs->AllSaved;
}
