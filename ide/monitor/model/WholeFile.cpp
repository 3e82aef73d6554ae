#include "WholeFile.h"

#include "Errors.h"

#include <QSaveFile>

void WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EKorvidError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}
