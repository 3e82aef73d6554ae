// Bound on the nesting of expressions (parentheses, function arguments,
// array indexes) and of one-line IF statements within one line. Recursive
// descent uses the stack for every level, so a hostile line such as 100,000
// opening parentheses is reported once and the rest of the line skipped
// instead of exhausting the stack.
#pragma once

#include "Compiler.h"
#include "Parser.h"

constexpr int kMaxNesting = 200;
constexpr const char *kTooDeep = "Expression or IF nested too deeply (max. %d levels).";

// Counts one level for as long as it lives. Entering a level beyond the
// bound reports kTooDeep once per line and skips to the end of the line;
// m_nestingOverflow then tells the enclosing levels to expect nothing more
// and keeps the statement routines, which go on at the end of the line,
// from reporting anything else on it. The flag is cleared when the next
// line starts.
class NestingGuard {
public:
    explicit NestingGuard(CParser &parser)
        : m_parser(parser)
    {
        if (++m_parser.m_nesting <= kMaxNesting || m_parser.m_nestingOverflow)
            return;
        m_parser.Error(Format(kTooDeep, kMaxNesting));
        m_parser.m_nestingOverflow = true;
        while (m_parser.Symbol() != symEndOfLine)
            m_parser.NextSymbol();
    }
    ~NestingGuard()
    {
        --m_parser.m_nesting;
    }
    NestingGuard(const NestingGuard &) = delete;
    NestingGuard &operator=(const NestingGuard &) = delete;

    // True once the line has been given up; the level must return at once.
    bool Overflow() const
    {
        return m_parser.m_nestingOverflow;
    }

private:
    CParser &m_parser;
};
