// Macros of the directive pass: one macro, and the macro table of a run.
#pragma once

#include "NoCase.h"

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One macro. In the body of a macro with parameters, parameter k is the
// placeholder "#k" and a "#" written in the definition is kept as "##", so
// a device number such as "PRINT #1, v" in a definition never takes an
// argument's place.
class CMacro {
public:
    std::string m_body;
    int m_paramCount = 0;

    // Parses what follows the macro's name in a definition: nothing (an empty
    // body), a body without parameters, or "(" directly after the name, a
    // parameter list, ")" and the body. False for a malformed parameter list.
    bool Parse(const std::string &text);

    // The body with every placeholder replaced by its argument. One pass over
    // the body: an inserted argument is never searched for placeholders.
    std::string Substitute(const std::vector<std::string> &args) const;

private:
    // Scratch state of the parameter-list parser.
    enum State { kOpen, kInName, kAfterName, kAfterComma, kClosed, kFailed };
    std::string m_word; // parameter name being read
    State m_state = kOpen;
    char m_char = 0; // character being looked at
    size_t m_pos = 0; // index of the next character of the definition
    std::vector<std::string> m_params;

    void ParameterChar();
    void EndOfName();
    int ParameterIndex(const std::string &word) const;
    std::string MarkParameters(const std::string &body) const;
};

// The macro table: upper-case name -> macro, shared by all files of a run.
// It starts with the option names of the modules (NO_CLOCK, LCD_DOGM8X1, ...).
class CDefineList {
public:
    CDefineList();

    void Define(const std::string &name, const CMacro &macro); // replaces an earlier one
    void Undefine(const std::string &name); // unknown names are no error
    const CMacro *Find(const std::string &name) const; // any case; nullptr if absent
    // False when no macro has a name of this first letter and length, so
    // that a line whose words all fail this test needs no expansion scan.
    // (True does not mean that the word is a macro.)
    bool MayBeMacro(std::string_view word) const
    {
        return m_shapes[ShapeOf(word)];
    }

private:
    static constexpr size_t kMaxShapeLength = 32;
    static size_t ShapeOf(std::string_view word)
    {
        const size_t length = word.size() < kMaxShapeLength ? word.size() : kMaxShapeLength;
        return static_cast<unsigned char>(UpperAscii(word.empty() ? ' ' : word[0])) * (kMaxShapeLength + 1) + length;
    }
    NoCaseMap<CMacro> m_macros;
    // Shapes (first letter, length) of every name defined in this run; an
    // #UNDEF leaves its shape, which only costs a scan.
    std::vector<bool> m_shapes = std::vector<bool>(256 * (kMaxShapeLength + 1));
};

// The option names every program knows (NO_CLOCK, LCD_DOGM8X1, ...), each a
// macro without parameters whose body is its value, in the order they are
// entered into a new macro table.
struct OptionName {
    const char *name;
    int value;
};
std::span<const OptionName> OptionNames();

// Blanks and tabs removed at both ends.
std::string TrimBlanks(const std::string &text);
