// The whole compiler on a program of two files: the input is the main
// source, optionally followed by a line "=====" and the text of the include
// file "inc.bas" (which the main source may include, or not). Both are
// written into a private folder in memory-backed storage, compiled
// in-process, and the folder is removed again before the run returns.
#include "Compiler.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparator = "\n=====\n";

fs::path Folder()
{
    static const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / ("velc-fuzz-" + std::to_string(getpid()));
}

void WriteFile(const fs::path &path, std::string_view text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const size_t split = input.find(kSeparator);
    const fs::path dir = Folder();
    fs::create_directories(dir);
    WriteFile(dir / "prog.bas", input.substr(0, split));
    WriteFile(dir / "inc.bas", split == std::string_view::npos ? "" : input.substr(split + kSeparator.size()));
    std::ostringstream out;
    {
        CCompiler compiler(out);
        compiler.Compile((dir / "prog.bas").string());
    }
    std::error_code error;
    fs::remove_all(dir, error);
    return 0;
}
