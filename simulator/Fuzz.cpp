#include "Fuzz.h"

#include "Decoder.h"
#include "ModuleLoader.h"

namespace velsim {

namespace {

constexpr size_t kFuzzImageCapacity = 32773; // the largest target's image

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

} // namespace velsim
