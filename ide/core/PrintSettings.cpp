#include "PrintSettings.h"

#include <QList>

TPrintJobSettings MakePrintJobSettings(const QString &title, const QString &fileName, bool colors, bool lineNumbers,
                                       bool selectedOnly)
{
    TPrintJobSettings settings;
    settings.DocumentTitle = title;
    settings.Colors = colors;
    settings.LineNumbers = lineNumbers;
    settings.SelectedOnly = selectedOnly;
    settings.FooterLeft = fileName.toLower();
    return settings;
}

QString ExpandPrintFields(const QString &text, const TPrintFieldValues &values)
{
    const QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("$title$"), values.Title},
        {QStringLiteral("$date$"), values.Date},
        {QStringLiteral("$pagenum$"), QString::number(values.PageNumber)},
        {QStringLiteral("$pagecount$"), QString::number(values.PageCount)},
    };
    QString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        bool replaced = false;
        for (const auto &[field, value] : fields) {
            if (QStringView(text).mid(pos).startsWith(field, Qt::CaseInsensitive)) {
                result += value;
                pos += field.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            result += text[pos++];
    }
    return result;
}
