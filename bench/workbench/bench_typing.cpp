// How fluid typing stays in a large Velmo source with live checking: a
// 10,000-line program open in Korvid's editor (offscreen) is typed into key
// by key, at a typist's pace with a pause after each line (long enough for
// the text to go to the language server and its messages to come back while
// typing goes on). For each key: the time from the moment it is pressed to
// the end of the editor's next paint. Reported: the longest and the median
// delay, with live checking on and off. (The program is more than a module
// holds: the compiler says so once, and the editor shows that message.)
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_typing [keys] [lines]
// (velmo-ls is taken from VELMO_BIN_DIR, or else from build/bin).
#include "AppState.h"
#include "Application.h"
#include "DiagnosticsController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "GeneratedProgram.h"
#include "Globals.h"
#include "IdleWait.h"
#include "LanguageClient.h"
#include "MainForm.h"
#include "SourceEditor.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr int kKeyMs = 100; // between two keys
constexpr int kLinePauseMs = 500; // after a line: longer than the typing pause
constexpr int kPaintTimeoutMs = 5000;
const char kTypedLine[] = "  PRINT \"typed\", i * 3\n";

// Notes when the editor's viewport is painted.
class TPaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void WaitUntil(const QElapsedTimer &clock, qint64 ms)
{
    while (clock.elapsed() < ms) {
        if (!QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Presses and releases one key; the paint that follows ends its delay.
double KeyDelayMs(TSourceEditor &editor, TPaintWatch &watch, QChar key, const QElapsedTimer &clock, qint64 pressedAt)
{
    const int code = key == u'\n' ? int(Qt::Key_Return) : int(key.toUpper().unicode());
    const QString text = key == u'\n' ? QStringLiteral("\r") : QString(key);
    watch.painted = false;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(&editor, &press);
    QApplication::sendEvent(&editor, &release);
    while (!watch.painted && clock.elapsed() - pressedAt < kPaintTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return double(clock.nsecsElapsed() - pressedAt * 1000000) / 1e6;
}

struct TResult {
    double longest = 0;
    double median = 0;
    int published = 0; // message lists the server sent while typing
};

TResult Type(TAppState &app, const QString &fileName, int keys, bool live)
{
    TMainWindow window(app);
    window.resize(1000, 700);
    window.DiagnosticsControl().SetLive(live);
    window.OpenFile(fileName);
    window.show();
    TSourceEditor *editor = AsSourceEditor(window.CurrentEditor());
    int published = 0;
    QElapsedTimer clock;
    clock.start();
    if (live) { // the first messages: the server has checked the whole text
        while (!window.DiagnosticsControl().Client() && clock.elapsed() < 5000)
            WaitUntil(clock, clock.elapsed() + 10);
        if (TLanguageClient *client = window.DiagnosticsControl().Client())
            QObject::connect(client, &TLanguageClient::DiagnosticsChanged, [&published] { ++published; });
        while (published == 0 && clock.elapsed() < 20000)
            WaitUntil(clock, clock.elapsed() + 10);
        published = 0;
    }
    WaitUntilIdle();
    editor->setFocus();
    editor->setCursorPosition(editor->lines() / 2, 0);
    TPaintWatch watch;
    editor->viewport()->installEventFilter(&watch);
    std::vector<double> delays;
    const QString line = QString::fromLatin1(kTypedLine);
    qint64 pressAt = clock.elapsed() + kKeyMs;
    for (int k = 0; k < keys; ++k) {
        const QChar key = line[k % line.size()];
        WaitUntil(clock, pressAt);
        delays.push_back(KeyDelayMs(*editor, watch, key, clock, pressAt));
        pressAt += key == u'\n' ? kLinePauseMs : kKeyMs;
    }
    WaitUntil(clock, clock.elapsed() + kLinePauseMs);
    editor->viewport()->removeEventFilter(&watch);
    editor->setModified(false);
    std::sort(delays.begin(), delays.end());
    return {delays.back(), delays[delays.size() / 2], published};
}

QString ServerProgram()
{
    const QString dir = qEnvironmentVariableIsSet("VELMO_BIN_DIR")
        ? qEnvironmentVariable("VELMO_BIN_DIR")
        : QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    return TLanguageClient::ProgramPath(dir);
}

} // namespace

int main(int argc, char *argv[])
{
    TKorvidApplication app(argc, argv);
    InitGlobals();
    const int keys = argc > 1 ? std::max(2, std::atoi(argv[1])) : 230;
    const int lines = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    QTemporaryDir dir;
    if (!QFile::link(QFileInfo(ServerProgram()).absoluteFilePath(), dir.filePath(QStringLiteral("velmo-ls"))) ||
        !QFileInfo(ServerProgram()).isExecutable()) {
        std::fprintf(stderr, "velmo-ls not found at %s\n", qPrintable(ServerProgram()));
        return 1;
    }
    TAppState state(TWorkbenchPaths(dir.path(), dir.filePath(QStringLiteral("Korvid.ini")),
                                    dir.filePath(QStringLiteral("layout.ini"))));
    state.DialogHooks().errorReporter = [](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    };
    const QString fileName = dir.filePath(QStringLiteral("typing.bas"));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write("WORD i\r\n" + GeneratedProgram(lines - 1)) < 0)
        return 1;
    file.close();
    const TResult off = Type(state, fileName, keys, false);
    const TResult on = Type(state, fileName, keys, true);
    std::printf("%d lines, %d keys (%d ms apart, %d ms after each line):\n", lines, keys, kKeyMs, kLinePauseMs);
    std::printf("  live checking on:  longest %.1f ms, median %.1f ms keystroke-to-paint (%d message lists "
                "received while typing)\n",
                on.longest, on.median, on.published);
    std::printf("  live checking off: longest %.1f ms, median %.1f ms\n", off.longest, off.median);
    std::printf("  ratio on/off: longest %.2f, median %.2f\n", on.longest / off.longest, on.median / off.median);
    return 0;
}
