// The main window's Find All command: the find-in-files dialog searches the
// open editors, the current one and the working directory into the Find list.
#include "EditorList.h"
#include "Errors.h"
#include "FileListBox.h"
#include "FindListBox.h"
#include "IEditor.h"
#include "MainForm.h"
#include "SearchAll.h"

#include <QTabBar>

namespace {

TSearchSource SourceOf(IEditor *editor)
{
    return {editor->GetFileName(), editor->GetLines()};
}

TSearchScope ScopeOf(const TMainWindow &window)
{
    TSearchScope scope;
    for (IEditor *editor : window.EditorList->Slots()) {
        if (editor)
            scope.openFiles.push_back(SourceOf(editor));
    }
    if (IEditor *current = window.CurrentEditor())
        scope.currentFile = SourceOf(current);
    scope.workDir = window.WorkDirList->Directory();
    return scope;
}

} // namespace

void TMainWindow::FindAllMenuClick()
{
    TSearchAllDlg &dlg = TSearchAllDlg::Instance();
    if (IEditor *editor = CurrentEditor())
        dlg.SetSearchText(editor->GetSelText());
    if (dlg.Execute() != QDialog::Accepted)
        return;
    dlg.SetResultList(FindList);
    ShowOutputPanel(true);
    OutputTabs->setCurrentIndex(OutputFindTab);
    QString error;
    if (!dlg.Search(ScopeOf(*this), error))
        throw EKorvidError(error);
}
