#pragma once

#include <QCoreApplication>
#include <QDialog>

class QLabel;

// The About box: logo, product name, version, author and credits, terms of use.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int DesignWidth = 375;
    static constexpr int DesignHeight = 288;

    // programFile is the program whose version the box shows.
    explicit TAboutForm(QWidget *parent = nullptr,
                        const QString &programFile = QCoreApplication::applicationFilePath());

    QLabel *Label2; // "Version " and the program's version

private:
    QLabel *AddLabel(const QString &text, const QRect &geometry, bool bold);
    void CreateButtonBand();
};
