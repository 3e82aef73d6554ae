#include "BuildList.h"

#include "ColorListBox.h"
#include "CompilerRunner.h"

void ShowCompilesIn(TCompilerRunner &runner, TColorListBox *list)
{
    QObject::connect(&runner, &TCompilerRunner::Progress, list, [list](const QString &status) {
        list->SetLines({status, StopHintLine()});
    });
    QObject::connect(&runner, &TCompilerRunner::Output, list, &TColorListBox::SetLines);
}
