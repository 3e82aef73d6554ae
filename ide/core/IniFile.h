#pragma once

#include <QString>
#include <QStringList>

// One INI-style profile file, opened by name for every operation.
//
// Section and key names match without regard to case; a missing file,
// section or key yields the caller's default. Values are plain text, at most
// 2047 characters of a value are seen. Numbers are read in decimal or, with a
// leading "0x", in hexadecimal; booleans are integers, non-zero meaning true.
// Every write reaches the file at once: the whole file is written to a
// temporary file that then replaces it, so the file is never left
// half-written. A refused write raises EKorvidError "Unable to write to <file>".
class TIniFile {
public:
    static constexpr int MaxValueLength = 2047;

    explicit TIniFile(const QString &fileName);

    const QString &FileName() const
    {
        return FName;
    }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    bool ValueExists(const QString &section, const QString &key) const;
    bool SectionExists(const QString &section) const;
    QStringList ReadSection(const QString &section) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);
    void EraseSection(const QString &section);

    // Reads a text file as lines (any line end); an unreadable or missing
    // file gives no lines.
    static QStringList LoadLines(const QString &fileName);
    // Writes lines each ended by CR LF through a temporary file; raises
    // "Unable to write to <file>" when refused.
    static void SaveLines(const QString &fileName, const QStringList &lines);

    // Parses an integer value: decimal, or hexadecimal after "0x"/"0X".
    static bool ParseInteger(const QString &text, int &value);

private:
    struct TLocation {
        int header = -1; // line of the section header, -1 when missing
        int end = -1; // line after the section's last key line
        int key = -1; // line of the key, -1 when missing
    };

    static TLocation Locate(const QStringList &lines, const QString &section, const QString &key);
    static bool FindValue(const QStringList &lines, const QString &section, const QString &key, QString &value);

    QString FName;
};
