// The image decoder: any byte sequence gives either a program ready to run
// or the reason it cannot run.
#pragma once

#include "Program.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velsim {

// nullptr and the reason in `error` when the image cannot run.
std::unique_ptr<CProgram> DecodeProgram(const std::vector<uint8_t> &image, std::string &error);

} // namespace velsim
