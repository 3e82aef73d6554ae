// Whole-number statements translated for the interpreter. The first time an
// assignment, INC, DEC or condition runs, its expression tree is translated
// once into a short sequence of steps for a small stack machine: variables
// resolved to their place and type in the data memory, constants folded into
// the operators that use them, the stack depth known in advance. The
// translation needs every variable it reads to be declared as a whole number;
// variables keep their place and type until the program starts again, so a
// translation holds for the rest of the run. Statements that cannot be
// translated (a FLOAT, a function, a system variable, a variable not yet
// declared) are marked once and take the general way from then on.
#pragma once

#include "DataMemory.h"
#include "Program.h"

#include <cstdint>
#include <vector>

namespace velsim {

// One step. The binary operators come in three rows in the order of Op (kAdd
// to kGe): one takes both operands from the stack, one its right operand from
// the step's constant, one from the LONG variable at `arg`.
enum class Code : uint8_t {
    kConst, // push `arg`
    kLoadChar, // push the variable at `arg`
    kLoadByte,
    kLoadWord,
    kLoadInteger,
    kLoadLong,
    kLoadCharAt, // replace the index on the stack by the element of the array at `arg`, `length` elements
    kLoadByteAt,
    kLoadWordAt,
    kLoadIntegerAt,
    kLoadLongAt,
    kNeg,
    kNot,
    kAdd,
    kSub,
    kOr,
    kXor,
    kMul,
    kDiv,
    kMod,
    kAnd,
    kShl,
    kShr,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
    kAddConst,
    kSubConst,
    kOrConst,
    kXorConst,
    kMulConst,
    kDivConst, // never by 0 or -1: those keep the stack form with its checks
    kModConst,
    kAndConst,
    kShlConst,
    kShrConst,
    kEqConst,
    kNeConst,
    kLtConst,
    kGtConst,
    kLeConst,
    kGeConst,
    kAddLong,
    kSubLong,
    kOrLong,
    kXorLong,
    kMulLong,
    kDivLong,
    kModLong,
    kAndLong,
    kShlLong,
    kShrLong,
    kEqLong,
    kNeLong,
    kLtLong,
    kGtLong,
    kLeLong,
    kGeLong,
    kStore8, // pop into the variable at `arg`; the statement ends
    kStore16,
    kStore32,
    kStore8At, // pop the index, then the value into the element; the statement ends
    kStore16At,
    kStore32At,
    kResult, // the top of the stack is the statement's value; it ends
};
constexpr int kCodeCount = static_cast<int>(Code::kResult) + 1;

struct CodeStep {
    Code code = Code::kResult;
    int32_t arg = 0; // a constant or a place in the data memory
    int32_t length = 0; // the elements of an array
};

class CIntegerCode {
public:
    // The deepest stack a translation may use.
    static constexpr int kStackDepth = 32;

    // A program starts: nothing is translated.
    void Reset(size_t statements);

    // The steps of a translated assignment, INC or DEC, which end with the
    // store; nullptr when the statement has none (yet).
    const CodeStep *Statement(size_t stmt) const
    {
        return StepsAt(m_statements[stmt]);
    }
    // The steps of a statement's translated condition, which end with its value.
    const CodeStep *Condition(size_t stmt) const
    {
        return StepsAt(m_conditions[stmt]);
    }
    // Whether the statement or its condition has been tried before
    // (translated or not).
    bool StatementTried(size_t stmt) const
    {
        return m_statements[stmt] != kUntried;
    }
    bool ConditionTried(size_t stmt) const
    {
        return m_conditions[stmt] != kUntried;
    }

    // Translations of a statement's whole-number work on the variables as
    // declared now; each gives its steps, or nullptr (and the statement is
    // marked for the general way).
    const CodeStep *TranslateAssignment(size_t stmt, const VarRef &target, const Expr &value, const CDataMemory &vars);
    const CodeStep *TranslateIncrement(size_t stmt, const VarRef &target, int32_t by, const CDataMemory &vars);
    const CodeStep *TranslateCondition(size_t stmt, const Expr &condition, const CDataMemory &vars);

private:
    static constexpr int32_t kUntried = -1;
    static constexpr int32_t kGeneral = -2;

    bool Expression(const Expr &e, int nesting);
    bool Binary(const Expr &e, int nesting);
    bool Load(int var, const Expr *index, int nesting);
    bool Store(const VarRef &target);
    const Variable *WholeNumber(int var) const;
    void Emit(Code code, int32_t arg = 0, int32_t length = 0);
    void Push();
    void Begin();
    const CodeStep *Finish(int32_t &entry, bool translated);
    const CodeStep *StepsAt(int32_t entry) const
    {
        return entry >= 0 ? m_code.data() + entry : nullptr;
    }

    std::vector<CodeStep> m_code;
    // Per statement: the first step of its translation, kUntried or kGeneral.
    std::vector<int32_t> m_statements;
    std::vector<int32_t> m_conditions;
    const CDataMemory *m_vars = nullptr;
    size_t m_start = 0; // the first step of the translation under way
    int m_height = 0; // of the stack after the steps so far
    int m_highest = 0;
};

} // namespace velsim
