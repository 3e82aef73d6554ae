#include "ModuleMessages.h"

#include <cstdio>

namespace velsim {

namespace {

constexpr RunErrorEntry kRunErrors[] = {
    {RunError::kDivisionByZero, "Division by zero"},
    {RunError::kIndexOutOfRange, "Index out of range"},
    {RunError::kReturnWithoutGosub, "RETURN without GOSUB"},
    {RunError::kGosubOverflow, "GOSUB stack overflow"},
    {RunError::kMissingLine, "Jump to a missing line"},
    {RunError::kNotDeclared, "Variable not declared"},
    {RunError::kDataMemory, "Not enough data memory"},
    {RunError::kOutOfData, "Out of DATA"},
    {RunError::kNoFor, "NEXT without FOR"},
};

struct ImageFaultEntry {
    ImageFault fault;
    const char *format;
};

constexpr ImageFaultEntry kImageFaults[] = {
    {ImageFault::kEmpty, "no data"},
    {ImageFault::kTooLarge, "too large (max. %ld bytes)"},
    {ImageFault::kMissingData, "no data for address $%04lX"},
    {ImageFault::kNoEndRecord, "no end record (image ends at $%04lX)"},
    {ImageFault::kDamagedRecord, "line record at $%04lX is damaged"},
    {ImageFault::kLineOrder, "line number %ld out of order"},
    {ImageFault::kBadStatement, "line %ld cannot be decoded"},
    {ImageFault::kBlocks, "blocks do not nest in line %ld"},
    {ImageFault::kDataAfterEnd, "data after the end record at $%04lX"},
};

} // namespace

std::span<const RunErrorEntry> RunErrorTable()
{
    return kRunErrors;
}

const char *RunErrorText(RunError error)
{
    for (const RunErrorEntry &entry : kRunErrors) {
        if (entry.error == error)
            return entry.text;
    }
    return "Error";
}

std::string RunErrorLine(RunError error, int imageLine)
{
    char text[96];
    std::snprintf(text, sizeof text, "Error: %s in line %d.\r\n", RunErrorText(error), imageLine);
    return text;
}

std::string ImageFaultText(ImageFault fault, long number)
{
    for (const ImageFaultEntry &entry : kImageFaults) {
        if (entry.fault == fault) {
            char text[96];
            std::snprintf(text, sizeof text, entry.format, number);
            return text;
        }
    }
    return "unknown fault";
}

std::string BadImageLine(const std::string &reason)
{
    return "Bad program image: " + reason + ".\r\n";
}

std::string NotSimulatedNotice(const char *what)
{
    return std::string("velsim: ") + what + " is not simulated; it does nothing.\n";
}

} // namespace velsim
