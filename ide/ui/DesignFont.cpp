#include "DesignFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

const struct {
    const char *family;
    const char *standIns[8];
} kStandIns[] = {
    {"Arial",
     {"Liberation Sans", "Arimo", "Albany AMT", "Albany", "Nimbus Sans", "Nimbus Sans L", "TeX Gyre Heros",
      "Helvetica"}},
};

QStringList StandInsOf(const QString &family)
{
    QStringList standIns;
    for (const auto &entry : kStandIns)
        if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) == 0)
            for (const char *standIn : entry.standIns)
                if (standIn)
                    standIns << QLatin1String(standIn);
    return standIns;
}

// The installed family named `family`, as the font list names it: a family
// several foundries make is listed once per foundry, as "Family [foundry]".
QString Installed(const QString &family, const QStringList &installed)
{
    for (const QString &name : installed) {
        const qsizetype foundry = name.indexOf(QLatin1String(" ["));
        if (QStringView(name).left(foundry).compare(family, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

} // namespace

QString DesignFamily(const QString &family, const QStringList &installed, const QString &defaultFamily)
{
    QString found = Installed(family, installed);
    for (const QString &standIn : StandInsOf(family)) {
        if (!found.isEmpty())
            break;
        found = Installed(standIn, installed);
    }
    return found.isEmpty() ? defaultFamily : found;
}

QFont DesignFont(const QString &family)
{
    const QString defaultFamily = QFontInfo(QApplication::font()).family();
    return QFont(DesignFamily(family, QFontDatabase::families(), defaultFamily));
}
