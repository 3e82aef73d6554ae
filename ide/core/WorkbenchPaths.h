#pragma once

#include <QString>

// Where the workbench finds its program directory, its settings and layout
// files and the programming manual. Each application object holds its own.
class TWorkbenchPaths {
public:
    // The paths of a program in programDir (the directory of the running
    // executable for the workbench itself); settings and layout, when given,
    // put both files elsewhere (tests).
    explicit TWorkbenchPaths(const QString &programDir, const QString &settings = QString(),
                             const QString &layout = QString());
    // The paths of the running program.
    static TWorkbenchPaths OfProgram();

    // The program directory, with a trailing "/".
    const QString &ProgramDir() const
    {
        return m_programDir;
    }

    // The settings file: beside the program when that directory is
    // writable, otherwise in the user's configuration directory.
    QString SettingsFileName() const;
    // The layout file: always "Korvid.ini" in the user's configuration
    // directory.
    QString LayoutFileName() const;
    // The programming manual: "Help/Velmo.pdf" beside the program (a build
    // tree, a copy of the programs in a folder of one's own), or else, for an
    // installed workbench <prefix>/bin/Korvid, <prefix>/share/velmo/Help/
    // Velmo.pdf. When neither exists, the name beside the program.
    QString ManualFileName() const;

private:
    QString m_programDir;
    QString m_settingsOverride;
    QString m_layoutOverride;
};
