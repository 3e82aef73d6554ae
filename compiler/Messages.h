// The messages about files, shared by the driver, the include directive and
// the output writers, and the limits they name. Each names one file as '%s'.
#pragma once

#include <cstddef>

// Includes nest at most this deep (the main file is level 0).
constexpr int kMaxIncludeDepth = 64;
// A source file may hold at most this many megabytes; a program that fills
// the largest module is a few hundred kilobytes even with many comments.
constexpr int kMaxSourceMegabytes = 64;
constexpr size_t kMaxSourceBytes = static_cast<size_t>(kMaxSourceMegabytes) << 20;

// clang-format off
constexpr char kCantOpenFile[]     = "Can't open file: '%s'.";
constexpr char kCantWriteFile[]    = "Can't write file: '%s'.";
constexpr char kAlreadyCompiled[]  = "File: '%s' already compiled.";
constexpr char kNotRegularFile[]   = "Not a regular file: '%s'.";
constexpr char kFileTooLarge[]     = "File too large (max. %d MB): '%s'.";
constexpr char kInvalidFileName[]  = "Invalid file name: '%s'.";
constexpr char kIncludeTooDeep[]   = "Include files nested too deeply (max. %d levels).";
constexpr char kOutputIsSource[]   = "Output file would replace a source file: '%s'.";
// clang-format on
