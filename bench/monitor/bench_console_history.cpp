// Memory of the console's history: a million received lines pass through the
// console's screen model (or, with --widget, the console widget offscreen)
// and the peak resident memory is taken before, once the history is full and
// at the end. The history keeps its limit of lines, so the last two figures
// stay close whatever the number of lines.
//
//   build/bench/bench_console_history [lines] [--widget] [--limit N]

#include "ConsoleScreen.h"
#include "Terminal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr qsizetype kChunk = 4096;

long PeakKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Lines first..end-1 of text as a module prints them, in chunks of about
// 4 KiB handed to write.
template <typename Write> void FeedLines(qint64 first, qint64 end, Write write)
{
    QByteArray chunk;
    chunk.reserve(kChunk + 128);
    for (qint64 i = first; i < end; ++i) {
        chunk += "line " + QByteArray::number(i) + ": temperature " + QByteArray::number(20 + i % 7) +
            ".5 C, pressure " + QByteArray::number(1000 + i % 31) + " hPa, all sensors fine\r\n";
        if (chunk.size() >= kChunk) {
            write(chunk);
            chunk.clear();
        }
    }
    if (!chunk.isEmpty())
        write(chunk);
}

struct TOptions {
    qint64 lines = 1000000;
    int limit = TConsoleHistory::kDefaultLimit;
    bool widget = false;
};

TOptions ReadOptions(int argc, char *argv[])
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--widget") == 0)
            options.widget = true;
        else if (std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc)
            options.limit = std::max(1, std::atoi(argv[++i]));
        else
            options.lines = std::max<qint64>(1, std::atoll(argv[i]));
    }
    return options;
}

template <typename Write> void Run(const TOptions &options, const TConsoleScreen &screen, Write write)
{
    const long before = PeakKilobytes();
    const qint64 fill = std::min<qint64>(options.lines, options.limit + 100); // the history is full
    QElapsedTimer timer;
    timer.start();
    FeedLines(0, fill, write);
    const long full = PeakKilobytes();
    FeedLines(fill, options.lines, write);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const long after = PeakKilobytes();
    std::printf("%s: %lld lines, history limit %d (holds %d, oldest line %lld)\n",
                options.widget ? "console widget (offscreen)" : "console screen model",
                static_cast<long long>(options.lines), options.limit, screen.History().Size(),
                static_cast<long long>(screen.FirstLine()));
    std::printf("  peak resident memory: %ld KiB before, %ld KiB with the history full, %ld KiB at the end\n", before,
                full, after);
    std::printf("  growth after the history was full: %ld KiB; %.0f lines/s\n", after - full,
                double(options.lines) / seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TOptions options = ReadOptions(argc, argv);
    if (options.widget) {
        TMcuConsole console;
        console.SetHistoryLimit(options.limit);
        console.resize(800, 400);
        console.show();
        Run(options, console.Screen(), [&](const QByteArray &chunk) {
            console.WriteText(chunk);
            QCoreApplication::processEvents(); // the redraw of the chunk
        });
    } else {
        TConsoleScreen screen;
        screen.SetMaxRow(30);
        screen.SetHistoryLimit(options.limit);
        Run(options, screen, [&](const QByteArray &chunk) { screen.WriteText(chunk); });
    }
    return 0;
}
