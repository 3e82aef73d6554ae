#pragma once

#include <QSet>
#include <QString>

class TIniFile;

// A settings or layout file that exists but cannot be read is never written:
// the workbench carries on with the defaults and tells the user once per
// file.
class TSettingsNotice {
public:
    // Whether the file cannot be read; the first time for its name, the user
    // is told.
    bool Unreadable(const TIniFile &ini);

private:
    QSet<QString> m_told;
};
