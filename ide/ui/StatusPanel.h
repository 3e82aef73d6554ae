#pragma once

#include <QLabel>

// One panel of the status bar. A panel may shorten its text with an ellipsis
// when the text does not fit; Text() always returns the whole text.
class TStatusPanel : public QLabel {
    Q_OBJECT

public:
    TStatusPanel(int width, bool elide, QWidget *parent = nullptr);

    void SetText(const QString &text);
    QString Text() const
    {
        return FText;
    }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ShowText();

    QString FText;
    bool FElide;
};
