#pragma once

class QWidget;
class TAppState;
class TColorListBox;
class TMainWindow;

// Compile in the main window: save all files, run the compiler on the active
// editor's file and show its output in the Build list. A compile already
// running refuses; the Compile button and Escape in the Build list stop it
// (CompileStop.cpp).
class TBuildController {
public:
    TBuildController(TMainWindow &window, TAppState &app);

    // Called once while the window is built.
    TColorListBox *CreateBuildList(QWidget *parent);

    void CompileMenuClick();

    TColorListBox *BuildList() const
    {
        return m_buildList;
    }

private:
    TMainWindow &m_window;
    TAppState &m_app;
    TColorListBox *m_buildList = nullptr;
};
