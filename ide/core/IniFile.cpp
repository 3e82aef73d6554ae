#include "IniFile.h"

#include "Errors.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsHeader(const QString &trimmed)
{
    return trimmed.startsWith('[') && trimmed.contains(']');
}

QString HeaderName(const QString &trimmed)
{
    return trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed();
}

// Section and key names as looked up: without regard to case.
QString Folded(const QString &name)
{
    return name.trimmed().toCaseFolded();
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

QString Reason(int code)
{
    const QString text = SystemErrorText(code);
    return text.isEmpty() ? QStringLiteral("system error %1").arg(code) : text;
}

// What tells one version of a file from another: a write through a temporary
// file gives a new file, a write in place a new size or time.
struct TFileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const TFileStamp &o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
            modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
            changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

TFileStamp StampOf(const QString &fileName)
{
    struct stat info;
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Reads an open file: only a regular file, and only up to the size limit.
QString ReadOpenFile(int fd, QByteArray &bytes)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return Reason(errno);
    if (S_ISDIR(info.st_mode))
        return Reason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("Not a regular file");
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Reason(errno);
        if (n == 0)
            return {};
        if (bytes.size() + n > TIniFile::MaxFileSize)
            return Reason(EFBIG);
        bytes.append(buffer, n);
    }
}

// The file's bytes; empty for a missing file. Returns why a file that exists
// cannot be read, or an empty text. A FIFO in the file's place does not block.
QString ReadBytes(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? QString() : Reason(errno);
    const QString error = ReadOpenFile(fd, bytes);
    ::close(fd);
    return error;
}

} // namespace

// The file as read: its lines, and where each section and key is.
struct TIniFile::TContent {
    struct TSection {
        int header = -1; // line of the section header
        int end = -1; // line after the section's last key line
        QHash<QString, int> keys; // first line of each key
    };

    QStringList lines;
    QList<TSection> sections; // the first section of each name
    QHash<QString, int> sectionByName;
    QString readError; // why a file that exists cannot be read
    TFileStamp stamp;

    TContent(const QStringList &fileLines, const TFileStamp &fileStamp)
        : lines(fileLines)
        , stamp(fileStamp)
    {
        BuildIndex();
    }

    // A later section of a name already seen is not looked at, nor are the
    // later of two equal keys.
    void BuildIndex()
    {
        int current = -1;
        for (int i = 0; i < lines.size(); ++i) {
            const QString t = lines[i].trimmed();
            if (IsHeader(t)) {
                current = StartSection(Folded(HeaderName(t)), i);
                continue;
            }
            if (current < 0 || t.isEmpty())
                continue;
            sections[current].end = i + 1;
            QString key, value;
            if (SplitKeyLine(t, key, value))
                sections[current].keys.insert(Folded(key), sections[current].keys.value(Folded(key), i));
        }
    }

    int StartSection(const QString &name, int line)
    {
        if (sectionByName.contains(name))
            return -1;
        sections.append({line, line + 1, {}});
        sectionByName.insert(name, int(sections.size() - 1));
        return int(sections.size() - 1);
    }

    const TSection *Find(const QString &section) const
    {
        const int at = sectionByName.value(Folded(section), -1);
        return at < 0 ? nullptr : &sections[at];
    }

    int KeyLine(const QString &section, const QString &key) const
    {
        const TSection *s = Find(section);
        return s ? s->keys.value(Folded(key), -1) : -1;
    }

    bool Value(const QString &section, const QString &key, QString &value) const
    {
        const int line = KeyLine(section, key);
        QString k;
        if (line < 0 || !SplitKeyLine(lines[line].trimmed(), k, value))
            return false;
        value.truncate(MaxValueLength);
        return true;
    }
};

TIniFile::TIniFile(const QString &fileName)
    : m_fileName(fileName)
{
}

TIniFile::~TIniFile() = default;

const TIniFile::TContent &TIniFile::Content() const
{
    if (m_held)
        return *m_content; // newer than the file until SaveHeld
    const TFileStamp stamp = StampOf(m_fileName);
    if (!m_content || !(m_content->stamp == stamp)) {
        QByteArray bytes;
        const QString error = ReadBytes(m_fileName, bytes);
        auto content =
            std::make_shared<TContent>(error.isEmpty() ? SplitLines(DecodeText(bytes)) : QStringList(), stamp);
        content->readError = error;
        m_content = content;
    }
    return *m_content;
}

const TIniFile::TContent &TIniFile::WritableContent() const
{
    const TContent &content = Content();
    if (!content.readError.isEmpty())
        RaiseWriteError(m_fileName); // what it holds is unknown: never write over it
    return content;
}

void TIniFile::Save(const QStringList &lines)
{
    if (m_holding) {
        m_content = std::make_shared<TContent>(lines, m_content->stamp);
        m_held = true;
        return;
    }
    SaveLines(m_fileName, lines);
    m_content = std::make_shared<TContent>(lines, StampOf(m_fileName));
}

void TIniFile::HoldSaves()
{
    m_holding = true;
}

void TIniFile::SaveHeld()
{
    m_holding = false;
    if (!m_held)
        return;
    m_held = false;
    Save(m_content->lines);
}

bool TIniFile::LoadLines(const QString &fileName, QStringList &lines, QString &error)
{
    QByteArray bytes;
    error = ReadBytes(fileName, bytes);
    lines = error.isEmpty() ? SplitLines(DecodeText(bytes)) : QStringList();
    return error.isEmpty();
}

QStringList TIniFile::LoadLines(const QString &fileName)
{
    QStringList lines;
    QString error;
    LoadLines(fileName, lines, error);
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

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QString value;
    return Content().Value(section, key, value) ? value : def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    int value = def;
    QString text;
    if (Content().Value(section, key, text) && ParseInteger(text, value))
        return value;
    return def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return Content().KeyLine(section, key) >= 0;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return Content().Find(section) != nullptr;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    const TContent &content = Content();
    const TContent::TSection *s = content.Find(section);
    QStringList keys;
    for (int i = s ? s->header + 1 : 0; s && i < s->end; ++i) {
        QString k, v;
        if (SplitKeyLine(content.lines[i].trimmed(), k, v))
            keys << k;
    }
    return keys;
}

bool TIniFile::Unreadable() const
{
    return !Content().readError.isEmpty();
}

QString TIniFile::ReadError() const
{
    return Content().readError;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const TContent &content = WritableContent();
    QStringList lines = content.lines;
    const TContent::TSection *s = content.Find(section);
    const int at = content.KeyLine(section, key);
    const QString line = key.trimmed() + '=' + OneLine(value);
    QString stored;
    if (at >= 0 && content.Value(section, key, stored) && stored == OneLine(value))
        return; // the file already says so
    if (at >= 0)
        lines[at] = line;
    else if (s)
        lines.insert(s->end, line);
    else
        lines << '[' + section.trimmed() + ']' << line;
    Save(lines);
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
    const TContent &content = WritableContent();
    const TContent::TSection *s = content.Find(section);
    if (!s)
        return;
    QStringList lines = content.lines;
    int last = s->header + 1;
    while (last < lines.size() && !IsHeader(lines[last].trimmed()))
        ++last;
    lines.erase(lines.begin() + s->header, lines.begin() + last);
    Save(lines);
}
