// The simulated module runs any bytes as a program image with serial input:
// decoded, then executed for a bounded number of steps on a clock that does
// not wait.
#include "Fuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velsim::FuzzImageRun(data, size);
    return 0;
}
