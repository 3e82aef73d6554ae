// Printing of one editor: the job settings come from the editor's title and
// file name, the printer is the one chosen in the printer setup.
#include "PrintJob.h"
#include "SourceEditor.h"

void TSourceEditor::Print(bool colours, bool lineNumbers, bool selectionOnly)
{
    const TPrintJobSettings settings =
        MakePrintJobSettings(GetTitle(), GetFileName(), colours, lineNumbers, selectionOnly);
    if (m_printer) {
        PrintEditor(*this, settings, m_printer());
        return;
    }
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<TEditorPrinter>();
    PrintEditor(*this, settings, *m_ownPrinter);
}
