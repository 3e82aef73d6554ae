#pragma once

#include <QString>
#include <memory>

class QProcess;

// The simulated module: the program velsim beside the workbench, serving as a
// module on a pseudo-terminal. Start runs "velsim --pty", waits a bounded
// time for the device path it prints and keeps the simulator running until
// Stop or the destructor. The simulator never outlives the process that
// started it: it is killed when the thread that started it ends, so start it
// from a thread that lives as long as the module is used (the user-interface
// thread). The device name that chooses it in the settings is
// Settings::kSimulatedModule ("Simulated module").
class TSimulatedModule {
public:
    static constexpr int kAnswerTimeoutMs = 5000;
    static constexpr int kStopTimeoutMs = 2000;

    explicit TSimulatedModule(QString programDir);
    ~TSimulatedModule(); // stops the simulator
    TSimulatedModule(const TSimulatedModule &) = delete;
    TSimulatedModule &operator=(const TSimulatedModule &) = delete;

    // Starts the simulator (stopping one started before). False with the
    // reason in error when velsim is missing, cannot run, or prints no device
    // within the answer time-out (kAnswerTimeoutMs unless set).
    bool Start(QString *error);
    // The pseudo-terminal the running simulator serves on; empty when none.
    QString DevicePath() const;
    bool Running() const;
    // The simulator's process id while it runs, else 0.
    qint64 ProcessId() const;
    // Asks the simulator to end (SIGTERM), waits kStopTimeoutMs, then kills
    // it. Does nothing when it is not running.
    void Stop();

    // How long Start waits for the device path (tests shorten it).
    void SetAnswerTimeout(int ms)
    {
        m_answerTimeoutMs = ms;
    }

    // The simulator program in a directory.
    static QString ProgramPath(const QString &programDir);
    // Whether a port name chooses the simulated module (any letter case).
    static bool IsChosen(const QString &portName);

private:
    bool Fail(QString *error, const QString &reason);
    bool ReadDevicePath(QString *error);

    QString m_programDir;
    QString m_devicePath;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    std::unique_ptr<QProcess> m_process;
};
