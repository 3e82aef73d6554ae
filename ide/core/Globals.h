#pragma once

#include "WorkbenchPaths.h"

#include <QString>
#include <QStringList>

// The program-wide names of the paths of the running workbench. They read the
// paths the application's object has put in force (TPathsInUse); before that,
// and in programs without one, the paths of the running program.
const TWorkbenchPaths &CurrentPaths();

// Puts paths in force for as long as it lives; those in force before come
// back afterwards (the holders end in the reverse order of their start). The
// application's object holds one.
class TPathsInUse {
public:
    explicit TPathsInUse(const TWorkbenchPaths &paths);
    ~TPathsInUse();
    TPathsInUse(const TPathsInUse &) = delete;
    TPathsInUse &operator=(const TPathsInUse &) = delete;

private:
    const TWorkbenchPaths *m_paths;
    const TWorkbenchPaths *m_previous;
};

// Directory of the running Korvid executable, with a trailing "/":
// CurrentPaths().ProgramDir() wherever a QString is expected.
struct TProgramDirName {
    operator QString() const
    {
        return CurrentPaths().ProgramDir();
    }
};
inline constexpr TProgramDirName ProgramDir{};

// Makes "." the decimal separator for every number the program formats or
// parses; a write to a pipe whose reader went away fails with EPIPE instead
// of ending the program.
void InitGlobals();

// The files of CurrentPaths().
QString SettingsFileName();
QString LayoutFileName();
QString ManualFileName();

// File names as given on the command line, made absolute against the current
// directory (the one Korvid was started in). Done before the window is built,
// because the working-directory panel changes the current directory.
QStringList AbsoluteFileNames(const QStringList &names);
