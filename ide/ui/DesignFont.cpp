#include "DesignFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

struct TDesignFont {
    const char *family;
    bool fixedPitch;
    const char *standIns[8]; // ends at the first null
};

const TDesignFont kDesignFonts[] = {
    {"Arial",
     false,
     {"Liberation Sans", "Arimo", "Albany AMT", "Albany", "Nimbus Sans", "Nimbus Sans L", "TeX Gyre Heros",
      "Helvetica"}},
    {"Arial Black", false, {}},
    {"Courier New", true, {}},
};

const TDesignFont *DesignFontOf(const QString &family)
{
    for (const TDesignFont &entry : kDesignFonts)
        if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

// The installed family named `family`, as the font list names it.
QString Installed(const QString &family, const QStringList &installed)
{
    for (const QString &name : installed) {
        const qsizetype foundry = name.indexOf(QLatin1String(" ["));
        if (QStringView(name).left(foundry).compare(family, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

QString SystemFamily(bool fixedPitch)
{
    const QFont font = fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QApplication::font();
    return QFontInfo(font).family();
}

} // namespace

QString DesignFamily(const QString &family, const QStringList &installed)
{
    QString found = Installed(family, installed);
    const TDesignFont *entry = DesignFontOf(family);
    if (!entry)
        return found;
    for (const char *standIn : entry->standIns) {
        if (!found.isEmpty() || !standIn)
            break;
        found = Installed(QLatin1String(standIn), installed);
    }
    return found;
}

QFont DesignFont(const QString &family)
{
    const QString found = DesignFamily(family, QFontDatabase::families());
    if (!found.isEmpty())
        return QFont(found);
    const TDesignFont *entry = DesignFontOf(family);
    return QFont(SystemFamily(entry && entry->fixedPitch));
}
