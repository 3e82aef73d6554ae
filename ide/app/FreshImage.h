#pragma once

#include <functional>

class IEditor;
class TMainWindow;

// The program image beside the active editor's file, brought up to date
// before it is used (downloaded, debugged).

// Whether the image lags behind what the user sees: a file of the program is
// unsaved (or has no name yet), or newer than the image. The compiler's own
// files and logs have no image of their own.
bool ImageLagsBehind(const TMainWindow &window, const IEditor &editor);

// Runs next at once when the image is up to date; otherwise compiles as F9
// does, saving first, and runs next after a compile that brought the image
// up to date. A compile that does not start, is stopped or finds errors runs
// nothing: the Build list shows why.
void WithFreshImage(TMainWindow &window, const std::function<void()> &next);
