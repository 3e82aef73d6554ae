#include "MsgDlg.h"

#include "DialogHooks.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kBandHeight = 41;
constexpr int kIconSize = 40;
constexpr int kMessageHeight = 36;

struct TKindInfo {
    const char *caption;
    QStyle::StandardPixmap icon;
};

const TKindInfo kKinds[] = {
    {"Warning", QStyle::SP_MessageBoxWarning},         {"Error", QStyle::SP_MessageBoxCritical},
    {"Information", QStyle::SP_MessageBoxInformation}, {"Confirmation", QStyle::SP_MessageBoxQuestion},
    {"Custom", QStyle::SP_MessageBoxQuestion},
};

int ClampKind(int kind)
{
    return kind < mkWarning || kind > mkCustom ? mkInformation : kind;
}

QPixmap KindIcon(int kind)
{
    return QApplication::style()->standardIcon(kKinds[kind].icon).pixmap(kIconSize, kIconSize);
}

} // namespace

TMessageDlg::TMessageDlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("MessageDlg");
    setFixedSize(DesignWidth, DesignHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    Image = new QLabel(this);
    Image->setObjectName("Image");
    Image->setGeometry(16, 16, kIconSize, kIconSize);

    MsgLabel = new QLabel(this);
    MsgLabel->setObjectName("MsgLabel");
    MsgLabel->setGeometry(72, 14, DesignWidth - 72 - 12, kMessageHeight);
    MsgLabel->setWordWrap(true);
    MsgLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = MsgLabel->font();
    bold.setBold(true);
    MsgLabel->setFont(bold);

    HelpLabel = new QLabel(this);
    HelpLabel->setObjectName("HelpLabel");
    HelpLabel->setGeometry(72, 52, DesignWidth - 72 - 12, DesignHeight - kBandHeight - 52 - 4);
    HelpLabel->setWordWrap(true);
    HelpLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, DesignHeight - kBandHeight - 1, DesignWidth, 2);

    auto *band = new QWidget(this);
    band->setObjectName("ButtonBand");
    band->setGeometry(0, DesignHeight - kBandHeight + 1, DesignWidth, kBandHeight - 1);
    band->setAutoFillBackground(true);
    band->setBackgroundRole(QPalette::Window);
    CreateButtons(band);
}

void TMessageDlg::CreateButtons(QWidget *band)
{
    const struct {
        QPushButton **button;
        const char *name;
        const char *caption;
        int result;
    } buttons[] = {
        {&Btn1, "Btn1", "Yes", mrYes},
        {&Btn2, "Btn2", "No", mrNo},
        {&Btn3, "Btn3", "Cancel", mrCancel},
    };
    const int top = (kBandHeight - 1 - kButtonHeight) / 2;
    const int designLeft[] = {74, 160, 248};
    int index = 0;
    for (const auto &b : buttons) {
        QPushButton *button = new QPushButton(tr(b.caption), band);
        button->setObjectName(b.name);
        button->setGeometry(designLeft[index++], top, kButtonWidth, kButtonHeight);
        button->setProperty("result", b.result);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, button] { done(button->property("result").toInt()); });
        *b.button = button;
    }
    Btn1->setDefault(true);
}

QString TMessageDlg::KindCaption(TMsgKind kind)
{
    return QString::fromLatin1(kKinds[ClampKind(kind)].caption);
}

void TMessageDlg::Prepare(TMsgKind kind, const QString &message, const QString &help, bool withCancel)
{
    const int k = ClampKind(kind);
    setWindowTitle(KindCaption(TMsgKind(k)));
    Image->setPixmap(KindIcon(k));
    MsgLabel->setText(message);
    HelpLabel->setText(help);
    PlaceTexts();
    if (k <= mkInformation)
        ShowOk();
    else
        ShowYesNo(withCancel);
}

// A long message takes more lines and pushes the help text down, so neither
// is cut off in the fixed-size dialog.
void TMessageDlg::PlaceTexts()
{
    const QRect design = MsgLabel->geometry();
    const int bottom = DesignHeight - kBandHeight - 4;
    const int height = std::clamp(MsgLabel->heightForWidth(design.width()), kMessageHeight, bottom - design.top());
    MsgLabel->setGeometry(design.left(), design.top(), design.width(), height);
    const int helpTop = design.top() + height + 2;
    HelpLabel->setGeometry(design.left(), helpTop, design.width(), std::max(0, bottom - helpTop));
}

void TMessageDlg::ShowOk()
{
    Btn1->setText(tr("OK"));
    Btn1->setProperty("result", int(mrOk));
    Btn1->move(DesignWidth / 2 - Btn1->width() / 2, Btn1->y());
    Btn1->show();
}

void TMessageDlg::ShowYesNo(bool withCancel)
{
    if (!withCancel) {
        const int middle = DesignWidth / 2;
        Btn1->move(middle - 5 - Btn1->width(), Btn1->y());
        Btn2->move(middle + 5, Btn2->y());
    }
    Btn1->show();
    Btn2->show();
    Btn3->setVisible(withCancel);
}

int ShowMessageDlg(int kind, const QString &message, const QString &help, bool withCancel)
{
    if (const auto &hook = DialogHooks().messageDlg)
        return hook(kind, message, help, withCancel);
    TMessageDlg dlg(QApplication::activeWindow());
    dlg.Prepare(TMsgKind(kind), message, help, withCancel);
    if (QScreen *screen = QApplication::primaryScreen())
        dlg.move(screen->availableGeometry().center() - dlg.rect().center());
    const int result = dlg.exec();
    return result == QDialog::Rejected ? int(mrCancel) : result;
}
