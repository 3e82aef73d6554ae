#include "About.h"

#include "FileVersion.h"
#include "Resources.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

const char kTerms[] = "This program is provided as is, without warranty of any kind. You may use it "
                      "to write, compile and download Velmo programs for your own modules. Programs "
                      "you write with it are yours.";

} // namespace

TAboutForm::TAboutForm(QWidget *parent, const QString &programFile)
    : QDialog(parent)
{
    InitResources();
    setObjectName("AboutForm");
    setWindowTitle(tr("About..."));
    setFixedSize(DesignWidth, DesignHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 253));
    setPalette(pal);
    setAutoFillBackground(true);

    auto *logo = new QLabel(this);
    logo->setObjectName("Logo");
    logo->setGeometry(8, 8, 204, 82);
    logo->setPixmap(QPixmap(":/korvid/logo.png"));

    AddLabel(tr("Velmo Editor"), QRect(220, 16, 150, 20), true);
    Label2 = AddLabel("Version " + GetFileVersion(programFile, true), QRect(220, 40, 150, 20), false);
    Label2->setObjectName("Label2");
    AddLabel(tr("Author:"), QRect(12, 100, 60, 18), true);
    AddLabel(tr("The Velmo development kit team"), QRect(80, 100, 280, 18), false);
    AddLabel(tr("Credits:"), QRect(12, 122, 60, 18), true);
    AddLabel(tr("Source editor component: QScintilla"), QRect(80, 122, 280, 18), false);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 148, DesignWidth - 16, 2);

    QLabel *terms = AddLabel(tr(kTerms), QRect(12, 156, DesignWidth - 24, 80), false);
    terms->setWordWrap(true);
    terms->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = terms->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    terms->setFont(small);
    CreateButtonBand();
}

QLabel *TAboutForm::AddLabel(const QString &text, const QRect &geometry, bool bold)
{
    auto *label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

void TAboutForm::CreateButtonBand()
{
    auto *band = new QWidget(this);
    band->setObjectName("ButtonBand");
    band->setGeometry(0, DesignHeight - 44, DesignWidth, 44);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    band->setPalette(pal);
    band->setAutoFillBackground(true);
    auto *close = new QPushButton(tr("Close"), band);
    close->setObjectName("CloseBtn");
    close->setGeometry(DesignWidth - 8 - 75, 10, 75, 25);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}
