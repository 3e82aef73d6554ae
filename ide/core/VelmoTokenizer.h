// Line tokenizer of the Velmo highlighter. Free of widgets: the lexer that
// colours the editor (TSynVelmo) feeds it one line at a time and styles the
// tokens it reports.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Token kinds, in the order the highlighter reports them.
enum class TTokenKind : std::uint8_t {
    Comment,
    Identifier,
    Key,
    Eol,
    Number,
    Preprocessor,
    Space,
    String,
    Symbol,
    Unknown,
};

// What one line hands to the next.
enum class TRangeState : std::uint8_t {
    None,
    AnsiComment, // inside "(*"
    PasComment, // inside "{"
    CComment, // inside "/*"
    Normal,
};

enum TCommentStyle : unsigned {
    csAnsiStyle = 1u << 0,
    csPasStyle = 1u << 1,
    csCStyle = 1u << 2,
    csAsmStyle = 1u << 3,
    csBasStyle = 1u << 4,
    csCPPStyle = 1u << 5,
};
using TCommentStyles = unsigned;

enum class TStringDelim : std::uint8_t { sdSingleQuote, sdDoubleQuote };

// The reserved words, sorted, upper case: the words of the language's
// keyword table whose class the editor shows as reserved (lang/Keywords.h).
const std::vector<std::string> &VelmoKeywords();

// A character of an identifier token: a character of a name (lang/CharClass.h)
// or "."; an identifier starts with a letter or "_" (velmo::lang::IsWordStart).
bool IsIdentifierChar(unsigned char c);

class TVelmoTokenizer {
public:
    TVelmoTokenizer();

    // Settings (the highlighter's published properties).
    TCommentStyles Comments() const
    {
        return m_comments;
    }
    void SetComments(TCommentStyles styles)
    {
        m_comments = styles;
    }
    bool DetectPreprocessor() const
    {
        return m_detectPreprocessor;
    }
    void SetDetectPreprocessor(bool on)
    {
        m_detectPreprocessor = on;
    }
    TStringDelim StringDelim() const
    {
        return m_stringDelim;
    }
    void SetStringDelim(TStringDelim delim);
    const std::vector<std::string> &KeyWords() const
    {
        return m_keywords;
    }
    void SetKeyWords(std::vector<std::string> words);
    bool IsKeyword(std::string_view word) const;

    // Scanning. The line may carry its line end; the scan stops at its end.
    void SetLine(std::string_view line, int index);
    void Next();
    bool GetEol() const
    {
        return m_kind == TTokenKind::Eol;
    }
    std::string_view GetToken() const;
    int GetTokenPos() const
    {
        return static_cast<int>(m_tokenPos);
    }
    TTokenKind GetTokenKind() const
    {
        return m_kind;
    }
    int LineIndex() const
    {
        return m_lineIndex;
    }

    TRangeState GetRange() const
    {
        return m_range;
    }
    void SetRange(TRangeState range)
    {
        m_range = range;
    }
    void ResetRange()
    {
        m_range = TRangeState::Normal;
    }

private:
    enum class TProc : std::uint8_t {
        Null,
        LF,
        CR,
        Space,
        String,
        Hash,
        Integer,
        Apostrophe,
        RoundOpen,
        Slash,
        Number,
        Semicolon,
        BraceOpen,
        Ident,
        Unknown,
    };

    void MakeDispatchTable();
    char At(std::size_t pos) const;
    bool AtLineEnd(std::size_t pos) const;
    void Dispatch(TProc proc);
    void ContinueComment();
    void ScanBlockComment(char close1, char close2, TRangeState range);
    void ToEndOfLine(TTokenKind kind);
    void SpaceProc();
    void CRProc();
    void StringProc();
    void HashProc();
    void IntegerProc();
    void NumberProc();
    void IdentProc();
    void OneChar(TTokenKind kind);

    std::array<TProc, 256> m_dispatch{};
    TCommentStyles m_comments = csBasStyle;
    bool m_detectPreprocessor = true;
    TStringDelim m_stringDelim = TStringDelim::sdDoubleQuote;
    std::vector<std::string> m_keywords;

    std::string_view m_line;
    int m_lineIndex = 0;
    std::size_t m_tokenPos = 0;
    std::size_t m_run = 0;
    TTokenKind m_kind = TTokenKind::Eol;
    TRangeState m_range = TRangeState::Normal;
};
