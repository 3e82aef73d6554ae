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
    m_compiler = new TCompilerRunner(&m_window);
    ShowCompilesIn(*m_compiler, m_buildList);
    WireCompileStop(*m_compiler, m_buildList, m_window.ToolButton("CompileBtn"));
    return m_buildList;
}

void TBuildController::CompileMenuClick()
{
    TEditorController &editors = m_window.EditorControl();
    if (editors.EditorList()->IsEmpty() || m_compiler->Running())
        return;
    IEditor *editor = editors.CurrentEditor();
    if (!editor || !editors.SaveForCompile())
        return;
    m_buildList->clear();
    m_window.ShowOutputPanel(true);
    m_window.OutputTabs()->setCurrentIndex(TMainWindow::OutputBuildTab);
    m_compiler->Compile(CompilerPath(m_app.Paths().ProgramDir()), editor->GetFileName());
}
