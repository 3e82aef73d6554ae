#include "Fuzz.h"

#include "Decoder.h"
#include "Interpreter.h"
#include "LineDevice.h"
#include "Module.h"
#include "ModuleLoader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace velsim {

namespace {

constexpr size_t kFuzzImageCapacity = 32773; // the largest target's image
constexpr uint64_t kFuzzRunSteps = 10000;
constexpr std::time_t kFuzzWallTime = 1700000000; // the same date in every run

// A descriptor closed when it goes out of scope.
struct OwnedFd {
    int fd;
    ~OwnedFd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A file in memory holding `bytes`, read from its start.
int MemoryInput(const uint8_t *bytes, size_t size)
{
    const int fd = ::memfd_create("velsim-fuzz-input", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    if (size > 0 && ::write(fd, bytes, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return -1;
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

} // namespace

void FuzzHexRecords(const uint8_t *data, size_t size)
{
    CLoader loader(kFuzzImageCapacity);
    for (size_t i = 0; i < size; ++i) {
        if (loader.Take(data[i]) == CLoader::Event::kComplete && loader.ImageError().empty()) {
            std::string error;
            DecodeProgram(loader.Image(), error);
        }
    }
}

void FuzzImageDecoder(const uint8_t *data, size_t size)
{
    std::string error;
    DecodeProgram(std::vector<uint8_t>(data, data + size), error);
}

void FuzzImageRun(const uint8_t *data, size_t size)
{
    if (size < 2)
        return;
    const size_t inputSize = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const uint8_t *image = data + 2;
    const size_t imageSize = size - 2 - inputSize;
    std::string error;
    const std::unique_ptr<CProgram> program = DecodeProgram(std::vector<uint8_t>(image, image + imageSize), error);
    if (!program)
        return;
    const OwnedFd input{MemoryInput(image + imageSize, inputSize)};
    const OwnedFd output{::open("/dev/null", O_WRONLY | O_CLOEXEC)};
    if (input.fd < 0 || output.fd < 0)
        return;
    InterpreterLimits limits;
    size_t capacity = 0;
    CModule::Limits("ZENTRA8", limits, capacity);
    CFdDevice device(input.fd, output.fd);
    CSerialLine line(device);
    CMachine machine;
    machine.m_clock.SetStepped(true);
    machine.m_clock.SetWallSource([] { return kFuzzWallTime; });
    CInterpreter interpreter(*program, machine, line, limits);
    interpreter.SetStepLimit(kFuzzRunSteps);
    interpreter.Run();
}

} // namespace velsim
