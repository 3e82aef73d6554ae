// Printing of one editor: the job settings come from the editor's title and
// file name, the printer is the one chosen in the printer setup.
#include "PrintJob.h"
#include "SourceEditor.h"

void TSourceEditor::Print(bool colours, bool lineNumbers, bool selectionOnly)
{
    const TPrintJobSettings settings =
        MakePrintJobSettings(GetTitle(), GetFileName(), colours, lineNumbers, selectionOnly);
    PrintEditor(*this, settings, CurrentPrinter());
}
