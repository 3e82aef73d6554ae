// Scope under a sample flood, offscreen and in real time: four channels get
// 1,000 samples per second each (fed from a 1 ms timer that catches up with
// the clock), with the measuring cursor in the plot. Prints how often the
// picture was drawn in each second, how long a paint took once every channel
// held its 2047 samples, and how busy the main thread was.
//
//   bench_scope [--seconds N] [--size WxH] [--rate SAMPLES_PER_CHANNEL_PER_S]
#include "Scope.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

struct TOptions {
    int seconds = 60;
    QSize size{1280, 320};
    int rate = 1000;
};

TOptions ParseOptions(const QStringList &args)
{
    TOptions options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--seconds")
            options.seconds = args[i + 1].toInt();
        else if (args[i] == "--size")
            options.size = QSize(args[i + 1].section('x', 0, 0).toInt(), args[i + 1].section('x', 1, 1).toInt());
        else if (args[i] == "--rate")
            options.rate = args[i + 1].toInt();
    }
    return options;
}

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The scope with every paint timed.
class TTimedScope : public TMcuScope {
public:
    std::vector<double> fullPaintsMs; // paints while every channel was full, wall time
    std::vector<double> fullPaintsCpuMs; // the same in CPU time of the main thread
    std::vector<int> paintsPerSecond;
    QElapsedTimer clock;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const int rendersBefore = RenderCount();
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadCpuSeconds();
        TMcuScope::paintEvent(event);
        const double cpuMs = (ThreadCpuSeconds() - cpu) * 1000;
        if (RenderCount() == rendersBefore)
            return; // a copy of the buffer only
        const auto second = static_cast<std::size_t>(clock.elapsed() / 1000);
        if (paintsPerSecond.size() <= second)
            paintsPerSecond.resize(second + 1);
        ++paintsPerSecond[second];
        bool full = true;
        for (int i = 0; i < TScopeModel::kChannelCount; ++i)
            full = full && Model().Channel(i).SampleCount() == TMcuChannel::kCapacity;
        if (full) {
            fullPaintsMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            fullPaintsCpuMs.push_back(cpuMs);
        }
    }
};

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * double(values.size())))];
}

void PrintPaints(const char *what, const std::vector<double> &ms)
{
    const double mean = ms.empty() ? 0 : std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    std::printf("paint at 2047 samples  %s: mean %.3f ms, median %.3f ms, 99%% %.3f ms, max %.3f ms\n", what, mean,
                Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(ms, 1.0));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TOptions options = ParseOptions(app.arguments());

    TTimedScope scope;
    scope.resize(options.size);
    scope.show();
    const QPoint cursor(scope.Layout().plot.left + scope.Layout().plot.Width() / 2, options.size.height() / 2);
    QMouseEvent move(QEvent::MouseMove, cursor, scope.mapToGlobal(cursor), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&scope, &move);

    long long added = 0;
    const long long perSecond = 4LL * options.rate;
    QTimer feeder;
    feeder.setTimerType(Qt::PreciseTimer);
    feeder.setInterval(1);
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const long long due = scope.clock.elapsed() * perSecond / 1000;
        for (; added < due; ++added) {
            const int channel = int(added % 4);
            const double t = double(added / 4) / options.rate;
            const double value = (channel + 1) * 10.0 * std::sin(2 * M_PI * (0.5 + channel) * t) + (added % 7) * 0.1;
            scope.AddSample(channel, float(value));
        }
    });
    QTimer::singleShot(options.seconds * 1000, &app, &QCoreApplication::quit);

    const double cpuStart = ThreadCpuSeconds();
    scope.clock.start();
    feeder.start();
    app.exec();
    const double wall = double(scope.clock.elapsed()) / 1000;
    const double cpu = ThreadCpuSeconds() - cpuStart;

    // The last second is cut short by the quit; leave it out.
    std::vector<int> perSecondCounts(scope.paintsPerSecond.begin(),
                                     scope.paintsPerSecond.end() - (scope.paintsPerSecond.empty() ? 0 : 1));
    const int most = perSecondCounts.empty() ? 0 : *std::max_element(perSecondCounts.begin(), perSecondCounts.end());
    int total = 0;
    for (int n : scope.paintsPerSecond)
        total += n;

    std::printf("scope %dx%d, %d s, 4 channels x %d samples/s, cursor in the plot\n", options.size.width(),
                options.size.height(), options.seconds, options.rate);
    std::printf("samples added          %lld (%.0f per second)\n", added, double(added) / wall);
    std::printf("repaints               %d in %.1f s: %.1f per second on average, at most %d in one second\n", total,
                wall, double(total) / wall, most);
    std::printf("paints at 2047 samples %zu\n", scope.fullPaintsMs.size());
    PrintPaints("CPU ", scope.fullPaintsCpuMs);
    PrintPaints("wall", scope.fullPaintsMs);
    std::printf("main thread busy       %.2f s CPU in %.1f s: %.1f%%\n", cpu, wall, 100 * cpu / wall);
    return 0;
}
