// Reads N macros from a settings file, the way the preferences dialog does
// (Settings::ReadMacros: one TIniFile, one read and parse of the file), and
// the same keys with a fresh TIniFile per key (a read and parse per key).
// Prints milliseconds and microseconds per macro for growing N: the first
// stays flat per macro, the second grows with N.
#include "IniFile.h"
#include "Settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kRounds = 3;
const int kCounts[] = {250, 500, 1000, 2000, 4000};

void WriteMacros(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("[COM-Device]\r\nPort=COM1\r\n[Macros]\r\n");
    for (int i = 0; i < count; ++i)
        file.write(QStringLiteral("Macro%1=PRINT \"macro number %1\"#013\r\n").arg(i).toUtf8());
    file.write("[Transfer]\r\nLastFile=/home/user/prog.hex\r\n");
}

template <typename F> double BestMs(F read)
{
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        read();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Korvid.ini");
    std::printf("%8s %14s %16s %18s %20s\n", "macros", "one parse ms", "us per macro", "parse per key ms",
                "us per macro");
    for (const int count : kCounts) {
        WriteMacros(path, count);
        qsizetype read = 0;
        const double once = BestMs([&] { read = Settings::ReadMacros(TIniFile(path)).size(); });
        const double perKey = BestMs([&] {
            for (int i = 0; i < count; ++i)
                read = TIniFile(path).ReadString("Macros", "Macro" + QString::number(i), QString()).size();
        });
        if (read == 0)
            std::printf("(no macro read)\n");
        std::printf("%8d %14.2f %16.2f %18.2f %20.2f\n", count, once, 1000 * once / count, perKey,
                    1000 * perKey / count);
    }
    return 0;
}
