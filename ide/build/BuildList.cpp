#include "BuildList.h"

#include "ColorListBox.h"

#include <QPointer>

TBuildOutput BuildListOutput(TColorListBox *list)
{
    const QPointer<TColorListBox> guard(list);
    TBuildOutput output;
    output.alive = [guard] { return !guard.isNull(); };
    output.clear = [guard] { guard->clear(); };
    output.addLine = [guard](const QString &line) { guard->AddLine(line); };
    output.setLines = [guard](const QStringList &lines) { guard->SetLines(lines); };
    return output;
}
