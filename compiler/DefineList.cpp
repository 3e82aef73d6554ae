#include "Macros.h"

#include <cctype>

namespace {

// Option names for SETCLOCK, SETCOUNTER, SETNETWORK, SETDISPLAY and
// SETKEYPAD, in the order they are entered.
constexpr OptionName kOptionNames[] = {
    {"NO_CLOCK", 0},       {"SOFT_CLOCK", 1},     {"REAL_CLOCK", 2},     {"RADIO_CLOCK", 3},  {"RAISING_EDGE", 0},
    {"FALLING_EDGE", 1},   {"BOTH_EDGES", 2},     {"UP_DOWN", 3},        {"PHASE", 4},        {"NET_RS485", 0},
    {"NET_RADIO", 1},      {"LED_SEG", 0},        {"LCD_DOGM8X1", 1},    {"LCD_DOGM16X2", 2}, {"LCD_DOGM16X3", 3},
    {"LCD_DOGM128X32", 4}, {"LCD_DOGM128X64", 4}, {"LCD_OLED128X64", 6}, {"SERIAL_SPI", 0},   {"SERIAL_COM", 1},
    {"PHONE_3X4", 0},      {"NUMERIC_4X4", 1},
};

std::string Upper(const std::string &s)
{
    std::string upper = s;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace

std::span<const OptionName> OptionNames()
{
    return kOptionNames;
}

CDefineList::CDefineList()
{
    m_macros.reserve(100);
    for (const OptionName &option : kOptionNames) {
        CMacro macro;
        macro.m_body = std::to_string(option.value);
        Define(option.name, macro);
    }
}

void CDefineList::Define(const std::string &name, const CMacro &macro)
{
    m_macros.insert_or_assign(Upper(name), macro);
    const NameBits bits = NameBitsOf(name);
    m_nameBits.set(bits.first);
    m_nameBits.set(bits.second);
}

void CDefineList::Undefine(const std::string &name)
{
    m_macros.erase(name);
}

const CMacro *CDefineList::Find(const std::string &name) const
{
    auto it = m_macros.find(std::string_view(name));
    return it == m_macros.end() ? nullptr : &it->second;
}
