#include "WorkbenchPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char kIniName[] = "Korvid.ini";

QString UserConfigDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + "/.config";
    return dir + "/Korvid/";
}

} // namespace

TWorkbenchPaths::TWorkbenchPaths(const QString &programDir, const QString &settings, const QString &layout)
    : m_programDir(QDir::fromNativeSeparators(programDir))
    , m_settingsOverride(settings)
    , m_layoutOverride(layout)
{
    if (!m_programDir.endsWith('/'))
        m_programDir += '/';
}

TWorkbenchPaths TWorkbenchPaths::OfProgram()
{
    return TWorkbenchPaths(QCoreApplication::applicationDirPath());
}

QString TWorkbenchPaths::SettingsFileName() const
{
    if (!m_settingsOverride.isEmpty())
        return m_settingsOverride;
    if (QFileInfo(m_programDir).isWritable())
        return m_programDir + kIniName;
    return UserConfigDir() + kIniName;
}

QString TWorkbenchPaths::LayoutFileName() const
{
    if (!m_layoutOverride.isEmpty())
        return m_layoutOverride;
    return UserConfigDir() + kIniName;
}

QString TWorkbenchPaths::ManualFileName() const
{
    const QString beside = m_programDir + "Help/Velmo.pdf";
    const QString installed = QDir::cleanPath(m_programDir + "../share/velmo/Help/Velmo.pdf");
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : installed;
}
