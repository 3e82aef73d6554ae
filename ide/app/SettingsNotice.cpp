#include "SettingsNotice.h"

#include "ErrorReporter.h"
#include "IniFile.h"
#include "Settings.h"

#include <QSet>

bool NoticeUnreadable(const TIniFile &ini)
{
    static QSet<QString> told;
    if (!ini.Unreadable())
        return false;
    if (!told.contains(ini.FileName())) {
        told.insert(ini.FileName());
        ShowErrorMessage(Settings::UnreadableMessage(ini.FileName(), ini.ReadError()));
    }
    return true;
}
