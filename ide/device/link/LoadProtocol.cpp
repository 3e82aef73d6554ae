#include "LoadProtocol.h"

#include "Errors.h"
#include "HexCheck.h"
#include "LineSettings.h"
#include "Serial.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

const char *const kOpenFailed = "Unable to open the selected serial interface!";
const char *const kOpenFailedHint = "Please check, if any other application already uses this device.";
const char *const kNoReset = "No target reset - download canceled!";
const char *const kNoResetHint = "Please check the settings for the serial interface or press download button and "
                                 "perform hardware reset.";
const char *const kNoResetShellHint =
    "Please check the device and line settings (--port, --baud), or start velload again and press the module's "
    "reset button while it waits for the loader's answer; \"velload --reset-only\" sends the reset command alone.";
const char *const kNoResponse = "No response - download canceled!";
const char *const kNoResponseHint = "Please check the settings for the serial interface and make sure the target "
                                    "is in receive mode.";
const char *const kUnreadable = "Unable to read the download file \"%1\": %2";
const char *const kTooLarge = "too large for a HEX file (more than 4 MiB)";
const char *const kBroken = "The download file \"%1\" is no complete HEX file: %2. Nothing was sent.";

QString Joined(const char *line, const char *hint)
{
    return QString::fromLatin1(line) + '\n' + QString::fromLatin1(hint);
}

// The loader's fixed line settings: 9600 bit/s, 8 data bits, 1 stop bit, no parity.
std::uint32_t LoaderSettings()
{
    return TLineSettings{br9600, db8, sb10, paNONE}.Pack();
}

// A record that was not acknowledged; caught by the transfer, never beyond it.
struct ETransferAborted { };

} // namespace

namespace LoadProtocol {

QString OpenFailedText(const QString &reason)
{
    const QString text = Joined(kOpenFailed, kOpenFailedHint);
    return reason.isEmpty() ? text : text + '\n' + reason;
}

QString NoResetText()
{
    return Joined(kNoReset, kNoResetHint);
}

QString NoResetShellText()
{
    return Joined(kNoReset, kNoResetShellHint);
}

QString NoResponseText()
{
    return Joined(kNoResponse, kNoResponseHint);
}

QList<QByteArray> SplitRecords(const QByteArray &bytes)
{
    QList<QByteArray> records;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        records.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        records.append(bytes.mid(start));
    return records;
}

// At most kMaxHexFileBytes + 1 bytes, so that an endless file is told from
// one of the largest size allowed.
static QByteArray ReadBounded(QFile &file)
{
    QByteArray bytes;
    while (bytes.size() <= kMaxHexFileBytes) {
        const QByteArray chunk = file.read(kMaxHexFileBytes + 1 - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return bytes;
}

QList<QByteArray> LoadRecords(const QString &fileName)
{
    if (QFileInfo(fileName).isDir())
        throw EKorvidError(QString::fromLatin1(kUnreadable).arg(fileName, SystemErrorText(EISDIR)));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EKorvidError(QString::fromLatin1(kUnreadable).arg(fileName, file.errorString()));
    const QByteArray bytes = ReadBounded(file);
    if (file.error() != QFileDevice::NoError)
        throw EKorvidError(QString::fromLatin1(kUnreadable).arg(fileName, file.errorString()));
    if (bytes.size() > kMaxHexFileBytes)
        throw EKorvidError(QString::fromLatin1(kUnreadable).arg(fileName, QString::fromLatin1(kTooLarge)));
    QList<QByteArray> records = SplitRecords(bytes);
    const QString broken = HexCheck::CheckRecords(records);
    if (!broken.isEmpty())
        throw EKorvidError(QString::fromLatin1(kBroken).arg(fileName, broken));
    return records;
}

} // namespace LoadProtocol

TMcuTransfer::TMcuTransfer(TMcuComPort &port, QList<QByteArray> records)
    : m_port(port)
    , m_records(std::move(records))
{
}

QString TMcuTransfer::Run()
{
    m_index = 0;
    m_port.SetPolling(true);
    QString error;
    if (m_port.OpenPort(true))
        error = Transfer();
    else
        error = LoadProtocol::OpenFailedText(m_port.OpenError());
    // The transfer's own request is closed before the port is handed back:
    // with no console connected the device is closed while the event thread
    // is still held, so it never watches a device that is being closed.
    m_port.ClosePort();
    m_port.SetPolling(false);
    return error;
}

QString TMcuTransfer::Transfer()
{
    const std::uint32_t user = m_port.LineSettings();
    QString error;
    try {
        if (!ResetHandshake(user))
            error = LoadProtocol::NoResetText();
        else
            SendRecords();
    } catch (...) {
        // A record not acknowledged, or anything else that broke the
        // transfer off: the module did not take the program.
        error = LoadProtocol::NoResponseText();
    }
    ChangeLine(user);
    return error;
}

bool TMcuTransfer::ResetHandshake(std::uint32_t user)
{
    const QByteArray reset = QByteArray(LoadProtocol::kResetCommand);
    for (int attempt = 0; attempt < LoadProtocol::kResetAttempts; ++attempt) {
        ChangeLine(user);
        m_port.WriteString(reset);
        ChangeLine(LoaderSettings());
        if (m_port.WaitForString(LoadProtocol::kResetReply, Timings.resetReplyMs))
            return true;
    }
    return false;
}

// Each record goes out as it stands in the file, without a line end; the
// loader finds its end from its content. Every record but the last is
// answered with ".".
void TMcuTransfer::SendRecords()
{
    const int total = Total();
    for (int index = 0; index < total && !m_stop; ++index) {
        m_port.WriteString(m_records[index]);
        DoPause(Timings.recordPauseMs);
        if (index < total - 1 && !m_port.WaitForChar(quint8(LoadProtocol::kAcknowledge), Timings.acknowledgeMs))
            throw ETransferAborted();
        m_index = index + 1;
        if (OnRecord)
            OnRecord(total, index + 1);
    }
}

// The output queue is drained and the line left to settle before the line
// settings change, so no byte goes out at the wrong bit rate.
void TMcuTransfer::ChangeLine(std::uint32_t settings)
{
    m_port.Drain();
    DoPause(Timings.settlePauseMs);
    m_port.SetLineSettings(settings);
}

void TMcuTransfer::DoPause(int ms)
{
    if (Pause)
        Pause(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void ResetModule(TMcuComPort &port)
{
    port.WriteString(QByteArray(LoadProtocol::kResetCommand));
}
