#include "Velload.h"

#include "Errors.h"
#include "Globals.h"
#include "IniFile.h"
#include "LineSettings.h"
#include "Serial.h"
#include "SimulatedModule.h"
#include "TerminalKeeper.h"
#include "Transfer.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

const char *const kAborted = "Download aborted!";
const char *const kStopped = "Download stopped.";
const char *const kGone = "The serial interface went away.";
const char *const kMonitorStopped = "Stopped.";
constexpr int kBarWidth = 40;

// Ctrl+C: a transfer stops before its next record, a write waiting for the
// device gives up, the monitor ends.
std::atomic<TMcuTransfer *> runningTransfer{nullptr};
std::atomic<TMcuComPort *> openPort{nullptr};
int interruptPipe[2] = {-1, -1};

void OnInterrupt(int)
{
    if (TMcuTransfer *transfer = runningTransfer.load())
        transfer->Terminate();
    if (TMcuComPort *port = openPort.load())
        port->CancelWrites();
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(interruptPipe[1], &byte, 1);
}

void CatchInterrupt()
{
    if (interruptPipe[0] < 0 && ::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action { };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void Print(const QString &text)
{
    std::fputs(qPrintable(text + '\n'), stderr);
}

// A workbench message: its line and hint, each on a line of its own.
void PrintError(const QString &message, const QString &detail)
{
    Print("velload: " + message);
    for (const QString &line : detail.split('\n'))
        Print("  " + QString(line).remove('\r'));
}

void WriteAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n <= 0)
            return;
        data += n;
        size -= n;
    }
}

void ShowProgress(int total, int index)
{
    const int filled = total > 0 ? int(qint64(index) * kBarWidth / total) : kBarWidth;
    const QString bar = QString(filled, '#') + QString(kBarWidth - filled, '-');
    std::fprintf(stderr, "\r[%s] %d/%d", qPrintable(bar), index, total);
    if (index == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

int Download(TMcuComPort &port, const TLoadOptions &options, QList<QByteArray> records)
{
    TMcuTransfer transfer(port, std::move(records));
    if (::isatty(STDERR_FILENO))
        transfer.OnRecord = ShowProgress;
    runningTransfer = &transfer;
    QString error = transfer.Run();
    runningTransfer = nullptr;
    if (error == LoadProtocol::NoResetText())
        error = LoadProtocol::NoResetShellText();
    if (!error.isEmpty()) {
        if (::isatty(STDERR_FILENO) && transfer.Index() > 0 && transfer.Index() < transfer.Total())
            std::fputc('\n', stderr);
        PrintError(QString::fromLatin1(kAborted), error);
        return veTransferFailed;
    }
    if (transfer.StopRequested() && transfer.Index() < transfer.Total()) {
        if (::isatty(STDERR_FILENO))
            std::fputc('\n', stderr); // below the progress bar
        Print(QStringLiteral("velload: %1 (%2 of %3 records sent)")
                  .arg(QString::fromLatin1(kStopped))
                  .arg(transfer.Index())
                  .arg(transfer.Total()));
        return veTransferFailed;
    }
    Print(QStringLiteral("velload: %1: %2 records sent.").arg(options.fileName).arg(transfer.Total()));
    return veOk;
}

int ResetOnly(TMcuComPort &port)
{
    ResetModule(port);
    port.Drain();
    return veOk;
}

// Ends the monitor with a failure and its message.
void FailMonitor(int &result, const QString &message)
{
    Print("velload: " + message);
    result = veTransferFailed;
    QCoreApplication::quit();
}

// Module output to standard output, standard input to the module, until the
// end of the input, Ctrl+C, the device going away or no longer taking data.
int Monitor(TMcuComPort &port)
{
    int result = veOk;
    port.OnReceive = [](TMcuComPort *sender, quint16 count) {
        QByteArray buffer(qMax<int>(count, 1), '\0');
        const int n = sender->ReadBuffer(buffer.data(), quint16(buffer.size()));
        WriteAll(STDOUT_FILENO, buffer.constData(), n);
    };
    port.OnError = [&result](TMcuComPort *) { FailMonitor(result, QString::fromLatin1(kGone)); };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&port, &input, &result] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0) {
            if (!port.WriteString(QByteArray(buffer, int(n))) && port.WriteStalled()) {
                input.setEnabled(false);
                FailMonitor(result, port.WriteStalledText());
            }
            return;
        }
        input.setEnabled(false);
        port.Drain();
        QCoreApplication::quit();
    });
    QSocketNotifier interrupt(interruptPipe[0], QSocketNotifier::Read);
    QObject::connect(&interrupt, &QSocketNotifier::activated,
                     [&result] { FailMonitor(result, QString::fromLatin1(kMonitorStopped)); });
    QCoreApplication::exec();
    port.OnReceive = nullptr;
    port.OnError = nullptr;
    return result;
}

} // namespace

int RunVelload(const TLoadOptions &options)
{
    QList<QByteArray> records;
    if (!options.resetOnly) {
        try {
            records = LoadProtocol::LoadRecords(options.fileName);
        } catch (const EKorvidError &e) {
            Print("velload: " + e.Message());
            return veUsage;
        }
    }
    const TPortSettings settings = LoadOptions::Resolve(options, Settings::ReadComDevice(TIniFile(SettingsFileName())));
    CatchInterrupt();
    // The simulated module's device is the simulator's own.
    std::optional<TTerminalKeeper> found;
    if (!TSimulatedModule::IsChosen(settings.ComPort)) {
        const QString device = LineSettings::DevicePath(settings.ComPort);
        found.emplace(device);
        if (found->OpenError() != 0) {
            PrintError(QString::fromLatin1(kAborted),
                       LoadProtocol::OpenFailedText(TMcuComPort::OpenFailedReason(device, found->OpenError())));
            return veTransferFailed;
        }
    }
    TMcuComPort port;
    openPort = &port;
    const auto forget = qScopeGuard([] { openPort = nullptr; });
    port.SetComPort(settings.ComPort);
    port.SetLineSettings(settings.Line.Pack());
    // The reset alone and the monitor hold the port from start to end, so
    // nothing the module sends right after the download is lost; the
    // download's own open only adds a request then.
    if ((options.resetOnly || options.monitor) && !port.OpenPort(true)) {
        PrintError(QString::fromLatin1(kAborted), LoadProtocol::OpenFailedText(port.OpenError()));
        return veTransferFailed;
    }
    int result = options.resetOnly ? ResetOnly(port) : Download(port, options, std::move(records));
    if (result == veOk && options.monitor)
        result = Monitor(port);
    return result;
}
