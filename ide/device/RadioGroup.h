#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons, one per choice, with the index of the
// checked one. Clicked is raised only by the user's clicks.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString &name, const QString &caption, const QStringList &items, int columns,
                QWidget *parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    QString Text() const; // caption of the checked choice, empty when none
    int Count() const;
    // Clicks the choice as the user would.
    void Click(int index);

signals:
    void Clicked();

private:
    QButtonGroup *m_group;
};
