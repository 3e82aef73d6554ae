#pragma once

// What the main window needs to know about one editor to enable commands and
// fill the status bar. The editor list reports its editors in this form.
struct TEditState {
    bool canCut = false;
    bool canCopy = false;
    bool canUndo = false;
    bool canRedo = false;
    bool canSave = false;
    bool canPaste = false;
    bool canDelete = false;
    bool anyCanSave = false; // some open editor answers CanSave
    bool modified = false;
    bool insertMode = true;
    bool readOnly = false;
    int caretLine = 1;
    int caretColumn = 1;
};
