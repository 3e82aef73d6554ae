#pragma once

class QWidget;
class TAppState;
class TColorListBox;
class TCompilerRunner;
class TMainWindow;

// Compile in the main window: save all files, start the compiler on the
// active editor's file and show its output in the Build list when it ends. A
// compile already running refuses; the Compile button and Escape in the Build
// list stop it (CompileStop.cpp).
class TBuildController {
public:
    TBuildController(TMainWindow &window, TAppState &app);

    // Called once while the window is built, after its toolbars.
    TColorListBox *CreateBuildList(QWidget *parent);

    // The Build list's compiles; its end comes as the runner's Finished.
    TCompilerRunner &Compiler() const
    {
        return *m_compiler;
    }

    void CompileMenuClick();

    TColorListBox *BuildList() const
    {
        return m_buildList;
    }

private:
    TMainWindow &m_window;
    TAppState &m_app;
    TColorListBox *m_buildList = nullptr;
    TCompilerRunner *m_compiler = nullptr; // a child of the window
};
