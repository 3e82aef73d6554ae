// How fast the workbench takes in what the module sends: the receive
// dispatcher alone, with the console's screen model, and with the console
// widget drawing offscreen, on a stream of mixed text and samples; then a
// peer flooding a pseudo-terminal at full speed with the window's event loop
// running (throughput and the longest gap of a 10 ms timer); and the CPU time
// an open but idle link uses.
//
//   build/bench/bench_receive [megabytes]

#include "ConsoleScreen.h"
#include "Receive.h"
#include "Serial.h"
#include "Terminal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 4096;

// Lines of text with samples among them: about half the bytes are samples.
QByteArray MixedStream(qsizetype size)
{
    QByteArray data;
    data.reserve(size + 256);
    for (int i = 0; data.size() < size; ++i) {
        data += "Temperature at sensor " + QByteArray::number(i % 97) + " is fine\r\n";
        for (int channel = 0; channel < 4; ++channel)
            data += "#" + QByteArray::number(channel) + QByteArray::number((i * 37 % 2000) - 1000) + "." +
                QByteArray::number(i % 10) + "\r";
        data += "\n";
    }
    data.resize(size);
    return data;
}

double MegabytesPerSecond(qsizetype bytes, qint64 ns)
{
    return double(bytes) / (1024.0 * 1024.0) / (double(ns) / 1e9);
}

template <typename Feed> double Measure(const QByteArray &data, Feed feed)
{
    QElapsedTimer timer;
    timer.start();
    for (qsizetype at = 0; at < data.size(); at += kChunk)
        feed(data.constData() + at, std::min(kChunk, data.size() - at));
    return MegabytesPerSecond(data.size(), timer.nsecsElapsed());
}

void Offline(const QByteArray &data)
{
    qint64 samples = 0;
    qsizetype textBytes = 0;
    TMcuComRecv recv;
    recv.OnValue = [&](TMcuComRecv *, quint8, float) { ++samples; };
    recv.OnText = [&](TMcuComRecv *, const QByteArray &text) { textBytes += text.size(); };
    const double dispatcher = Measure(data, [&](const char *p, qsizetype n) { recv.Dispatch(p, n); });
    std::printf("dispatcher alone:               %8.1f MB/s (%lld samples, %lld text bytes)\n", dispatcher,
                static_cast<long long>(samples), static_cast<long long>(textBytes));

    TConsoleScreen screen;
    screen.SetMaxRow(12);
    recv.OnText = [&](TMcuComRecv *, const QByteArray &text) { screen.WriteText(text); };
    const double model = Measure(data, [&](const char *p, qsizetype n) { recv.Dispatch(p, n); });
    std::printf("dispatcher + console model:     %8.1f MB/s\n", model);

    TMcuConsole console;
    console.resize(800, 230);
    console.show();
    recv.OnText = [&](TMcuComRecv *, const QByteArray &text) { console.WriteText(text); };
    const double widget = Measure(data, [&](const char *p, qsizetype n) {
        recv.Dispatch(p, n);
        QCoreApplication::processEvents(); // the redraw of the chunk
    });
    std::printf("dispatcher + console widget:    %8.1f MB/s (offscreen, 800 x 230, redrawn per 4 KiB chunk)\n", widget);
}

// A peer writes the stream into a pseudo-terminal as fast as it can while
// the window's thread receives it through the port, the dispatcher and the
// console widget.
void Flood(const QByteArray &data)
{
    int master = -1;
    int terminal = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master, &terminal, name, &raw, nullptr) != 0) {
        std::printf("flood: no pseudo-terminal\n");
        return;
    }
    ::close(terminal);
    TMcuComPort port;
    port.SetComPort(QString::fromLocal8Bit(name));
    TMcuComRecv recv;
    TMcuConsole console;
    console.resize(800, 230);
    console.show();
    qsizetype received = 0;
    recv.OnText = [&](TMcuComRecv *, const QByteArray &text) { console.WriteText(text); };
    // The dispatcher's receive handler, counting what the port reported.
    port.OnReceive = [&](TMcuComPort *sender, quint16 count) {
        received += count;
        recv.HandleReceive(sender, count);
    };
    if (!port.OpenPort(true)) {
        std::printf("flood: cannot open %s\n", name);
        ::close(master);
        return;
    }
    std::atomic<bool> done{false};
    std::thread peer([&] {
        qsizetype at = 0;
        while (at < data.size()) {
            const ssize_t n = ::write(master, data.constData() + at, size_t(std::min(kChunk, data.size() - at)));
            if (n > 0) {
                at += n;
            } else {
                pollfd p = {master, POLLOUT, 0};
                ::poll(&p, 1, 100);
            }
        }
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer tick;
    tick.start();
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, tick.elapsed());
        tick.restart();
    });
    ticker.start(10);
    while (received < data.size() && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 ns = timer.nsecsElapsed();
    peer.join();
    std::printf("pseudo-terminal flood:          %8.1f MB/s (%lld of %lld bytes; longest gap of a 10 ms timer "
                "%lld ms)\n",
                MegabytesPerSecond(received, ns), static_cast<long long>(received), static_cast<long long>(data.size()),
                static_cast<long long>(longestGap));
    port.ClosePort();
    ::close(master);
}

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// An open link with nothing on the line: the event thread blocks.
void Idle()
{
    int master = -1;
    int terminal = -1;
    char name[256] = {};
    if (::openpty(&master, &terminal, name, nullptr, nullptr) != 0)
        return;
    ::close(terminal);
    TMcuComPort port;
    port.SetComPort(QString::fromLocal8Bit(name));
    if (!port.OpenPort(true))
        return;
    const double before = CpuSeconds();
    QTimer::singleShot(2000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    std::printf("idle link for 2 s:              %8.1f ms of CPU time (event thread waiting in poll())\n",
                (CpuSeconds() - before) * 1000.0);
    port.ClosePort();
    ::close(master);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 32;
    const QByteArray data = MixedStream(qsizetype(megabytes) * 1024 * 1024);
    std::printf("stream: %d MiB of text lines and samples, 4 KiB chunks\n", megabytes);
    Offline(data);
    Flood(data);
    Idle();
    return 0;
}
