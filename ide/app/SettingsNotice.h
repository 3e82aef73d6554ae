#pragma once

class TIniFile;

// A settings or layout file that exists but cannot be read is never written:
// the workbench carries on with the defaults and tells the user once per
// file. Returns whether the file cannot be read.
bool NoticeUnreadable(const TIniFile &ini);
