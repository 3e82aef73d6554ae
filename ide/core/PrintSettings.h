#pragma once

#include <QString>

// What one print of an editor's text looks like.
struct TPrintJobSettings {
    QString DocumentTitle; // name of the job in the print queue
    QString Title = QStringLiteral("Velmo");
    bool Colors = true; // colours and highlighting, else black text
    bool LineNumbers = false;
    bool SelectedOnly = false;
    QString HeaderLeft = QStringLiteral("$Title$");
    QString HeaderRight = QStringLiteral("$Date$");
    QString FooterLeft;
    QString FooterRight = QStringLiteral("$PAGENUM$/$PAGECOUNT$");
    QString FontName = QStringLiteral("Courier New");
    int FontSize = 10; // points
};

// The settings for printing the editor titled `title` holding `fileName`.
TPrintJobSettings MakePrintJobSettings(const QString &title, const QString &fileName, bool colors, bool lineNumbers,
                                       bool selectedOnly);

// Values of the header and footer fields on one page.
struct TPrintFieldValues {
    QString Title;
    QString Date;
    int PageNumber = 0;
    int PageCount = 0;
};

// Replaces "$Title$", "$Date$", "$PAGENUM$" and "$PAGECOUNT$" (in any letter
// case) in a header or footer text; other text stays as it is.
QString ExpandPrintFields(const QString &text, const TPrintFieldValues &values);
