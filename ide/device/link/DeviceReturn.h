#pragma once

#include "SerialDevices.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

// Waits for a serial device that went away while connected to come back, as
// a USB adapter does when it is plugged in again: under the same path, or
// under one of the /dev/serial/by-id names it had while it was there (the
// adapter may come back as another ttyUSB). A path counts as back only after
// it was seen missing once, so a device that hung up but never left is not
// taken for a returned one. Looks every kPollMs while waiting.
class TDeviceReturn : public QObject {
public:
    static constexpr int kPollMs = 300;

    explicit TDeviceReturn(QObject *parent = nullptr);

    void SetFolders(const TDeviceFolders &folders)
    {
        m_folders = folders;
    }
    // The device a connection uses, and its by-id names now, while it is there.
    void Remember(const QString &device);
    // Starts waiting for the remembered device, with a first look at once.
    void Wait();
    void Stop();
    bool Waiting() const
    {
        return m_timer.isActive();
    }
    QString Device() const
    {
        return m_device;
    }
    // Looks once: the path the device is back under, empty while it is not.
    QString Look();

    // Called at each look that finds the device back, with the path to open;
    // waiting goes on until it is stopped (an open that fails is tried again).
    std::function<void(const QString &path)> OnBack;

private:
    void Poll();

    TDeviceFolders m_folders;
    QString m_device;
    QStringList m_names; // the path and its by-id names
    QStringList m_missed; // those seen missing since the wait began
    QTimer m_timer;
};
