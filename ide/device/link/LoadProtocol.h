#pragma once

#include "lang/DownloadHandshake.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

class TMcuComPort;

// The download protocol between the workbench and the module's loader: the
// reset command at the user's line settings, the loader's fixed 9600 8N1, the
// "OK" handshake, then one HEX record per write, each but the last answered
// with ".". It runs on whatever thread calls it (the transfer thread of the
// workbench, the main thread of velload) and touches no widget.

namespace LoadProtocol {

// The handshake's bytes, as the module's loader knows them (lang/DownloadHandshake.h).
inline constexpr const char *kResetCommand = velmo::lang::kResetCommand;
inline constexpr const char *kResetReply = velmo::lang::kResetReply;
inline constexpr char kAcknowledge = velmo::lang::kRecordAck;
inline constexpr int kResetAttempts = 3;

// The texts a failed transfer reports: a line and its hint, one line each.
// A device that cannot be opened adds the port's reason (the device and the
// system's words) as a third line.
QString OpenFailedText(const QString &reason = QString());
QString NoResetText();
// The same for a user at a shell, who has no Download button to press.
QString NoResetShellText();
QString NoResponseText();

// The lines of a HEX file as bytes, exactly as they stand: CR, LF and CR LF
// each end a line, and a line end at the very end starts no empty line.
QList<QByteArray> SplitRecords(const QByteArray &bytes);
// The most HEX text a download file may hold: the largest program image is
// far below it, so a larger file (or a device such as /dev/zero) is no
// program.
inline constexpr qsizetype kMaxHexFileBytes = 4 * 1024 * 1024;
// Reads a HEX file's records and checks them (HexCheck); throws EKorvidError
// naming the file and the reason when it cannot be read (missing, unreadable,
// a folder, larger than kMaxHexFileBytes) or is no complete HEX file (the
// reason names the line).
QList<QByteArray> LoadRecords(const QString &fileName);

} // namespace LoadProtocol

// The waits of the protocol, in milliseconds. Tests shorten the ones that are
// not what they test.
struct TTransferTimings {
    int resetReplyMs = 750;
    int acknowledgeMs = 3000;
    int recordPauseMs = 10;
    int settlePauseMs = 30;
};

// One download of a list of records over a port. Run() is the whole task
// body: polling on and a silent counted open, the transfer, the user's line
// settings restored in every outcome, polling off and the matching close.
class TMcuTransfer {
public:
    using TPause = std::function<void(int ms)>;
    using TOnRecord = std::function<void(int total, int index)>;

    TMcuTransfer(TMcuComPort &port, QList<QByteArray> records);

    TTransferTimings Timings;
    // The fixed pauses (after a record, before a change of line settings);
    // a real sleep unless a test puts its own.
    TPause Pause;
    // Called after each record sent, with the records in all and sent so far.
    TOnRecord OnRecord;

    // Runs the download; returns the error text, empty on success and after
    // a stop request.
    QString Run();
    // Asks the transfer to stop before the next record (any thread).
    void Terminate()
    {
        m_stop = true;
    }
    bool StopRequested() const
    {
        return m_stop.load();
    }
    int Total() const
    {
        return int(m_records.size());
    }
    int Index() const
    {
        return m_index.load();
    }

private:
    QString Transfer();
    bool ResetHandshake(std::uint32_t user);
    void SendRecords();
    void ChangeLine(std::uint32_t settings);
    void DoPause(int ms);

    TMcuComPort &m_port;
    QList<QByteArray> m_records;
    std::atomic<int> m_index{0};
    std::atomic<bool> m_stop{false};
};

// The main window's Reset: writes the reset command at the line settings in
// force and waits for nothing.
void ResetModule(TMcuComPort &port);
