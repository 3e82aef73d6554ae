#pragma once

#include <QString>

class QAction;
class QWidget;
class TCompilerRunner;
class TMainWindow;

// Stopping a compile that runs: Escape in the Build list, or the Compile
// button, whose hint says so while the compiler runs. The Compile menu item
// and F9 do nothing meanwhile, so a double F9 never stops what it started.

// The Compile command: from the Compile button while a compile runs it stops
// the compile; otherwise it is CompileMenuClick.
void RunCompileCommand(TMainWindow &window, const QString &sender);

// Escape in the list stops the runner's compile; while the runner compiles,
// the Compile button's hint says that it stops the compile.
void WireCompileStop(TCompilerRunner &runner, QWidget *list, QAction *button);
