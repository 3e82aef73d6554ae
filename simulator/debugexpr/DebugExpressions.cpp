#include "DebugExpressions.h"

#include "Compiler.h"
#include "Decoder.h"
#include "Parser.h"
#include "Source.h"

#include "lang/CodePage.h"

#include <sstream>

namespace velsim {

namespace {

// The program the expression is compiled in: every variable declared in the
// order of the map, so each gets the short name it has in the image, and
// then the expression as the condition of a one-line IF.
std::string ProgramFor(const velmo::lang::DebugMap &map, const std::string &text)
{
    std::string program;
    for (const velmo::lang::MapVariable &var : map.variables) {
        program += var.type + " " + var.name;
        if (var.length > 0)
            program += "[" + std::to_string(var.length) + "]";
        program += "\n";
    }
    return program + "IF " + text + " THEN END\n";
}

// The first message without its "(line): " head.
std::string FirstMessage(const std::string &output)
{
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t head = line.find("): ");
        if (!line.empty() && line[0] == '(' && head != std::string::npos)
            return line.substr(head + 3);
    }
    return "not an expression";
}

} // namespace

CompiledExpr CompileDebugExpression(const velmo::lang::DebugMap &map, const std::string &text, std::string &error)
{
    if (text.find_first_of("\r\n:") != std::string::npos) {
        error = "one expression only";
        return {};
    }
    std::ostringstream out;
    CCompiler compiler(out);
    CSource source;
    source.SetText(velmo::lang::Utf8ToAnsi(ProgramFor(map, text)));
    CParser parser(compiler);
    for (int i = 0; i < source.Count(); ++i)
        parser.CompileLine(i, source[i]);
    parser.Finish(source.Count());
    if (compiler.m_errorCount > 0) {
        error = FirstMessage(out.str());
        return {};
    }
    std::shared_ptr<CProgram> program = DecodeProgram(compiler.m_code.Bytes(), error);
    if (!program)
        return {};
    for (auto it = program->m_stmts.rbegin(); it != program->m_stmts.rend(); ++it) {
        if (it->kind == StmtKind::kIfLine || it->kind == StmtKind::kIfJump)
            return {program, it->e1};
    }
    error = "not an expression";
    return {};
}

ExprCompiler DebugExpressionCompiler(const velmo::lang::DebugMap &map)
{
    return [map](const std::string &text, std::string &error) { return CompileDebugExpression(map, text, error); };
}

} // namespace velsim
