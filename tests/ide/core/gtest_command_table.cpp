// The command table's keys: one key runs one command. A key of the main
// menu is never given to a second item, and a popup item with a key runs the
// same handler as the menu item that owns that key.
#include "Commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Key text without regard to letter case ("ctrl+n" and "Ctrl+N" are one key).
std::string KeyOf(const char *shortcut)
{
    std::string key(shortcut);
    for (char &c : key)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return key;
}

std::map<std::string, std::string> MenuKeys()
{
    std::map<std::string, std::string> handlers;
    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &command = CommandTable[i];
        if (!command.shortcut)
            continue;
        const auto [it, added] = handlers.emplace(KeyOf(command.shortcut), command.handler ? command.handler : "");
        EXPECT_TRUE(added) << command.shortcut << " is the key of " << it->second << " and of " << command.name;
    }
    return handlers;
}

TEST(CommandTable, EveryMenuKeyRunsOneCommand)
{
    const std::map<std::string, std::string> keys = MenuKeys();
    EXPECT_GE(keys.size(), 20u);
    for (const auto &[key, handler] : keys)
        EXPECT_FALSE(handler.empty()) << key << " has no handler";
}

TEST(CommandTable, PopupKeysRunTheMenuItemsHandler)
{
    const std::map<std::string, std::string> menu = MenuKeys();
    std::map<std::string, std::map<std::string, std::string>> perPopup;
    for (std::size_t i = 0; i < PopupItemCount; ++i) {
        const TPopupItem &item = PopupTable[i];
        if (!item.shortcut)
            continue;
        const std::string key = KeyOf(item.shortcut);
        const auto owner = menu.find(key);
        if (owner != menu.end()) {
            EXPECT_EQ(owner->second, item.handler) << item.name << " uses the menu's key " << item.shortcut;
        }
        const auto [it, added] = perPopup[item.popup].emplace(key, item.handler);
        EXPECT_TRUE(added) << item.shortcut << " twice in " << item.popup;
    }
}

} // namespace
