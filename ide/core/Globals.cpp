#include "Globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <clocale>
#include <csignal>

QString ProgramDir;

namespace {

QString settingsOverride;
QString layoutOverride;

const char kIniName[] = "Korvid.ini";

QString UserConfigDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + "/.config";
    return dir + "/Korvid/";
}

} // namespace

void SetProgramDir(const QString &dir)
{
    ProgramDir = QDir::fromNativeSeparators(dir);
    if (!ProgramDir.endsWith('/'))
        ProgramDir += '/';
}

void InitGlobals()
{
    SetProgramDir(QCoreApplication::applicationDirPath());
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    // A reader that goes away (a log pipe, a closed standard output) makes the
    // write fail with EPIPE, which the writer reports, instead of ending the
    // program and losing what it holds unsaved.
    std::signal(SIGPIPE, SIG_IGN);
}

QString SettingsFileName()
{
    if (!settingsOverride.isEmpty())
        return settingsOverride;
    if (QFileInfo(ProgramDir).isWritable())
        return ProgramDir + kIniName;
    return UserConfigDir() + kIniName;
}

QString LayoutFileName()
{
    if (!layoutOverride.isEmpty())
        return layoutOverride;
    return UserConfigDir() + kIniName;
}

void SetSettingsFileNames(const QString &settings, const QString &layout)
{
    settingsOverride = settings;
    layoutOverride = layout;
}

QString ManualFileName()
{
    const QString beside = ProgramDir + "Help/Velmo.pdf";
    const QString installed = QDir::cleanPath(ProgramDir + "../share/velmo/Help/Velmo.pdf");
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : installed;
}

QStringList AbsoluteFileNames(const QStringList &names)
{
    QStringList absolute;
    for (const QString &name : names)
        absolute << QFileInfo(name).absoluteFilePath();
    return absolute;
}
