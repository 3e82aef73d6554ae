// How much processor time the workbench takes to open a large Velmo source until its window
// is shown and idle, against a plain editor control loading the same text,
// in paired runs (the two alternate, so both see the same machine load).
// Each side runs in a process of its own (this program with --side), so
// neither inherits the other's memory: whether freed text memory went back
// to the system decided the page faults, and with them half the figure.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_open 100000 1000000
#include "AppState.h"
#include "Application.h"
#include "GeneratedProgram.h"
#include "Globals.h"
#include "IdleWait.h"
#include "MainForm.h"

#include <Qsci/qsciscintilla.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int g_pairs = 5; // VELMO_BENCH_PAIRS overrides (1 under callgrind, with --trace-children=yes)

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

// One side in this process: the CPU seconds it took, on standard output.
int RunSide(const QString &side, const QString &fileName, TAppState &app)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QString text = QString::fromLatin1(file.readAll());
    const double seconds = side == QLatin1String("plain") ? PlainEditorSeconds(text) : WorkbenchSeconds(app, fileName);
    std::printf("%.6f\n", seconds);
    return 0;
}

// One side in a fresh process; negative when it failed.
double SideSeconds(const char *side, const QString &fileName)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--side"), QLatin1String(side), fileName});
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double seconds = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

bool Compare(int lines, const QTemporaryDir &dir)
{
    const QByteArray bytes = GeneratedProgram(lines);
    const QString fileName = dir.filePath(QStringLiteral("bench%1.bas").arg(lines));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(fileName));
        return false;
    }
    file.close();
    std::vector<double> plain, workbench, ratios;
    for (int pair = 0; pair < g_pairs; ++pair) {
        plain.push_back(SideSeconds("plain", fileName));
        workbench.push_back(SideSeconds("korvid", fileName));
        if (plain.back() <= 0 || workbench.back() <= 0) {
            std::fprintf(stderr, "a side of the benchmark failed\n");
            return false;
        }
        ratios.push_back(workbench.back() / plain.back());
    }
    std::printf("%8d lines: plain editor %.3f s, Korvid %.3f s CPU, ratio %.2f (median of %d pairs, each side in a "
                "fresh process)\n",
                lines, Median(plain), Median(workbench), Median(ratios), g_pairs);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv); // owns the serial port the window's device half uses
    InitGlobals();
    QTemporaryDir dir;
    TAppState state(TWorkbenchPaths(dir.path(), dir.filePath(QStringLiteral("Korvid.ini")),
                                    dir.filePath(QStringLiteral("layout.ini"))));
    state.DialogHooks().errorReporter = [](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    };
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("--side"))
        return RunSide(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), state);
    if (const char *pairs = std::getenv("VELMO_BENCH_PAIRS"))
        g_pairs = std::max(1, std::atoi(pairs));
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100000};
    for (int lines : sizes) {
        if (!Compare(lines, dir))
            return 1;
    }
    return 0;
}
