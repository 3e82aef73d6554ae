#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A settings file "Korvid.ini" in a fresh temporary folder, written and read
// back byte for byte, for the tests of the settings and layout files.
class TIniFileFixture : public ::testing::Test {
protected:
    QString Path() const
    {
        return dir.filePath("Korvid.ini");
    }

    void WriteRaw(const QByteArray &bytes) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadRaw() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};
