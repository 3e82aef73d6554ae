#include "Decoder.h"

#include "Image.h"
#include "ModuleMessages.h"
#include "StatementDecoder.h"

#include <algorithm>

namespace velsim {

namespace {

void ResolveJumps(CProgram &program)
{
    for (Stmt &stmt : program.m_stmts) {
        stmt.targets.clear();
        for (int number : stmt.labels)
            stmt.targets.push_back(program.StmtOfLine(number));
    }
}

} // namespace

int CProgram::StmtOfLine(int number) const
{
    if (number == m_endNumber)
        return static_cast<int>(m_stmts.size());
    auto it = std::lower_bound(m_lines.begin(), m_lines.end(), number,
                               [](const ProgramLine &line, int n) { return line.number < n; });
    return it != m_lines.end() && it->number == number ? it->firstStmt : -1;
}

int CProgram::DataOfLine(int number) const
{
    auto it = std::lower_bound(m_data.begin(), m_data.end(), number,
                               [](const DataItem &item, int n) { return item.line < n; });
    return static_cast<int>(it - m_data.begin());
}

std::unique_ptr<CProgram> DecodeProgram(const std::vector<uint8_t> &image, std::string &error)
{
    ImageLines lines;
    error = SplitImage(image, lines);
    if (!error.empty())
        return nullptr;
    auto program = std::make_unique<CProgram>();
    program->m_endNumber = lines.endNumber;
    CStatementDecoder decoder(*program);
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        const ImageLine &line = lines.lines[i];
        program->m_lines.push_back({line.number, static_cast<int>(program->m_stmts.size())});
        try {
            decoder.DecodeLine(static_cast<int>(i), line.body);
        } catch (const DecodeFailure &) {
            error = ImageFaultText(ImageFault::kBadStatement, line.number);
            return nullptr;
        }
    }
    int badLine = 0;
    if (!LinkBlocks(*program, badLine)) {
        error = ImageFaultText(ImageFault::kBlocks, badLine);
        return nullptr;
    }
    ResolveJumps(*program);
    return program;
}

} // namespace velsim
