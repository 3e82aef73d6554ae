#pragma once

#include "Globals.h"

// The paths of one test: its program directory and, when given, its settings
// and layout files, in force while the object lives.
class TTestPaths {
public:
    explicit TTestPaths(const QString &programDir, const QString &settings = QString(),
                        const QString &layout = QString())
        : m_paths(programDir, settings, layout)
        , m_inUse(m_paths)
    {
    }

private:
    TWorkbenchPaths m_paths;
    TPathsInUse m_inUse;
};
