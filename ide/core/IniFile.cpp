#include "IniFile.h"

#include "Errors.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool IsHeader(const QString &trimmed)
{
    return trimmed.startsWith('[') && trimmed.contains(']');
}

QString HeaderName(const QString &trimmed)
{
    return trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed();
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Splits "key=value"; false for lines that hold no key.
bool SplitKeyLine(const QString &line, QString &key, QString &value)
{
    const int eq = line.indexOf('=');
    if (eq <= 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

// A value must stay on its line.
QString OneLine(QString value)
{
    value.replace('\r', ' ');
    value.replace('\n', ' ');
    return value;
}

[[noreturn]] void RaiseWriteError(const QString &fileName)
{
    throw EKorvidError(QStringLiteral("Unable to write to %1").arg(fileName));
}

} // namespace

TIniFile::TIniFile(const QString &fileName)
    : FName(fileName)
{
}

QStringList TIniFile::LoadLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = DecodeText(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TIniFile::SaveLines(const QString &fileName, const QStringList &lines)
{
    const QFileInfo info(fileName);
    if (info.exists() && !info.isWritable())
        RaiseWriteError(fileName);
    QDir().mkpath(info.absolutePath());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        RaiseWriteError(fileName);
    for (const QString &line : lines) {
        file.write(line.toUtf8());
        file.write("\r\n");
    }
    if (!file.commit())
        RaiseWriteError(fileName);
}

bool TIniFile::ParseInteger(const QString &text, int &value)
{
    const QString t = text.trimmed();
    bool ok = false;
    int v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toInt(&ok, 16);
    else
        v = t.toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

TIniFile::TLocation TIniFile::Locate(const QStringList &lines, const QString &section, const QString &key)
{
    TLocation loc;
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        if (IsHeader(t)) {
            if (loc.header >= 0)
                break;
            if (SameName(HeaderName(t), section))
                loc.header = loc.end = i;
            continue;
        }
        if (loc.header < 0 || t.isEmpty())
            continue;
        loc.end = i;
        QString k, v;
        if (loc.key < 0 && !key.isEmpty() && SplitKeyLine(t, k, v) && SameName(k, key))
            loc.key = i;
    }
    if (loc.end >= 0)
        ++loc.end;
    return loc;
}

bool TIniFile::FindValue(const QStringList &lines, const QString &section, const QString &key, QString &value)
{
    const TLocation loc = Locate(lines, section, key);
    if (loc.key < 0)
        return false;
    QString k;
    SplitKeyLine(lines[loc.key].trimmed(), k, value);
    value.truncate(MaxValueLength);
    return true;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QString value;
    return FindValue(LoadLines(FName), section, key, value) ? value : def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int value = def;
    QString text;
    if (FindValue(LoadLines(FName), section, key, text) && ParseInteger(text, value))
        return value;
    return def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return Locate(LoadLines(FName), section, key).key >= 0;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return Locate(LoadLines(FName), section, QString()).header >= 0;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    const QStringList lines = LoadLines(FName);
    const TLocation loc = Locate(lines, section, QString());
    QStringList keys;
    for (int i = loc.header + 1; loc.header >= 0 && i < loc.end; ++i) {
        QString k, v;
        if (SplitKeyLine(lines[i].trimmed(), k, v))
            keys << k;
    }
    return keys;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines = LoadLines(FName);
    const TLocation loc = Locate(lines, section, key);
    const QString line = key.trimmed() + '=' + OneLine(value);
    if (loc.key >= 0)
        lines[loc.key] = line;
    else if (loc.header >= 0)
        lines.insert(loc.end, line);
    else
        lines << '[' + section.trimmed() + ']' << line;
    SaveLines(FName, lines);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString &section)
{
    QStringList lines = LoadLines(FName);
    const TLocation loc = Locate(lines, section, QString());
    if (loc.header < 0)
        return;
    int last = loc.header + 1;
    while (last < lines.size() && !IsHeader(lines[last].trimmed()))
        ++last;
    lines.erase(lines.begin() + loc.header, lines.begin() + last);
    SaveLines(FName, lines);
}
