#pragma once

#include <QByteArray>
#include <QString>

// Writes a file the user keeps through a temporary file beside it that
// replaces the file only once it is complete. A failure (a folder that cannot
// be written, a full disk) leaves the old file as it was and no partial file,
// and throws EKorvidError naming the file.
void WriteWholeFile(const QString &fileName, const QByteArray &bytes);
