#include "DeviceReturn.h"

#include <QFileInfo>

TDeviceReturn::TDeviceReturn(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &TDeviceReturn::Poll);
}

void TDeviceReturn::Remember(const QString &device)
{
    m_device = device;
    m_names = QStringList(device) + SerialDevices::LinksTo(device, m_folders);
    m_names.removeDuplicates();
}

// The first look at once: a device that is missing when it is reported gone
// may be back before the next one.
void TDeviceReturn::Wait()
{
    m_missed.clear();
    Look();
    m_timer.start();
}

void TDeviceReturn::Stop()
{
    m_timer.stop();
}

QString TDeviceReturn::Look()
{
    for (const QString &name : m_names) {
        // exists() follows a link: one whose device is gone counts as missing.
        if (!QFileInfo::exists(name)) {
            if (!m_missed.contains(name))
                m_missed << name;
        } else if (m_missed.contains(name)) {
            return name;
        }
    }
    return QString();
}

void TDeviceReturn::Poll()
{
    const QString back = Look();
    if (!back.isEmpty() && OnBack)
        OnBack(back);
}
