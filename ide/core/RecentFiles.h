#pragma once

#include <QString>
#include <QStringList>

// The files opened most recently, most recent first. Names are kept as they
// were opened; two names that differ only in the case of ASCII letters count
// as the same file, and the later spelling wins.
class TRecentFiles {
public:
    static constexpr int MaxCount = 5;

    void AddFile(const QString &name);
    void RemoveFile(const QString &name);
    QString FileAt(int index) const;
    int Count() const
    {
        return int(m_files.size());
    }
    const QStringList &Files() const
    {
        return m_files;
    }

private:
    QStringList m_files;
};

// True when both names are equal with the ASCII letters compared without
// regard to case (other characters must match exactly).
bool SameNameIgnoringAsciiCase(const QString &a, const QString &b);

// Caption of the recent-files menu entry at index: "&<index> <name>", with
// any "&" in the name doubled so that it shows as written.
QString RecentEntryCaption(int index, const QString &name);

// A path short enough for a panel caption: paths of up to 22 characters
// stay as they are; longer ones keep the trailing folders that fit in the
// last 23 characters behind "/...": "/.../velmo/examples/blink/".
QString ShortenPath(const QString &path);
