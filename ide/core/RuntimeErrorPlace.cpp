#include "RuntimeErrorPlace.h"

#include "lang/DebugMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

int RuntimeErrorImageLine(QString text)
{
    static const QRegularExpression kErrorLine(QStringLiteral("^Error: .+ in line ([0-9]{1,9})\\.$"));
    const QRegularExpressionMatch match = kErrorLine.match(text.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

std::optional<TSourcePlace> SourcePlaceOf(const QString &imagePath, int imageLine)
{
    const QString mapPath = QString::fromStdString(velmo::lang::MapPathOf(imagePath.toStdString()));
    QFile file(mapPath);
    if (imageLine <= 0 || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    velmo::lang::DebugMap map;
    std::string error;
    if (!velmo::lang::ParseDebugMap(file.readAll().toStdString(), map, error))
        return std::nullopt;
    const velmo::lang::MapLine *line = map.LineOf(imageLine);
    if (!line || line->file < 0 || size_t(line->file) >= map.files.size())
        return std::nullopt;
    const QDir folder = QFileInfo(imagePath).absoluteDir();
    const QString source = QDir::cleanPath(folder.filePath(QString::fromStdString(map.files[size_t(line->file)])));
    return TSourcePlace{source, line->sourceLine};
}

QList<int> TRuntimeErrorWatch::Feed(const QByteArray &text)
{
    QList<int> errors;
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            m_overlong = m_overlong || m_line.size() >= kMaxLine;
            if (!m_overlong)
                m_line.append(c);
            continue;
        }
        if (!m_overlong)
            if (const int line = RuntimeErrorImageLine(QString::fromLatin1(m_line)))
                errors.append(line);
        m_line.clear();
        m_overlong = false;
    }
    return errors;
}
