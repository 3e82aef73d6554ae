#include "CommandState.h"

namespace {

const TEditState kNoEditor;

const TEditState &OrNone(const TEditState *editor)
{
    return editor ? *editor : kNoEditor;
}

TEnabledItems FileMenuStates(const TWorkbenchState &state)
{
    const bool has = state.editor.has_value();
    const TEditState &e = has ? *state.editor : kNoEditor;
    return {{"SaveFileMenu", has && e.canSave},
            {"SaveAllFilesMenu", has && e.anyCanSave},
            {"SaveFileAsMenu", has},
            {"PrintFileMenu", has},
            {"CloseFileMenu", has},
            {"CloseAllFilesMenu", has}};
}

TEnabledItems EditMenuStates(const TWorkbenchState &state)
{
    const bool has = state.editor.has_value();
    const TEditState &e = has ? *state.editor : kNoEditor;
    return {{"UndoMenu", has && e.canUndo},
            {"RedoMenu", has && e.canRedo},
            {"CutMenu", has && e.canCut},
            {"CopyMenu", has && e.canCopy},
            {"PasteMenu", has && e.canPaste},
            {"DeleteMenu", has && e.canDelete},
            {"SelectAllMenu", has},
            {"FindMenu", has},
            {"FindNextMenu", has},
            {"FindPrevMenu", has},
            {"FindReplaceMenu", has}};
}

} // namespace

TEnabledItems MenuItemStates(TMenuId menu, const TWorkbenchState &state)
{
    switch (menu) {
    case TMenuId::File:
        return FileMenuStates(state);
    case TMenuId::Edit:
        return EditMenuStates(state);
    case TMenuId::Program:
        return {{"CompileMenu", state.editor.has_value()}};
    case TMenuId::Controller:
        return {{"ResetMenu", state.portOpen}};
    case TMenuId::Debug: // DebugMenuStates
    case TMenuId::View:
    case TMenuId::Help:
        break;
    }
    return {};
}

TEnabledItems EditButtonStates(const TEditState *editor)
{
    const TEditState &e = OrNone(editor);
    return {{"CutBtn", e.canCut},   {"CopyBtn", e.canCopy},   {"UndoBtn", e.canUndo},
            {"RedoBtn", e.canRedo}, {"PasteBtn", e.canPaste}, {"DeleteBtn", e.canDelete}};
}

TEnabledItems DocumentButtonStates(const TEditState *editor)
{
    const bool has = editor != nullptr;
    const TEditState &e = OrNone(editor);
    return {{"FindBtn", has},  {"ReplaceBtn", has}, {"CompileBtn", has},           {"FindNextBtn", has},
            {"CloseBtn", has}, {"PrintBtn", has},   {"SaveBtn", has && e.canSave}, {"SaveAllBtn", has && e.anyCanSave}};
}

TEnabledItems EditorPopupStates(const TEditState *editor)
{
    if (!editor)
        return {};
    return {{"EditorCutItem", editor->canCut},
            {"EditorCopyItem", editor->canCopy},
            {"EditorUndoItem", editor->canUndo},
            {"EditorRedoItem", editor->canRedo},
            {"EditorPasteItem", editor->canPaste},
            {"EditorDeleteItem", editor->canDelete},
            {"EditorCloseItem", true},
            {"EditorSelectAllItem", true}};
}

TEnabledItems ConnectionStates(bool connected)
{
    return {{"ConnectMenu", !connected},
            {"ConnectBtn", !connected},
            {"DisconnectMenu", connected},
            {"DisconnectBtn", connected}};
}

TEnabledItems OutputTabStates(bool scopeTab)
{
    return {{"Channel0Btn", scopeTab}, {"Channel1Btn", scopeTab}, {"Channel2Btn", scopeTab}, {"Channel3Btn", scopeTab}};
}

TEnabledItems DebugMenuStates(const TDebugCommandState &state)
{
    const bool stopped = state.active && state.stopped;
    return {{"StartDebugMenu", state.simulated && state.editor && !state.active},
            {"ContinueDebugMenu", stopped},
            {"PauseDebugMenu", state.active && !state.stopped},
            {"StopDebugMenu", state.active},
            {"StepOverMenu", stopped},
            {"StepIntoMenu", stopped},
            {"StepOutMenu", stopped},
            {"RunToCursorMenu", stopped && state.editor},
            {"ToggleBreakpointMenu", state.editor},
            {"EditBreakpointMenu", state.editor}};
}
