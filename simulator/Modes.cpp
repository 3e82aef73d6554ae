#include "Modes.h"

#include "DeviceLink.h"
#include "HexFileReader.h"
#include "ListingLookup.h"
#include "Module.h"
#include "PseudoTerminal.h"
#include "SourceMap.h"
#include "StopSignals.h"
#include "VariableText.h"

#include <cstdio>
#include <filesystem>

#include <unistd.h>

namespace velsim {

namespace {

constexpr int kExitError = 1;
constexpr int kExitCannotRun = 2;
// The program (or the loader) waited for input after standard input had
// ended: a run that stopped for want of input is not a program that ended.
constexpr int kExitInputEnded = 3;

void Complain(const std::string &text)
{
    std::fprintf(stderr, "velsim: %s\n", text.c_str());
}

// Points at the failing line in the listing beside the image, in the
// compiler's message format, so the workbench can jump to it.
void ReportInListing(const std::string &imagePath, const CModule &module)
{
    std::error_code ignored;
    const std::string listing = std::filesystem::absolute(ListingPathOf(imagePath), ignored).string();
    ListingPlace place;
    if (!FindInListing(listing, module.LastErrorLine(), place))
        return;
    std::fprintf(stderr, "%s(%d): %s in line %d: %s\n", listing.c_str(), place.line, RunErrorText(module.LastError()),
                 module.LastErrorLine(), place.code.c_str());
}

// With the line map beside the image, the same in the user's terms: the
// source file and line, its text and the values of its variables.
bool ReportInSource(const std::string &imagePath, CModule &module)
{
    std::error_code ignored;
    CSourceMap map;
    std::string error;
    if (!map.LoadBeside(std::filesystem::absolute(imagePath, ignored).string(), error))
        return false;
    const SourcePlace place = map.PlaceOf(module.LastErrorLine());
    if (place.file < 0)
        return false;
    const std::string text = map.LineText(place);
    std::string values;
    for (const velmo::lang::MapVariable *var : map.VariablesIn(text)) {
        const CDataMemory &memory = module.Interpreter()->Memory();
        values += (values.empty() ? " [" : ", ") + var->name + " = " +
            VariableText(memory, memory.Find(CSourceMap::VariableNumber(*var)));
    }
    std::fprintf(stderr, "%s(%d): %s in line %d: %s%s\n", map.SourcePath(place.file).c_str(), place.line,
                 RunErrorText(module.LastError()), module.LastErrorLine(), text.c_str(),
                 values.empty() ? "" : (values + "]").c_str());
    return true;
}

} // namespace

int RunImageMode(const Options &options)
{
    const int stopFd = InstallStopSignals();
    InterpreterLimits limits;
    size_t capacity = 0;
    CModule::Limits(options.target, limits, capacity);
    std::vector<uint8_t> image;
    std::string error;
    if (!ReadHexFile(options.image, capacity, image, error, stopFd)) {
        Complain(error);
        return kExitCannotRun;
    }
    CFdDevice device(STDIN_FILENO, STDOUT_FILENO);
    CSerialLine line(device);
    line.SetWakeFd(stopFd);
    line.SetQuitWhenGone(true); // nobody reads standard output any more: stop
    ModuleSettings settings;
    settings.target = options.target;
    settings.trace = options.trace;
    settings.echo = !::isatty(STDIN_FILENO); // a terminal echoes what is typed itself
    CModule module(line, settings);
    if (!module.Start(image, error)) {
        Complain(options.image + ": bad program image: " + error + ".");
        return kExitCannotRun;
    }
    const CModule::Exit exit = module.Serve(true);
    line.Drain();
    switch (exit) {
    case CModule::Exit::kProgramError:
        if (!ReportInSource(options.image, module))
            ReportInListing(options.image, module);
        return kExitError;
    case CModule::Exit::kInputEnded:
        std::fputs(kInputEndedNotice, stderr);
        return kExitInputEnded;
    case CModule::Exit::kProgramEnded:
    case CModule::Exit::kStopped:
        break;
    }
    return 0;
}

int RunPtyMode(const Options &options)
{
    // Before the device path is printed: whoever reads it may stop us at once.
    const int stopFd = InstallStopSignals();
    CPseudoTerminal pty;
    std::string error;
    if (!pty.Open(error)) {
        Complain(error);
        return kExitCannotRun;
    }
    CDeviceLink link;
    if (!options.link.empty() && !link.Make(options.link, pty.Path(), error)) {
        Complain(error);
        return kExitCannotRun;
    }
    std::printf("%s\n", pty.Path().c_str());
    std::fflush(stdout);
    CSerialLine line(pty);
    line.SetWakeFd(stopFd);
    line.SetQuitWhenGone(options.once);
    ModuleSettings settings;
    settings.target = options.target;
    settings.trace = options.trace;
    CModule module(line, settings);
    module.Serve(false);
    return 0;
}

} // namespace velsim
