#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// One INI-style profile file, opened by name for every operation.
//
// Section and key names match without regard to case; a missing file,
// section or key yields the caller's default. Values are plain text, at most
// 2047 characters of a value are seen. Numbers are read in decimal or, with a
// leading "0x", in hexadecimal; booleans are integers, non-zero meaning true.
// Every write reaches the file at once: the whole file is written to a
// temporary file that then replaces it, so the file is never left
// half-written. A refused write raises EKorvidError "Unable to write to <file>".
//
// The file is read and parsed once and then looked up by section and key; it
// is read again only when it changed on disk. A file that exists but cannot
// be read (no permission, a folder, a read error, larger than any settings
// file) reads as empty and is never written: a write to it is refused.
class TIniFile {
public:
    static constexpr int MaxValueLength = 2047;
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit TIniFile(const QString &fileName);
    ~TIniFile();

    const QString &FileName() const
    {
        return m_fileName;
    }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    bool ValueExists(const QString &section, const QString &key) const;
    bool SectionExists(const QString &section) const;
    QStringList ReadSection(const QString &section) const;

    // Whether the file exists but cannot be read, and the system's reason.
    bool Unreadable() const;
    QString ReadError() const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void EraseSection(const QString &section);

    // Writes made from HoldSaves() on change what this object reads, but
    // reach the file only at SaveHeld(), in one save: for the many keys a
    // window writes together at its end, which would otherwise each replace
    // the whole file. SaveHeld raises like a write; held writes that it
    // never saves are lost, so every HoldSaves needs its SaveHeld.
    void HoldSaves();
    void SaveHeld();

    // Reads a text file as lines (any line end). A missing file gives no
    // lines; a file that exists but cannot be read gives false and the
    // system's reason in error.
    static bool LoadLines(const QString &fileName, QStringList &lines, QString &error);
    // The same, an unreadable file giving no lines.
    static QStringList LoadLines(const QString &fileName);
    // Writes lines each ended by CR LF through a temporary file; raises
    // "Unable to write to <file>" when refused.
    static void SaveLines(const QString &fileName, const QStringList &lines);

    // Parses an integer value: decimal, or hexadecimal after "0x"/"0X".
    static bool ParseInteger(const QString &text, int &value);

    struct TContent;

private:
    const TContent &Content() const;
    const TContent &WritableContent() const;
    void Save(const QStringList &lines);

    QString m_fileName;
    mutable std::shared_ptr<const TContent> m_content;
    bool m_holding = false;
    bool m_held = false; // a held write waits for SaveHeld
};
