// Macros of the directive pass: one macro, and the macro table of a run.
#pragma once

#include "NoCase.h"

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
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
    // False when no macro of this run has the name, in any letter case, so
    // that a line whose words all fail this test needs no expansion scan.
    // (True does not mean that the word is a macro.)
    bool MayBeMacro(std::string_view word) const
    {
        const NameBits bits = NameBitsOf(word);
        return m_nameBits[bits.first] && m_nameBits[bits.second];
    }

private:
    // Two bits per name defined in this run, picked by the name's case-blind
    // hash: with a few hundred macros a word that is none of them passes by
    // chance a few times in a thousand. An #UNDEF leaves its bits, which only
    // costs a scan.
    static constexpr int kNameBitsLog2 = 14;
    static constexpr size_t kNameBits = size_t(1) << kNameBitsLog2;
    using NameBits = std::pair<size_t, size_t>;
    static NameBits NameBitsOf(std::string_view name)
    {
        // The product carries every bit of the hash into its top bits, where
        // the two bit numbers are taken from.
        const uint64_t mixed = static_cast<uint64_t>(NoCaseHash()(name)) * 0x9E3779B97F4A7C15ull;
        return {static_cast<size_t>(mixed >> (64 - kNameBitsLog2)),
                static_cast<size_t>(mixed >> (64 - 2 * kNameBitsLog2)) % kNameBits};
    }
    std::bitset<kNameBits> m_nameBits;
    NoCaseMap<CMacro> m_macros;
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
