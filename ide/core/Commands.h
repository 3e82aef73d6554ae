#pragma once

#include <cstddef>

// The workbench's command table: every main-menu item with its caption (the
// "&" marks the access key), shortcut, toolbar button with its hint and the
// name of the main-window handler that runs it. Menus, toolbars and the
// shortcut handling are all built from these tables.

enum class TMenuId { File, Edit, Program, Controller, Debug, View, Help };
enum class TToolBarId { None, Edit, Controller };

struct TTopMenu {
    TMenuId id;
    const char *name; // component name of the menu
    const char *caption;
};

struct TCommand {
    TMenuId menu;
    const char *submenu; // caption of the submenu holding the item, or nullptr
    const char *name; // component name of the menu item (or of the submenu when
                      // handler is nullptr, or of the separator when caption is nullptr)
    const char *caption; // nullptr for a separator
    const char *shortcut; // portable key text, or nullptr
    const char *handler; // main-window handler name
    bool checkable;
    TToolBarId toolbar; // toolbar holding the item's button
    const char *button; // component name of the toolbar button, or nullptr
    const char *buttonText;
    const char *hint;
    bool groupStart; // a separator precedes the button on its toolbar
};

struct TPopupItem {
    const char *popup; // component name of the popup menu
    const char *name; // component name of the item; nullptr for a separator
    const char *caption;
    const char *shortcut;
    const char *handler;
    bool checkable;
};

// Buttons of the panel toolbars that have no menu item.
struct TToolButtonDef {
    const char *toolbar; // component name of the toolbar
    const char *name;
    const char *text;
    const char *hint;
    const char *handler; // main-window handler name
    bool checkable;
    bool startsEnabled;
};

extern const TTopMenu TopMenus[];
extern const std::size_t TopMenuCount;
extern const TCommand CommandTable[];
extern const std::size_t CommandCount;
extern const TPopupItem PopupTable[];
extern const std::size_t PopupItemCount;
extern const char *const PopupMenuNames[];
extern const std::size_t PopupMenuCount;
extern const TToolButtonDef PanelButtons[];
extern const std::size_t PanelButtonCount;
