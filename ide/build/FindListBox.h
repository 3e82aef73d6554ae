#pragma once

#include "ColorListBox.h"

// The Find list: results of Find All. Result lines are drawn in black and
// indented, the scope lines and "completed." in dark blue; a double-click on a
// result opens its file at its line, as in the Build list.
class TFindListBox : public TColorListBox {
    Q_OBJECT
public:
    explicit TFindListBox(QWidget *parent = nullptr);

    TLineStyle StyleOf(const QString &line, bool selected) const override;
};
