// Entry points for fuzzing: each takes any bytes and must neither crash nor
// hang. A fuzz target only has to call one of them with its input.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velsim {

// The bytes as they would arrive on the serial line in the loader: records
// are recognised, acknowledged or rejected, and a completed image decoded.
void FuzzHexRecords(const uint8_t *data, size_t size);

// The bytes as a program image: split into line records and decoded.
void FuzzImageDecoder(const uint8_t *data, size_t size);

// The bytes as a program image that runs: the first two bytes (low byte
// first) say how many of the last bytes arrive on the serial line; the bytes
// between are the image. The program runs for a bounded number of steps on
// a stepped clock (no wait takes real time); its output is dropped.
void FuzzImageRun(const uint8_t *data, size_t size);

} // namespace velsim
