#include "FreshImage.h"

#include "CompilerRunner.h"
#include "EditorController.h"
#include "EditorList.h"
#include "IEditor.h"
#include "MainForm.h"
#include "ProgramImage.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool Listed(const QStringList &sources, const QString &file)
{
    const QFileInfo info(file);
    return std::any_of(sources.begin(), sources.end(),
                       [&info](const QString &source) { return info == QFileInfo(source); });
}

} // namespace

bool ImageLagsBehind(const TMainWindow &window, const IEditor &editor)
{
    if (!IsProgramSource(editor.GetFileName()))
        return false;
    const QStringList sources = ProgramSources(editor.GetFileName());
    for (const IEditor *open : window.EditorControl().EditorList()->Slots())
        if (open && open->CanSave() && (open == &editor || Listed(sources, open->GetFileName())))
            return true;
    return ImageOutOfDate(ImageFileOf(editor.GetFileName()), sources);
}

void WithFreshImage(TMainWindow &window, const std::function<void()> &next)
{
    const IEditor *editor = window.CurrentEditor();
    if (!editor || !ImageLagsBehind(window, *editor))
        return next();
    TCompilerRunner &compiler = window.Compiler();
    if (compiler.Running())
        return;
    window.CompileMenuClick();
    if (!compiler.Running())
        return;
    QObject::connect(
        &compiler, &TCompilerRunner::Finished, &window,
        [&window, next](bool stopped) {
            const IEditor *compiled = window.CurrentEditor();
            if (!stopped && compiled && !ImageLagsBehind(window, *compiled))
                next();
        },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}
