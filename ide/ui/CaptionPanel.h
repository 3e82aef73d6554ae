#pragma once

#include <QFrame>

class QLabel;
class QToolButton;
class QVBoxLayout;

// A panel with a caption bar holding a close button; its contents are added
// with AddWidget.
class TCaptionPanel : public QFrame {
    Q_OBJECT

public:
    TCaptionPanel(const QString &name, const QString &caption, QWidget *parent = nullptr);

    void SetCaption(const QString &caption);
    QString Caption() const;
    void AddWidget(QWidget *widget, int stretch = 0);

    QToolButton *CloseButton() const
    {
        return FCloseButton;
    }

signals:
    void CloseClicked();

private:
    QLabel *FCaption;
    QToolButton *FCloseButton;
    QVBoxLayout *FLayout;
};
