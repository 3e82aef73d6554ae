// How much time the download spends per record beyond the protocol's own
// 10 ms pause, against a module on a pseudo-terminal that acknowledges at
// once: records/s, the overhead per record and the total for a 1,000-record
// file, for the workbench's transfer task and for velload; then the memory a
// 1 MB HEX file takes while it is sent (pauses skipped, the peak resident
// size before, after loading and after sending).
//
//   build/bench/bench_download [records]

#include "Transfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QByteArray kReset("\x01\x30\x81\x1B", 4);

// Data records of 16 bytes and the end record, as the compiler writes them.
QList<QByteArray> HexRecords(int count)
{
    QList<QByteArray> records;
    for (int i = 0; i + 1 < count; ++i) {
        QByteArray r =
            QByteArray(":10") + QByteArray::number((i * 16) & 0xFFFF, 16).rightJustified(4, '0').toUpper() + "00";
        unsigned sum = 0x10 + ((i * 16) >> 8 & 0xFF) + ((i * 16) & 0xFF);
        for (int b = 0; b < 16; ++b) {
            const unsigned byte = (i + b) & 0xFF;
            sum += byte;
            r += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        }
        r += QByteArray::number((0x100 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0').toUpper();
        records << r;
    }
    records << ":00000001FF";
    return records;
}

long PeakKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

// The module: answers the reset with "OK" and every record with "." at once,
// and notes when each record has arrived whole.
class TFastModule {
public:
    explicit TFastModule(const QList<QByteArray> &records)
        : m_records(records)
    {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        ::openpty(&m_master, &m_terminal, name, &raw, nullptr);
        ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
        ::fcntl(m_terminal, F_SETFD, FD_CLOEXEC);
        m_path = QString::fromLocal8Bit(name);
        m_arrivals.resize(size_t(records.size()));
        m_clock.start();
        m_thread = std::thread([this] { Play(); });
    }
    ~TFastModule()
    {
        Join();
        ::close(m_master);
        ::close(m_terminal);
    }
    QString Path() const
    {
        return m_path;
    }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    // Milliseconds per record from the first record's arrival to the last's.
    double MsPerRecord() const
    {
        const size_t n = m_arrivals.size();
        return n > 1 ? Ms(m_arrivals[n - 1] - m_arrivals[0]) / double(n - 1) : 0.0;
    }

private:
    bool ReadExactly(qsizetype count)
    {
        QByteArray got;
        while (got.size() < count) {
            pollfd p = {m_master, POLLIN, 0};
            if (::poll(&p, 1, 10000) <= 0)
                return false;
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, size_t(std::min<qsizetype>(count - got.size(), 256)));
            if (n <= 0)
                return false;
            got.append(buffer, n);
        }
        return true;
    }
    void Play()
    {
        if (!ReadExactly(kReset.size()) || ::write(m_master, "OK", 2) != 2)
            return;
        for (qsizetype i = 0; i < m_records.size(); ++i) {
            if (!ReadExactly(m_records[i].size()))
                return;
            m_arrivals[size_t(i)] = m_clock.nsecsElapsed();
            if (i + 1 < m_records.size() && ::write(m_master, ".", 1) != 1)
                return;
        }
    }

    QList<QByteArray> m_records;
    int m_master = -1;
    int m_terminal = -1;
    QString m_path;
    QElapsedTimer m_clock;
    std::vector<qint64> m_arrivals;
    std::thread m_thread;
};

void Report(const char *what, int records, double msPerRecord, double totalMs)
{
    std::printf("%-22s %6d records  %8.1f records/s  %6.3f ms/record  overhead %6.3f ms/record  total %8.1f ms\n", what,
                records, 1000.0 / msPerRecord, msPerRecord, msPerRecord - 10.0, totalMs);
}

// What a 10 ms sleep takes on this machine at its present load: the part of
// the overhead that is the system's wake-up latency, not the transfer's.
void BenchSleep()
{
    constexpr int kRounds = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRounds; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::printf("a 10 ms sleep takes %.3f ms on average here (wake-up latency %.3f ms)\n",
                Ms(timer.nsecsElapsed()) / kRounds, Ms(timer.nsecsElapsed()) / kRounds - 10.0);
}

void BenchTask(const QString &file, const QList<QByteArray> &records, bool pauses)
{
    TFastModule module(records);
    TMcuComPort port;
    port.SetComPort(module.Path());
    TMcuLoadTask task(port, file);
    if (!pauses)
        task.Transfer().Pause = [](int) {};
    bool ended = false;
    task.OnEnd = [&ended](TMcuLoadTask *) { ended = true; };
    QElapsedTimer timer;
    timer.start();
    task.Start();
    while (!ended)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double total = Ms(timer.nsecsElapsed());
    module.Join();
    if (!task.ErrorText().isEmpty())
        std::printf("task failed: %s\n", qPrintable(task.ErrorText()));
    if (pauses)
        Report("transfer task", int(records.size()), module.MsPerRecord(), total);
    else
        std::printf("transfer task, pauses skipped: %.3f ms/record (write, acknowledgement, progress report)\n",
                    module.MsPerRecord());
}

void BenchVelload(const QString &file, const QList<QByteArray> &records)
{
    TFastModule module(records);
    QProcess velload;
    QElapsedTimer timer;
    timer.start();
    // The benchmarks are built beside the programs' folder.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString program = QFile::exists(dir + "/velload") ? dir + "/velload" : dir + "/../bin/velload";
    velload.start(program, {"--port", module.Path(), file});
    velload.waitForFinished(-1);
    const double total = Ms(timer.nsecsElapsed());
    module.Join();
    if (velload.exitCode() != 0)
        std::printf("velload failed: %s\n", velload.readAllStandardError().constData());
    Report("velload", int(records.size()), module.MsPerRecord(), total);
}

// A 1 MB file with the pauses skipped: the records are held once, as they
// stand, and sending them allocates nothing that stays.
void BenchMemory(const QString &file, int records)
{
    const long before = PeakKilobytes();
    TFastModule module(HexRecords(records));
    TMcuComPort port;
    port.SetComPort(module.Path());
    TMcuLoadTask task(port, file);
    const long loaded = PeakKilobytes();
    task.Transfer().Pause = [](int) {};
    bool ended = false;
    int reports = 0;
    task.OnProgress = [&reports](TMcuLoadTask *, int, int) { ++reports; };
    task.OnEnd = [&ended](TMcuLoadTask *) { ended = true; };
    QElapsedTimer timer;
    timer.start();
    task.Start();
    while (!ended)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    module.Join();
    std::printf("1 MB file: %d records in %.0f ms (%s), %d progress reports; peak resident size %ld kB before, "
                "%ld kB loaded, %ld kB sent\n",
                records, Ms(timer.nsecsElapsed()), task.ErrorText().isEmpty() ? "ok" : "FAILED", reports, before,
                loaded, PeakKilobytes());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    const QList<QByteArray> records = HexRecords(count);
    QFile file(dir.filePath("bench.hex"));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    for (const QByteArray &r : records)
        file.write(r + "\r\n");
    file.close();
    BenchSleep();
    BenchTask(file.fileName(), records, true);
    BenchTask(file.fileName(), records, false);
    BenchVelload(file.fileName(), records);

    const int bigCount = 1024 * 1024 / 45;
    QFile big(dir.filePath("big.hex"));
    if (!big.open(QIODevice::WriteOnly))
        return 1;
    for (const QByteArray &r : HexRecords(bigCount))
        big.write(r + "\r\n");
    big.close();
    std::printf("1 MB file: %lld bytes\n", big.size());
    BenchMemory(big.fileName(), bigCount);
    return 0;
}
