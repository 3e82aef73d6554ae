#include "Update.h"

#include "Globals.h"
#include "MsgDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const QColor kMarginColor(252, 252, 245);
const QColor kHeaderColor(120, 120, 120);
const QColor kSelectedColor(120, 120, 120);
const QColor kWarningColor(250, 250, 245);
const QColor kWarningBorder(128, 0, 0); // maroon
constexpr int kMarginWidth = 48;
constexpr int kVisibleRows = 5;
constexpr int kTextInset = 2;
const QStringList kPageCaptions = {QStringLiteral("Platform..."), QStringLiteral("Download...")};

QWidget *ColouredStrip(QWidget *parent, const char *name, const QColor &colour)
{
    auto *strip = new QWidget(parent);
    strip->setObjectName(name);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, colour);
    strip->setPalette(palette);
    return strip;
}

// The rows of PlatformBox: "Wg" high plus 2, platform and version in their
// columns, white on grey when selected.
class TPlatformDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width(), option.fontMetrics.boundingRect(QStringLiteral("Wg")).height() + 2);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? kSelectedColor : option.palette.color(QPalette::Base));
        painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        const QStringList columns = TMcuUpdate::PlatformColumns(index.data().toString());
        for (int i = 0; i < columns.size(); ++i) {
            const QRect cell = option.rect.adjusted(kTextInset + i * TMcuUpdate::kVersionColumn, 0, 0, 0);
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, columns[i]);
        }
    }
};

// PlatformBox itself shows the selected image in the same two columns.
class TPlatformBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        painter.setPen(palette().color(QPalette::Text));
        const QStringList columns = TMcuUpdate::PlatformColumns(currentText());
        for (int i = 0; i < columns.size(); ++i)
            painter.drawText(field.adjusted(kTextInset + i * TMcuUpdate::kVersionColumn, 0, 0, 0),
                             Qt::AlignLeft | Qt::AlignVCenter, columns[i]);
    }
};

} // namespace

TMcuUpdate::TMcuUpdate(QWidget *parent)
    : TMcuTransferDlg(parent)
{
    setObjectName("UpdateDlg");
    setWindowTitle(tr("Update..."));
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(CreateMargin());
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 8, 8);
    column->addWidget(CreateHeader());
    Pages = new QStackedWidget(this);
    Pages->setObjectName("Pages");
    Pages->addWidget(CreatePlatformPage());
    Pages->addWidget(CreateDownloadPage());
    auto *pageBox = new QVBoxLayout;
    pageBox->setContentsMargins(8, 0, 0, 0);
    pageBox->addWidget(Pages);
    column->addLayout(pageBox, 1);
    column->addLayout(CreateButtons());
    outer->addLayout(column, 1);
}

QWidget *TMcuUpdate::CreateMargin()
{
    QWidget *margin = ColouredStrip(this, "Margin", kMarginColor);
    margin->setFixedWidth(kMarginWidth);
    return margin;
}

QWidget *TMcuUpdate::CreateHeader()
{
    QWidget *header = ColouredStrip(this, "Header", kHeaderColor);
    auto *layout = new QHBoxLayout(header);
    HeaderLabel = new QLabel(header);
    HeaderLabel->setObjectName("HeaderLabel");
    QFont bold = HeaderLabel->font();
    bold.setBold(true);
    HeaderLabel->setFont(bold);
    QPalette palette = HeaderLabel->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    HeaderLabel->setPalette(palette);
    layout->addWidget(HeaderLabel);
    return header;
}

QWidget *TMcuUpdate::CreatePlatformPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    PlatformBox = new TPlatformBox(page);
    PlatformBox->setObjectName("PlatformBox");
    PlatformBox->setMaxVisibleItems(kVisibleRows);
    PlatformBox->setItemDelegate(new TPlatformDelegate(PlatformBox));
    PlatformBox->setMinimumWidth(kVersionColumn + 120);
    layout->addWidget(PlatformBox);
    NoImagesLabel = new QLabel(page);
    NoImagesLabel->setObjectName("NoImagesLabel");
    NoImagesLabel->setWordWrap(true);
    NoImagesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    NoImagesLabel->hide();
    layout->addWidget(NoImagesLabel);
    layout->addStretch(1);
    connect(PlatformBox, &QComboBox::currentIndexChanged, this, &TMcuUpdate::PlatformBoxChange);
    return page;
}

QWidget *TMcuUpdate::CreateDownloadPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    WarningFrame = new QFrame(page);
    WarningFrame->setObjectName("WarningFrame");
    WarningFrame->setStyleSheet(QStringLiteral("#WarningFrame { background-color: %1; border: 1px solid %2; }")
                                    .arg(kWarningColor.name(), kWarningBorder.name()));
    auto *frameLayout = new QVBoxLayout(WarningFrame);
    auto *warning =
        new QLabel(tr("Do not power down or reset the controller until the update download is successfully finished."),
                   WarningFrame);
    warning->setWordWrap(true);
    frameLayout->addWidget(warning);
    layout->addWidget(WarningFrame);
    layout->addWidget(ProgressLabel);
    layout->addWidget(ProgressBar);
    layout->addStretch(1);
    return page;
}

QLayout *TMcuUpdate::CreateButtons()
{
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 0, 0);
    BackBtn = new QPushButton(tr("< Back"), this);
    BackBtn->setObjectName("BackBtn");
    NextBtn = new QPushButton(tr("Next >"), this);
    NextBtn->setObjectName("NextBtn");
    buttons->addStretch(1);
    for (QPushButton *button : {BackBtn, NextBtn, DownloadBtn, CancelBtn}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(BackBtn, &QPushButton::clicked, this, &TMcuUpdate::BackBtnClick);
    connect(NextBtn, &QPushButton::clicked, this, &TMcuUpdate::NextBtnClick);
    connect(DownloadBtn, &QPushButton::clicked, this, &TMcuUpdate::DownloadBtnClick);
    return buttons;
}

QStringList TMcuUpdate::UpdateFiles(const QString &programDir)
{
    const QDir updates(QDir(programDir).filePath(QStringLiteral("Updates")));
    const QFileInfoList files = updates.entryInfoList({QStringLiteral("*.hex")}, QDir::Files, QDir::Unsorted);
    QStringList names;
    for (const QFileInfo &file : files)
        names << file.absoluteFilePath();
    return names;
}

QStringList TMcuUpdate::PlatformColumns(const QString &name)
{
    const int split = name.indexOf(QStringLiteral("_V"));
    if (split < 0)
        return {name};
    return {name.left(split), name.mid(split + 1, 4)};
}

void TMcuUpdate::showEvent(QShowEvent *event)
{
    TMcuTransferDlg::showEvent(event);
    if (Running())
        return;
    ShowPage(0);
    FillPlatformBox();
    NextBtn->setEnabled(PlatformBox->count() > 0);
    BackBtn->setEnabled(false);
    DownloadBtn->setEnabled(false);
}

void TMcuUpdate::FillPlatformBox()
{
    PlatformBox->blockSignals(true);
    PlatformBox->clear();
    for (const QString &file : UpdateFiles(ProgramDir)) {
        const QFileInfo info(file);
        // The name without its extension; the entry keeps the file it stands for.
        PlatformBox->addItem(info.fileName().chopped(info.suffix().size() + 1), file);
    }
    PlatformBox->setCurrentIndex(PlatformBox->count() > 0 ? 0 : -1);
    PlatformBox->blockSignals(false);
    const QString folder = QDir::toNativeSeparators(QDir(ProgramDir).absoluteFilePath(QStringLiteral("Updates")));
    NoImagesLabel->setText(tr("No firmware images found. The wizard looks for the update images (*.hex) in the "
                              "folder %1.")
                               .arg(folder));
    NoImagesLabel->setVisible(PlatformBox->count() == 0);
}

void TMcuUpdate::PlatformBoxChange()
{
    NextBtn->setEnabled(!PlatformBox->currentText().isEmpty());
}

void TMcuUpdate::ShowPage(int index)
{
    Pages->setCurrentIndex(index);
    HeaderLabel->setText(kPageCaptions.value(index));
    const bool last = index == Pages->count() - 1;
    BackBtn->setEnabled(index > 0);
    NextBtn->setEnabled(!last);
    DownloadBtn->setEnabled(last && State() == tsIdle);
}

void TMcuUpdate::TransferStateChanged()
{
    if (State() == tsRunning)
        m_stopAsked = false;
    if (State() == tsDone && m_stopAsked)
        ShowMessageDlg(mkWarning, tr("The update was stopped."),
                       tr("The module may have no working firmware now. Run the update again before using it."), false);
    if (State() == tsIdle) {
        ShowPage(Pages->currentIndex());
    } else {
        BackBtn->setEnabled(false);
        NextBtn->setEnabled(false);
    }
}

void TMcuUpdate::reject()
{
    if (Running()) {
        const int answer = ShowMessageDlg(
            mkConfirmation, tr("Stop the update?"),
            tr("A module whose update stops may be left without a working firmware until the update is run again."),
            false);
        if (answer != mrYes || !Running())
            return;
        m_stopAsked = true;
    }
    TMcuTransferDlg::reject();
}

void TMcuUpdate::BackBtnClick()
{
    if (Pages->currentIndex() > 0)
        ShowPage(Pages->currentIndex() - 1);
}

void TMcuUpdate::NextBtnClick()
{
    if (Pages->currentIndex() < Pages->count() - 1)
        ShowPage(Pages->currentIndex() + 1);
}

void TMcuUpdate::DownloadBtnClick()
{
    if (Running())
        return;
    const QString file = PlatformBox->currentData().toString();
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        ShowMessageDlg(mkWarning, tr("Can't find the selected file!"),
                       tr("Please check Your installation - perhaps the update folder is not complete."), false);
        return;
    }
    StartTransfer(file);
}
