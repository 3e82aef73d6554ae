#pragma once

#include "LoadProtocol.h"
#include "Serial.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// A download on a thread of its own, for the workbench's dialogs: the records
// of one HEX file sent with the download protocol while the dialog stays
// responsive. Progress and the end are reported on the port's thread (the
// user-interface thread) by synchronised calls.
class TMcuLoadTask {
public:
    using TOnProgress = std::function<void(TMcuLoadTask *sender, int total, int index)>;
    using TOnEnd = std::function<void(TMcuLoadTask *sender)>;

    // Loads the file's lines (CR, LF or CR LF; final line end dropped);
    // throws EKorvidError naming the file and the system's reason when it
    // cannot be read.
    TMcuLoadTask(TMcuComPort &port, const QString &fileName);
    // A running task is asked to stop and joined.
    ~TMcuLoadTask();
    TMcuLoadTask(const TMcuLoadTask &) = delete;
    TMcuLoadTask &operator=(const TMcuLoadTask &) = delete;

    // On the port's thread, synchronised, after each record.
    TOnProgress OnProgress;
    // On the port's thread once the transfer thread ended; ErrorText() is
    // final. The owner may delete the task from here.
    TOnEnd OnEnd;

    // Starts the transfer thread (the task waits until then).
    void Start();
    // Stop before the next record; not an error.
    void Terminate();
    bool Running() const
    {
        return m_running;
    }
    QString ErrorText() const
    {
        return m_errorText;
    }
    int Total() const
    {
        return m_transfer.Total();
    }
    int Index() const
    {
        return m_transfer.Index();
    }

    // The protocol's waits and pauses (tests shorten them before Start).
    TMcuTransfer &Transfer()
    {
        return m_transfer;
    }

protected:
    void DoProgress(int total, int index);
    void DoEnd();

private:
    struct TShared;

    void Execute();
    void Synchronize(int total, int index);
    void Ended();

    TMcuComPort &m_port;
    TMcuTransfer m_transfer;
    QString m_errorText;
    bool m_running = false;
    std::shared_ptr<TShared> m_shared;
    std::thread m_thread;
};
