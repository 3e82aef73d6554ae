// A program image decoded once into statements and expression trees that
// the interpreter runs directly: no line is decoded again while it runs.
#pragma once

#include "Value.h"

#include <deque>
#include <string>
#include <vector>

namespace velsim {

enum class Op : uint8_t {
    kConst,
    kVar, // a variable (a whole array counts as its first element)
    kElement, // an array element; `a` is the index
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
    kSysVar, // `sym` (a family member included), `suffix`
    kFunction, // `sym` with the arguments `a`, `b`, `args` (USR), `var` and `text` (LEN, VAL, POS)
};

struct Expr {
    Op op = Op::kConst;
    int sym = 0; // TSYMBOL of a system variable or function
    int suffix = -1; // port bit, or the symbol after "." (SPEED, HOUR, YEAR, ...)
    int var = -1; // variable number (its short name in the image)
    Value value; // kConst
    // Built only of whole-number constants, variables, array elements and
    // operators: evaluated in whole numbers while every variable it reads
    // holds one (the interpreter's fast path).
    bool integral = false;
    const Expr *a = nullptr;
    const Expr *b = nullptr;
    std::vector<const Expr *> args; // USR
    std::string text; // POS: the string searched for
};

// A variable, an element of an array (index set) or a whole array.
struct VarRef {
    int var = -1;
    const Expr *index = nullptr;
};

// A writable system variable: PWM3, PORT1.0, TIME.HOUR, ...
struct SysRef {
    int sym = 0;
    int suffix = -1;
};

enum class StmtKind : uint8_t {
    kDeclare,
    kAssign,
    kAssignText, // a string constant into a whole array
    kAssignList, // [a, b, c] into a whole array
    kIncDec,
    kSysAssign,
    kIfBlock, // `jump`: the next ELSIF, ELSE or ENDIF
    kIfLine, // `jump`: the first statement of the next line
    kIfJump, // IF cond GOTO/GOSUB/RETURN/EXIT: `jump` skips that one statement
    kElsif, // `jump`: its next branch; `jump2`: its ENDIF
    kElse, // `jump2`: its ENDIF
    kEndif,
    kFor, // `jump`: its NEXT; `slot`: its loop state
    kNext, // `jump`: its FOR
    kWhile, // `jump`: its WEND
    kWend, // `jump`: its WHILE
    kDo,
    kLoop, // `jump`: its DO
    kExit, // `jump`: the end of the loop it leaves
    kOn,
    kGoto,
    kGosub,
    kReturn,
    kEnd,
    kDevice, // a statement of the module's devices; `sym` says which
};

struct VarDeclaration {
    int var = -1;
    int length = 0; // 0 for a plain variable
};

// One argument of a device statement, in the order of its syntax.
enum class ArgKind : uint8_t { kNone, kExpr, kVar, kVarList, kText, kLabel };

struct Arg {
    ArgKind kind = ArgKind::kNone;
    const Expr *expr = nullptr;
    VarRef var; // kVar; a string variable too
    std::vector<VarRef> vars; // kVarList
    std::string text; // kText
    int label = 0; // kLabel: a line number
};

enum class ItemKind : uint8_t { kText, kExpr, kCr, kNl, kTab, kSpc, kChr, kHex, kUsing };

struct PrintItem {
    ItemKind kind = ItemKind::kExpr;
    const Expr *expr = nullptr;
    std::string text; // kText; the format of kUsing
};

struct Stmt {
    StmtKind kind = StmtKind::kEnd;
    int sym = 0; // the statement's keyword (declarations: the type; INC/DEC; device statements)
    int line = 0; // index in CProgram::m_lines
    VarRef target;
    SysRef sys;
    const Expr *e1 = nullptr; // condition, value, FOR start
    const Expr *e2 = nullptr; // FOR limit
    const Expr *e3 = nullptr; // FOR step
    int jump = -1;
    int jump2 = -1;
    int slot = -1;
    std::vector<int> labels; // line numbers of GOTO, GOSUB, ON
    std::vector<int> targets; // their statements, -1 where the line does not exist
    std::vector<VarDeclaration> decls;
    std::vector<const Expr *> list; // an initializer list
    std::string text; // a string constant
    const Expr *device = nullptr; // "#" and the device number
    std::vector<Arg> args;
    std::vector<PrintItem> items;
    bool newline = true; // PRINT without a "," at its end
};

struct ProgramLine {
    int number = 0;
    int firstStmt = 0; // its first statement; the next line's first for an empty line
};

// One DATA item, in program order.
struct DataItem {
    int line = 0; // line number
    const Expr *expr = nullptr; // nullptr for a string
    std::string text;
};

class CProgram {
public:
    CProgram() = default;
    CProgram(const CProgram &) = delete;
    CProgram &operator=(const CProgram &) = delete;

    // The statement a jump to this line number continues with: the line's
    // first statement, the end of the program for the end record's number,
    // -1 for a number no line has.
    int StmtOfLine(int number) const;
    // The first DATA item at or after this line number.
    int DataOfLine(int number) const;
    int LineNumberOf(int stmt) const
    {
        return m_lines[m_stmts[stmt].line].number;
    }

    Expr *NewExpr()
    {
        return &m_exprs.emplace_back();
    }

    std::vector<ProgramLine> m_lines;
    std::vector<Stmt> m_stmts;
    std::vector<DataItem> m_data;
    int m_endNumber = 1; // the end record's line number
    int m_loopSlots = 0; // FOR statements, each with a slot of loop state
    int m_varCount = 0; // one more than the highest variable number used

private:
    std::deque<Expr> m_exprs; // stable addresses for the pointers above
};

} // namespace velsim
