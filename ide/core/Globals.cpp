#include "Globals.h"

#include <QFileInfo>
#include <QLocale>
#include <clocale>
#include <csignal>

namespace {

// The paths the application's object put in force; none outside its life.
const TWorkbenchPaths *g_pathsInUse = nullptr;

} // namespace

const TWorkbenchPaths &CurrentPaths()
{
    if (g_pathsInUse)
        return *g_pathsInUse;
    static const TWorkbenchPaths program = TWorkbenchPaths::OfProgram();
    return program;
}

TPathsInUse::TPathsInUse(const TWorkbenchPaths &paths)
    : m_paths(&paths)
    , m_previous(g_pathsInUse)
{
    g_pathsInUse = &paths;
}

// Paths put in force later stay so.
TPathsInUse::~TPathsInUse()
{
    if (g_pathsInUse == m_paths)
        g_pathsInUse = m_previous;
}

void InitGlobals()
{
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    // A reader that goes away (a log pipe, a closed standard output) makes the
    // write fail with EPIPE, which the writer reports, instead of ending the
    // program and losing what it holds unsaved.
    std::signal(SIGPIPE, SIG_IGN);
}

QString SettingsFileName()
{
    return CurrentPaths().SettingsFileName();
}

QString LayoutFileName()
{
    return CurrentPaths().LayoutFileName();
}

QString ManualFileName()
{
    return CurrentPaths().ManualFileName();
}

QStringList AbsoluteFileNames(const QStringList &names)
{
    QStringList absolute;
    for (const QString &name : names)
        absolute << QFileInfo(name).absoluteFilePath();
    return absolute;
}
