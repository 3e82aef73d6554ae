#include "BuildController.h"

#include "AppState.h"
#include "BuildList.h"
#include "ColorListBox.h"
#include "CompileStop.h"
#include "CompilerRunner.h"
#include "EditorController.h"
#include "EditorList.h"
#include "IEditor.h"
#include "MainForm.h"

#include <QTabBar>

TBuildController::TBuildController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
{
}

TColorListBox *TBuildController::CreateBuildList(QWidget *parent)
{
    m_buildList = new TColorListBox(parent);
    m_buildList->setObjectName("BuildList");
    StopCompileOnEscape(m_buildList);
    return m_buildList;
}

void TBuildController::CompileMenuClick()
{
    TEditorController &editors = m_window.EditorControl();
    if (editors.EditorList()->IsEmpty() || CompilerRunning())
        return;
    editors.SaveAllFilesClick();
    IEditor *editor = editors.CurrentEditor();
    if (!editor || !editors.AllSaved())
        return;
    m_buildList->clear();
    m_window.ShowOutputPanel(true);
    m_window.OutputTabs()->setCurrentIndex(TMainWindow::OutputBuildTab);
    const TCompileStopHint stopHint(m_window.ToolButton("CompileBtn")); // the button stops the compile meanwhile
    CompileSource(CompilerPath(m_app.Paths().ProgramDir()), editor->GetFileName(), BuildListOutput(m_buildList));
}
