#pragma once

class TColorListBox;
class TCompilerRunner;

// The Build list as the view of the runner's compiles: while the compiler
// runs, the list shows the progress line and the stop hint; at the end it
// shows exactly the lines of the run's output. A list that is gone is no
// longer written to.
void ShowCompilesIn(TCompilerRunner &runner, TColorListBox *list);
