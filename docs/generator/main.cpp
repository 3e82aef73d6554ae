// velmo_manual: builds the programming manual from its chapter files.
//
//   velmo_manual <chapter folder> <manual.pdf> [<manual.txt>] [--logo <image>]
//
// Mistakes in the source (a word that is no keyword, an unknown table, a
// syntax block where the compiler's tables give the syntax) are printed as
// "file(line): message" and end the program with exit code 1.
#include "LanguageReference.h"
#include "ManualDocument.h"
#include "ManualSource.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

// The offscreen platform complains about a missing runtime folder, which a
// program that only writes files does not need; every other message is shown.
void PrintMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (!message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "velmo_manual: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(PrintMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    TManualInfo info{QStringLiteral("Velmo Programming Manual"),
                     QStringLiteral("Velmo development kit %1").arg(QStringLiteral(VELMO_VERSION)), QImage()};
    const qsizetype logo = args.indexOf(QStringLiteral("--logo"));
    if (logo >= 0 && logo + 1 < args.size()) {
        info.logo = QImage(args[logo + 1]);
        if (info.logo.isNull())
            return Fail(QStringLiteral("can't read the image '%1'").arg(args[logo + 1]));
        args.remove(logo, 2);
    }
    if (args.size() < 2 || args.size() > 3)
        return Fail(
            QStringLiteral("usage: velmo_manual <chapter folder> <manual.pdf> [<manual.txt>] [--logo <image>]"));
    QList<TChapterFile> chapters;
    QString error;
    if (!ReadChapters(args[0], chapters, error))
        return Fail(error);
    TExpandedManual manual;
    QStringList errors;
    if (!ExpandManual(chapters, manual, errors)) {
        for (const QString &line : errors)
            std::fprintf(stderr, "%s\n", qPrintable(line));
        return 1;
    }
    const QStringList missing = KeywordsWithoutEntry(manual.entries);
    if (!missing.isEmpty())
        return Fail(QStringLiteral("no entry describes the keywords %1").arg(missing.join(QStringLiteral(", "))));
    if (!WriteManual(manual, info, args[1], args.value(2), error))
        return Fail(error);
    return 0;
}
