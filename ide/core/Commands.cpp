#include "Commands.h"

using M = TMenuId;
using T = TToolBarId;

const TTopMenu TopMenus[] = {
    {M::File, "FileMenu", "&File"},          {M::Edit, "EditMenu", "&Edit"},
    {M::Program, "ProgramMenu", "&Program"}, {M::Controller, "ControllerMenu", "&Controller"},
    {M::Debug, "DebugMenu", "De&bug"},       {M::View, "ViewMenu", "&View"},
    {M::Help, "HelpMenu", "&Help"},
};
const std::size_t TopMenuCount = sizeof TopMenus / sizeof TopMenus[0];

// clang-format off
const TCommand CommandTable[] = {
    // menu, submenu, name, caption, shortcut, handler, checkable, toolbar, button, button text, hint, group
    {M::File, "&New", "NewBasicFileMenu", "&Basic file", "Ctrl+N", "NewBasicFileClick", false, T::Edit, "NewBtn", "New", "Create new file", true},
    {M::File, "&New", "NewTextFileMenu", "&Text file", nullptr, "NewTextFileClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "OpenFileMenu", "&Open...", "Ctrl+O", "OpenFileClick", false, T::Edit, "OpenBtn", "Open", "Open file...", false},
    {M::File, "&Recent Files", "RecentFilesMenu", "&Recent Files", nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "SaveFileMenu", "&Save", "Ctrl+S", "SaveFileClick", false, T::Edit, "SaveBtn", "Save", "Save file", false},
    {M::File, nullptr, "SaveFileAsMenu", "Save &As...", nullptr, "SaveFileAsClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "SaveAllFilesMenu", "Sa&ve All Files", nullptr, "SaveAllFilesClick", false, T::Edit, "SaveAllBtn", "SaveAll", "Save all files", false},
    {M::File, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "CloseFileMenu", "&Close", "Ctrl+F4", "CloseFileClick", false, T::Edit, "CloseBtn", "Close", "Close file", false},
    {M::File, nullptr, "CloseAllFilesMenu", "Close All Fi&les", "Ctrl+Shift+F4", "CloseAllFilesClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "PrintFileMenu", "&Print...", nullptr, "PrintFileMenuClick", false, T::Edit, "PrintBtn", "Print", "Print file...", false},
    {M::File, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::File, nullptr, "ExitMenu", "E&xit", "Alt+F4", "ExitMenuClick", false, T::None, nullptr, nullptr, nullptr, false},

    {M::Edit, nullptr, "UndoMenu", "&Undo", "Ctrl+Z", "UndoMenuClick", false, T::Edit, "UndoBtn", "Undo", "Undo", true},
    {M::Edit, nullptr, "RedoMenu", "&Redo", "Ctrl+Shift+Z", "RedoMenuClick", false, T::Edit, "RedoBtn", "Redo", "Redo", false},
    {M::Edit, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Edit, nullptr, "CutMenu", "Cu&t", "Ctrl+X", "CutMenuClick", false, T::Edit, "CutBtn", "Cut", "Cut", true},
    {M::Edit, nullptr, "CopyMenu", "&Copy", "Ctrl+C", "CopyMenuClick", false, T::Edit, "CopyBtn", "Copy", "Copy", false},
    {M::Edit, nullptr, "PasteMenu", "&Paste", "Ctrl+V", "PasteMenuClick", false, T::Edit, "PasteBtn", "Paste", "Paste", false},
    {M::Edit, nullptr, "DeleteMenu", "De&lete", nullptr, "DeleteMenuClick", false, T::Edit, "DeleteBtn", "Delete", "Delete", false},
    {M::Edit, nullptr, "SelectAllMenu", "Select &All", "Ctrl+A", "SelectAllMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Edit, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Edit, nullptr, "FindMenu", "&Find...", "Ctrl+F", "FindMenuClick", false, T::Edit, "FindBtn", "Find", "Find...", true},
    {M::Edit, nullptr, "FindAllMenu", "Find &All...", "Ctrl+Shift+F", "FindAllMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Edit, nullptr, "FindNextMenu", "Find &Next", "F3", "FindNextMenuClick", false, T::Edit, "FindNextBtn", "FindNext", "Find next", false},
    {M::Edit, nullptr, "FindPrevMenu", "F&ind Previous", "Shift+F3", "FindPrevMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Edit, nullptr, "FindReplaceMenu", "R&eplace...", "Ctrl+R", "FindReplaceMenuClick", false, T::Edit, "ReplaceBtn", "Replace", "Replace...", false},

    {M::Program, nullptr, "CompileMenu", "&Compile", "F9", "CompileMenuClick", false, T::Edit, "CompileBtn", "Compile", "Compile (F9)", true},
    {M::Program, nullptr, "DownloadMenu", "&Download...", "F10", "DownloadMenuClick", false, T::Edit, "DownloadBtn", "Download", "Download... (F10)", false},

    {M::Controller, nullptr, "SettingsMenu", "&Settings...", nullptr, "SettingsMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Controller, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Controller, nullptr, "ConnectMenu", "&Connect", nullptr, "ConnectMenuClick", false, T::Controller, "ConnectBtn", "Connect", "Connect to microcontroller", true},
    {M::Controller, nullptr, "DisconnectMenu", "&Disconnect", nullptr, "DisconnectMenuClick", false, T::Controller, "DisconnectBtn", "Disconnect", "Disconnect", false},
    {M::Controller, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Controller, nullptr, "UpdateMenu", "&Update...", nullptr, "UpdateMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Controller, nullptr, "ResetMenu", "&Reset", "F11", "ResetMenuClick", false, T::None, nullptr, nullptr, nullptr, false},

    {M::Debug, nullptr, "StartDebugMenu", "&Start Debugging", "F5", "StartDebugMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "ContinueDebugMenu", "&Continue", "F8", "ContinueDebugMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "PauseDebugMenu", "&Pause", "Shift+F8", "PauseDebugMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "StopDebugMenu", "S&top Debugging", "Shift+F5", "StopDebugMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "StepOverMenu", "Step &Over", "F6", "StepOverMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "StepIntoMenu", "Step &Into", "F7", "StepIntoMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "StepOutMenu", "Step O&ut", "Shift+F7", "StepOutMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "RunToCursorMenu", "&Run to Cursor", "F4", "RunToCursorMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "ToggleBreakpointMenu", "Toggle &Breakpoint", "F2", "ToggleBreakpointMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Debug, nullptr, "EditBreakpointMenu", "&Edit Breakpoint...", nullptr, "EditBreakpointMenuClick", false, T::None, nullptr, nullptr, nullptr, false},

    {M::View, nullptr, "ViewWorkDirMenu", "Working Directory", nullptr, "ViewWorkDirMenuClick", true, T::None, nullptr, nullptr, nullptr, false},
    {M::View, nullptr, "ViewOutputMenu", "Output Panel", nullptr, "ViewOutputMenuClick", true, T::None, nullptr, nullptr, nullptr, false},

    {M::Help, nullptr, "ProgrammingManualMenu", "Programming Manual", "F1", "ProgrammingManualMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, nullptr, "ManualSeparator", nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, "Online Help", "LanguageMenu", "Language", nullptr, "LanguageMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, "Online Help", "SamplesMenu", "Samples", nullptr, "SamplesMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, nullptr, "VelmoHomepageMenu", "Velmo Homepage", nullptr, "VelmoHomepageMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, nullptr, "TechnicalSupportMenu", "Technical Support", nullptr, "TechnicalSupportMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, nullptr, nullptr, nullptr, nullptr, nullptr, false, T::None, nullptr, nullptr, nullptr, false},
    {M::Help, nullptr, "AboutMenu", "Info about Velmo IDE", nullptr, "AboutMenuClick", false, T::None, nullptr, nullptr, nullptr, false},
};
// clang-format on
const std::size_t CommandCount = sizeof CommandTable / sizeof CommandTable[0];

const char *const PopupMenuNames[] = {
    "EditorPopupMenu", "WorkDirPopupMenu", "OutputPopupMenu", "FindPopupMenu", "ScopePopupMenu", "ConsolePopupMenu",
};
const std::size_t PopupMenuCount = sizeof PopupMenuNames / sizeof PopupMenuNames[0];

// clang-format off
const TPopupItem PopupTable[] = {
    {"EditorPopupMenu", "EditorCloseItem", "&Close", "Ctrl+F4", "CloseFileClick", false},
    {"EditorPopupMenu", nullptr, nullptr, nullptr, nullptr, false},
    {"EditorPopupMenu", "EditorUndoItem", "&Undo", "Ctrl+Z", "UndoMenuClick", false},
    {"EditorPopupMenu", "EditorRedoItem", "&Redo", "Ctrl+Shift+Z", "RedoMenuClick", false},
    {"EditorPopupMenu", nullptr, nullptr, nullptr, nullptr, false},
    {"EditorPopupMenu", "EditorCutItem", "Cu&t", "Ctrl+X", "CutMenuClick", false},
    {"EditorPopupMenu", "EditorCopyItem", "C&opy", "Ctrl+C", "CopyMenuClick", false},
    {"EditorPopupMenu", "EditorPasteItem", "&Paste", "Ctrl+V", "PasteMenuClick", false},
    {"EditorPopupMenu", "EditorDeleteItem", "&Delete", nullptr, "DeleteMenuClick", false},
    {"EditorPopupMenu", nullptr, nullptr, nullptr, nullptr, false},
    {"EditorPopupMenu", "EditorSelectAllItem", "Select &All", "Ctrl+A", "SelectAllMenuClick", false},
    {"WorkDirPopupMenu", "RefreshListItem", "&Refresh List", nullptr, "RefreshBtnClick", false},
    {"WorkDirPopupMenu", "DeleteWorkDirFileItem", "&Delete File", nullptr, "DeleteWorkDirFileMenuClick", false},
    {"OutputPopupMenu", "OutputClearItem", "&Clear output", nullptr, "ClearBtnClick", false},
    {"FindPopupMenu", "FindClearItem", "&Clear output", nullptr, "ClearBtnClick", false},
    {"ScopePopupMenu", "ScopeClearItem", "&Clear output", nullptr, "ClearBtnClick", false},
    {"ScopePopupMenu", "ScopePauseItem", "&Pause", nullptr, "ScopePauseMenuClick", true},
    {"ScopePopupMenu", nullptr, nullptr, nullptr, nullptr, false},
    {"ScopePopupMenu", "ScopeExportItem", "&Export samples...", nullptr, "ScopeExportMenuClick", false},
    {"ScopePopupMenu", "ScopeSavePictureItem", "&Save picture...", nullptr, "ScopeSavePictureMenuClick", false},
    {"ConsolePopupMenu", "ConsoleClearItem", "&Clear output", nullptr, "ClearBtnClick", false},
    {"ConsolePopupMenu", "ConsoleLoggingItem", "&Logging...", nullptr, "ConsoleLoggingMenuClick", true},
    {"ConsolePopupMenu", nullptr, nullptr, nullptr, nullptr, false},
    {"ConsolePopupMenu", "ConsoleCopyItem", "C&opy", nullptr, "ConsoleCopyMenuClick", false},
    {"ConsolePopupMenu", "ConsoleSaveTextItem", "&Save text...", nullptr, "ConsoleSaveTextMenuClick", false},
};
// clang-format on
const std::size_t PopupItemCount = sizeof PopupTable / sizeof PopupTable[0];

// clang-format off
const TToolButtonDef PanelButtons[] = {
    {"WorkDirToolbar", "WorkDirBtn", "Folder", "Select folder...", "WorkDirBtnClick", false, true},
    {"WorkDirToolbar", "RefreshBtn", "Refresh", "Refresh file list", "RefreshBtnClick", false, true},
    {"WorkDirToolbar", "FilterBasBtn", ".bas", "Filter Basic files (*.bas)", "WorkDirFilterBtnClick", true, true},
    {"WorkDirToolbar", "FilterLstBtn", ".lst", "Filter List files (*.lst)", "WorkDirFilterBtnClick", true, true},
    {"WorkDirToolbar", "FilterHexBtn", ".hex", "Filter Hex files (*.hex)", "WorkDirFilterBtnClick", true, true},
    {"OutputToolbar", "ClearBtn", "Clear", "Clear current view", "ClearBtnClick", false, true},
    {"OutputToolbar", "Channel0Btn", "#0", "Setup Channel #0", "ChannelBtnClick", false, false},
    {"OutputToolbar", "Channel1Btn", "#1", "Setup Channel #1", "ChannelBtnClick", false, false},
    {"OutputToolbar", "Channel2Btn", "#2", "Setup Channel #2", "ChannelBtnClick", false, false},
    {"OutputToolbar", "Channel3Btn", "#3", "Setup Channel #3", "ChannelBtnClick", false, false},
    {"ControllerToolBar", "SendMacroBtn", "Send", "Send macro", "SendMacroBtnClick", false, true},
};
// clang-format on
const std::size_t PanelButtonCount = sizeof PanelButtons / sizeof PanelButtons[0];
