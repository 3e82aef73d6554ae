#include "SettingsNotice.h"

#include "ErrorReporter.h"
#include "IniFile.h"
#include "Settings.h"

bool TSettingsNotice::Unreadable(const TIniFile &ini)
{
    if (!ini.Unreadable())
        return false;
    if (!m_told.contains(ini.FileName())) {
        m_told.insert(ini.FileName());
        ShowErrorMessage(Settings::UnreadableMessage(ini.FileName(), ini.ReadError()));
    }
    return true;
}
