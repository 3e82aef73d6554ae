// How much processor time the workbench takes to open a large Velmo source until its window
// is shown and idle, against a plain editor control loading the same text,
// in paired runs (the two alternate, so both see the same machine load).
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_open 100000 1000000
#include "AppState.h"
#include "GeneratedProgram.h"
#include "Globals.h"
#include "IdleWait.h"
#include "MainForm.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int g_pairs = 5; // VELMO_BENCH_PAIRS overrides (1 for a run under callgrind)

double PlainEditorSeconds(const QString &text)
{
    const double start = CpuSeconds();
    QsciScintilla editor;
    editor.resize(800, 600);
    editor.setText(text);
    editor.show();
    WaitUntilIdle();
    return CpuSeconds() - start;
}

double WorkbenchSeconds(TAppState &app, const QString &fileName)
{
    const double start = CpuSeconds();
    TMainWindow window(app);
    window.resize(800, 600);
    window.OpenFile(fileName);
    window.show();
    WaitUntilIdle();
    return CpuSeconds() - start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Compare(int lines, const QTemporaryDir &dir, TAppState &app)
{
    const QByteArray bytes = GeneratedProgram(lines);
    const QString fileName = dir.filePath(QStringLiteral("bench%1.bas").arg(lines));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(fileName));
        return;
    }
    file.close();
    const QString text = QString::fromLatin1(bytes);
    std::vector<double> plain, workbench, ratios;
    for (int pair = 0; pair < g_pairs; ++pair) {
        plain.push_back(PlainEditorSeconds(text));
        workbench.push_back(WorkbenchSeconds(app, fileName));
        ratios.push_back(workbench.back() / plain.back());
    }
    std::printf("%8d lines: plain editor %.3f s, Korvid %.3f s CPU, ratio %.2f (median of %d pairs)\n", lines,
                Median(plain), Median(workbench), Median(ratios), g_pairs);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitGlobals();
    QTemporaryDir dir;
    TAppState state(TWorkbenchPaths(dir.path(), dir.filePath(QStringLiteral("Korvid.ini")),
                                    dir.filePath(QStringLiteral("layout.ini"))));
    state.DialogHooks().errorReporter = [](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    };
    if (const char *pairs = std::getenv("VELMO_BENCH_PAIRS"))
        g_pairs = std::max(1, std::atoi(pairs));
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100000};
    for (int lines : sizes)
        Compare(lines, dir, state);
    return 0;
}
