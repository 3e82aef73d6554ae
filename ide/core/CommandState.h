#pragma once

#include "Commands.h"
#include "EditState.h"

#include <optional>
#include <vector>

// Which commands are enabled, computed from the workbench's state alone, so
// the rules can be read (and tested) in one place; the window only applies
// the result to its menu items and buttons.

// What command enabling depends on.
struct TWorkbenchState {
    std::optional<TEditState> editor; // the current editor, if any
    bool portOpen = false; // the serial port is open
};

// One menu item or button (by component name) and its enabled state.
struct TEnabledItem {
    const char *name;
    bool enabled;
};
using TEnabledItems = std::vector<TEnabledItem>;

// The items the opening handler of a top-level menu sets. Items it does not
// touch are not listed (Find All, Connect and Disconnect, the View checks).
TEnabledItems MenuItemStates(TMenuId menu, const TWorkbenchState &state);

// Toolbar buttons following the current editor's selection and undo state.
TEnabledItems EditButtonStates(const TEditState *editor);

// Toolbar buttons following whether there is a current editor and what it
// can save.
TEnabledItems DocumentButtonStates(const TEditState *editor);

// The editor popup's items; nothing changes without an editor.
TEnabledItems EditorPopupStates(const TEditState *editor);

// Connect and Disconnect, as menu items and buttons, for the link state.
TEnabledItems ConnectionStates(bool connected);

// The scope toolbar's buttons are enabled only on the scope tab.
TEnabledItems OutputTabStates(bool scopeTab);

// What the Debug menu depends on.
struct TDebugCommandState {
    bool editor = false; // a file is open in the editor
    bool simulated = false; // the device is the simulated module
    bool active = false; // a debug session runs
    bool stopped = false; // its program is stopped
};

// The Debug menu's items: a session starts only on the simulated module,
// stepping needs a stopped program.
TEnabledItems DebugMenuStates(const TDebugCommandState &state);
