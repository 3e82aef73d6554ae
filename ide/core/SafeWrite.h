// Writing a file the user owns so that a failed write never costs its old
// contents.
#pragma once

#include <QByteArray>
#include <QString>

// Replaces the contents of fileName (or creates it) with bytes.
//
// The bytes go to a temporary file beside the file, are flushed to the disk
// and renamed over it, so the file holds the old or the new contents, never a
// mix or nothing. Where no file can be made beside it (a folder the user may
// not write in, while the file itself is writable), a copy of the old contents
// is first kept in the user's runtime or temporary folder and read back to
// verify it; then the file is written in place, and when that fails the old
// contents are put back from the copy. When not even the copy can be made the
// save is refused. A file that is a link is written through the link.
//
// Every failure raises EKorvidError with a message that names the file and
// the system's reason (permission, disk full) and says what became of the
// file.
void WriteFileSafely(const QString &fileName, const QByteArray &bytes);
