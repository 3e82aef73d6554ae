// Every text the simulated module sends on the serial line or writes on
// standard error, in one place.
#pragma once

#include "lang/DownloadHandshake.h"

#include <span>
#include <string>

namespace velsim {

// The download handshake, as the workbench knows it too.
using velmo::lang::kRecordAck;
using velmo::lang::kResetCommand;
using velmo::lang::kResetReply;

// Errors that stop a running program.
enum class RunError {
    kDivisionByZero,
    kIndexOutOfRange,
    kReturnWithoutGosub,
    kGosubOverflow,
    kMissingLine,
    kNotDeclared,
    kDataMemory,
    kOutOfData,
    kNoFor,
};

const char *RunErrorText(RunError error);

// Every runtime error with its text, for the programming manual.
struct RunErrorEntry {
    RunError error;
    const char *text;
};
std::span<const RunErrorEntry> RunErrorTable();

// "Error: Division by zero in line 3.\r\n": the line the module sends when a
// program stops on an error (the image line number).
std::string RunErrorLine(RunError error, int imageLine);

// Why a received image cannot run; each names what is wrong and where.
enum class ImageFault {
    kEmpty,
    kTooLarge, // number: the largest image
    kMissingData, // number: first address without data
    kNoEndRecord, // number: offset where a record was expected
    kDamagedRecord, // number: offset of the record
    kLineOrder, // number: line number out of order
    kBadStatement, // number: line number
    kBlocks, // number: line number of the statement that does not nest
    kDataAfterEnd, // number: offset after the end record
};

std::string ImageFaultText(ImageFault fault, long number);

// "Bad program image: <reason>.\r\n": the one reply line for an image that
// cannot run.
std::string BadImageLine(const std::string &reason);

// Notices on standard error (never on the serial line).
std::string NotSimulatedNotice(const char *what); // one per kind of statement
inline constexpr char kInputEndedNotice[] = "velsim: the serial line's input has ended.\n";

} // namespace velsim
