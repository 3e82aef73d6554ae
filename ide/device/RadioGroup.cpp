#include "RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString &name, const QString &caption, const QStringList &items, int columns,
                         QWidget *parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    setObjectName(name);
    auto *layout = new QGridLayout(this);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(name + QString::number(i));
        m_group->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index))
        button->setChecked(true);
}

QString TRadioGroup::Text() const
{
    QAbstractButton *button = m_group->checkedButton();
    return button ? button->text() : QString();
}

int TRadioGroup::Count() const
{
    return int(m_group->buttons().size());
}

void TRadioGroup::Click(int index)
{
    if (QAbstractButton *button = m_group->button(index))
        button->click();
}
