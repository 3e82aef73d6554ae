#pragma once

#include "LineStyle.h"
#include "OutputLine.h"

#include <QListWidget>
#include <QStringList>

#include <functional>

// Output list whose lines are drawn by the program: the Build list and, as
// TFindListBox, the Find list. A line that holds a file name, "(", a line
// number and "):" opens that file at that line on double-click or Enter.
class TColorListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TColorListBox(QWidget *parent = nullptr);

    // Sender, file name, line number.
    std::function<void(TColorListBox *, const QString &, int)> OnJumpToLine;
    // Shows an error message; without it a message box of the list's own.
    std::function<void(const QString &)> OnError;

    void AddLine(const QString &line);
    void SetLines(const QStringList &lines);
    QStringList Lines() const;
    int ItemHeight() const;

    // The jump of a double-click or Enter on the selected line.
    void DblClick();

    // How a line is drawn; TFindListBox draws its lines differently.
    virtual TLineStyle StyleOf(const QString &line, bool selected) const;

signals:
    // The list's ordinary double-click, raised for a line without location.
    void DoubleClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

    virtual void DoJumpToLine(const QString &fileName, int line);
    // Shows the conversion error of a line number that is not an integer.
    virtual void DoConversionError(const QString &lineText);
};
