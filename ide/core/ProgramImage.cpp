#include "ProgramImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

namespace {

// The files the compiler and the console write, by their extension.
const char *const kWrittenFileTypes[] = {"hex", "lst", "log"};

// A directive line naming an included file in a string literal.
const QRegularExpression kIncludeLine(QStringLiteral(R"re(^\s*#include\s*"([^"]*)")re"),
                                      QRegularExpression::CaseInsensitiveOption);

QString IncludedFile(const QString &includer, QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(name).suffix().isEmpty() && !name.endsWith(QLatin1Char('.')))
        name += QStringLiteral(".bas");
    return QDir::cleanPath(QFileInfo(includer).dir().absoluteFilePath(name));
}

QStringList IncludesOf(const QString &file)
{
    QFile source(file);
    QStringList names;
    if (!source.open(QIODevice::ReadOnly))
        return names;
    while (!source.atEnd()) {
        const QRegularExpressionMatch match = kIncludeLine.match(QString::fromLatin1(source.readLine()));
        if (match.hasMatch())
            names << IncludedFile(file, match.captured(1));
    }
    return names;
}

// The time of the last write, to the file system's full precision; none when
// the file cannot be examined.
std::optional<std::filesystem::file_time_type> WriteTime(const QString &file)
{
    std::error_code error;
    const auto time =
        std::filesystem::last_write_time(std::filesystem::path(QFile::encodeName(file).toStdString()), error);
    if (error)
        return std::nullopt;
    return time;
}

bool Listed(const QStringList &files, const QString &file)
{
    return files.contains(file, Qt::CaseInsensitive);
}

} // namespace

bool IsProgramSource(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix();
    return std::none_of(std::begin(kWrittenFileTypes), std::end(kWrittenFileTypes), [&suffix](const char *type) {
        return suffix.compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
    });
}

QString ImageFileOf(const QString &source)
{
    const QFileInfo info(source);
    const QString base = info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    return QDir(info.path()).filePath(base + QStringLiteral(".hex"));
}

QStringList ProgramSources(const QString &source)
{
    QStringList files{QDir::cleanPath(QFileInfo(source).absoluteFilePath())};
    for (qsizetype next = 0; next < files.size(); ++next)
        for (const QString &included : IncludesOf(files[next]))
            if (!Listed(files, included))
                files << included;
    return files;
}

bool ImageOutOfDate(const QString &image, const QStringList &sources)
{
    const auto written = WriteTime(image);
    if (!written || !QFileInfo(image).isFile())
        return true;
    for (const QString &source : sources) {
        const auto changed = WriteTime(source);
        if (changed && *changed > *written)
            return true;
    }
    return false;
}
