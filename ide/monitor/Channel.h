#pragma once

#include "ScopeChannel.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The setup of one scope channel (caption " Setup"): whether it is shown,
// and whether its scale grows with the data or stays between the limits
// typed in. The header names the channel in the channel's colour.
class TMcuChannelSetup : public QDialog {
    Q_OBJECT

public:
    TMcuChannelSetup(int channel, TScopeRgb color, QWidget *parent = nullptr);

    // "Active", the scale mode, and the limits with two decimals.
    void Fill(const TMcuChannel &channel);
    // Takes the dialog over in the order Active, Min, Max, scale mode. A
    // limit that is not a number throws EKorvidError; what came before it has
    // been taken over then, it and what follows have not.
    void Apply(TMcuChannel &channel) const;

    // Sounds when a key the limit edits do not accept is pressed.
    std::function<void()> OnBeep;

    QWidget *HeaderPanel;
    QLabel *HeaderLabel;
    QCheckBox *ActiveCheck;
    QRadioButton *AutoScaleBtn;
    QRadioButton *MinMaxScaleBtn;
    QLineEdit *MinimumEdit;
    QLineEdit *MaximumEdit;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void UpdateEnabled();
};

// The number in a limit edit; throws EKorvidError for a text that is not a
// finite single-precision number.
float LimitValue(const QString &text);
