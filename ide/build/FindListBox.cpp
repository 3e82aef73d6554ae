#include "FindListBox.h"

TFindListBox::TFindListBox(QWidget *parent)
    : TColorListBox(parent)
{
}

TLineStyle TFindListBox::StyleOf(const QString &line, bool selected) const
{
    return FindLineStyle(line, selected);
}
