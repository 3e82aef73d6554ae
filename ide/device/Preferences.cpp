#include "Preferences.h"

#include "Errors.h"
#include "Globals.h"
#include "IniFile.h"
#include "MacroEdit.h"
#include "MsgDlg.h"
#include "RadioGroup.h"
#include "SerialDevices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor kHeaderColor(252, 252, 245);
const QColor kSelectedColor(120, 120, 120);

// How often the device list looks for adapters plugged in or out.
constexpr int kDeviceLookMs = 1000;

// The macro list's items: "Wg" high plus 2, text 2 pixels from the left,
// white on grey when selected, silver when disabled.
class TMacroItemDelegate : public QStyledItemDelegate {
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
        const bool enabled = option.state & QStyle::State_Enabled;
        painter->fillRect(option.rect, selected ? kSelectedColor : option.palette.color(QPalette::Base));
        painter->setPen(selected ? QColor(Qt::white) : enabled ? QColor(Qt::black) : QColor(192, 192, 192));
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
    }
};

} // namespace

TMcuPreferences::TMcuPreferences(TLinkSettings &settings, QWidget *parent)
    : QDialog(parent)
    , EditMacro(&TMcuMacroEdit::Execute)
    , m_settings(settings)
{
    setObjectName("Preferences");
    setWindowTitle(tr("Settings..."));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(CreateHeader());
    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    Pages->addTab(CreateInterfacePage(), tr("Interface"));
    Pages->addTab(CreateConsolePage(), tr("Console"));
    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(Pages);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkBtn = AddButton(this, "OkBtn", tr("OK"), &TMcuPreferences::OkBtnClick);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName("CancelBtn");
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    body->addLayout(buttons);
    layout->addLayout(body);

    LoadFromSettings(TIniFile(SettingsFileName()));
    StoreToRecords();
    m_settings.Port.Changed = false;
    m_settings.Terminal.Changed = false;
}

QPushButton *TMcuPreferences::AddButton(QWidget *parent, const char *name, const QString &caption,
                                        void (TMcuPreferences::*click)())
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, click);
    return button;
}

QWidget *TMcuPreferences::CreateHeader()
{
    m_header = new QWidget(this);
    m_header->setObjectName("Header");
    m_header->setAutoFillBackground(true);
    QPalette palette = m_header->palette();
    palette.setColor(QPalette::Window, kHeaderColor);
    m_header->setPalette(palette);
    auto *layout = new QHBoxLayout(m_header);
    auto *caption = new QLabel(tr("Serial communication settings..."), m_header);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    return m_header;
}

QWidget *TMcuPreferences::CreateInterfacePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QGridLayout(page);
    auto *note = new QLabel(tr("Settings for the serial interface to be used by the terminal. The DTR signal as well "
                               "as the RTS signal will be set logical high."),
                            page);
    note->setWordWrap(true);
    layout->addWidget(note, 0, 0, 1, 3);

    auto *portGroup = new QGroupBox(tr(" Serial Port "), page);
    auto *portLayout = new QVBoxLayout(portGroup);
    COMBox = new QComboBox(portGroup);
    COMBox->setObjectName("COMBox");
    COMBox->setEditable(true);
    COMBox->setInsertPolicy(QComboBox::NoInsert);
    COMBox->setMinimumContentsLength(20); // room for a device path
    COMBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    COMBox->setMaxVisibleItems(12);
    FillDevices(OfferedDevices());
    auto *deviceLook = new QTimer(this);
    deviceLook->setInterval(kDeviceLookMs);
    connect(deviceLook, &QTimer::timeout, this, &TMcuPreferences::RefreshDevices);
    deviceLook->start();
    portLayout->addWidget(COMBox);
    portLayout->addStretch(1);
    connect(COMBox, &QComboBox::activated, this, &TMcuPreferences::PortChanged);
    connect(COMBox->lineEdit(), &QLineEdit::textEdited, this, &TMcuPreferences::PortChanged);
    layout->addWidget(portGroup, 1, 0);

    BaudBox = new TRadioGroup("BaudBox", tr(" Baudrate "), Settings::BaudrateChoices, 2, page);
    layout->addWidget(BaudBox, 1, 1, 2, 1);
    ParityBox = new TRadioGroup("ParityBox", tr(" Parity "), Settings::ParityChoices, 1, page);
    layout->addWidget(ParityBox, 1, 2);
    ByteSizeBox = new TRadioGroup("ByteSizeBox", tr(" Databits "), Settings::DatabitsChoices, 2, page);
    layout->addWidget(ByteSizeBox, 2, 0);
    StopBitsBox = new TRadioGroup("StopBitsBox", tr(" Stopbits "), Settings::StopbitsChoices, 2, page);
    layout->addWidget(StopBitsBox, 2, 2);
    for (TRadioGroup *group : {BaudBox, ParityBox, ByteSizeBox, StopBitsBox})
        connect(group, &TRadioGroup::Clicked, this, &TMcuPreferences::PortChanged);

    auto *presets = new QHBoxLayout;
    Btn8N1 = AddButton(page, "Btn8N1", tr("8&N1"), &TMcuPreferences::Btn8N1Click);
    Btn7E2 = AddButton(page, "Btn7E2", tr("7&E2"), &TMcuPreferences::Btn7E2Click);
    presets->addWidget(Btn8N1);
    presets->addWidget(Btn7E2);
    presets->addStretch(1);
    layout->addLayout(presets, 3, 0, 1, 3);
    layout->setRowStretch(4, 1);
    return page;
}

QWidget *TMcuPreferences::CreateConsolePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QGridLayout(page);
    auto *note = new QLabel(tr("Settings regarding the terminal emulation as well as the macro definitions."), page);
    note->setWordWrap(true);
    layout->addWidget(note, 0, 0, 1, 2);
    EmulationBox = new TRadioGroup("EmulationBox", tr(" Emulation "), Settings::EmulationChoices, 1, page);
    connect(EmulationBox, &TRadioGroup::Clicked, this, &TMcuPreferences::TerminalChanged);
    auto *options = new QVBoxLayout;
    options->addWidget(EmulationBox);
    EchoBox = new QCheckBox(tr("Local Echo"), page);
    EchoBox->setObjectName("EchoBox");
    CRInBox = new QCheckBox(tr("CR->CR/LF (In)"), page);
    CRInBox->setObjectName("CRInBox");
    CROutBox = new QCheckBox(tr("CR->CR/LF (Out)"), page);
    CROutBox->setObjectName("CROutBox");
    for (QCheckBox *box : {EchoBox, CRInBox, CROutBox}) {
        options->addWidget(box);
        connect(box, &QCheckBox::clicked, this, &TMcuPreferences::TerminalChanged);
    }
    options->addStretch(1);
    layout->addLayout(options, 1, 0);
    layout->addWidget(CreateMacroGroup(page), 1, 1);
    layout->setColumnStretch(1, 1);
    return page;
}

QWidget *TMcuPreferences::CreateMacroGroup(QWidget *parent)
{
    auto *group = new QGroupBox(tr(" Makros "), parent);
    auto *layout = new QHBoxLayout(group);
    MacroList = new QListWidget(group);
    MacroList->setObjectName("MacroList");
    MacroList->setItemDelegate(new TMacroItemDelegate(MacroList));
    layout->addWidget(MacroList, 1);
    connect(MacroList, &QListWidget::currentRowChanged, this, &TMcuPreferences::MacroListClick);
    connect(MacroList, &QListWidget::itemDoubleClicked, this, &TMcuPreferences::EditMacroBtnClick);
    auto *buttons = new QVBoxLayout;
    MacroUpBtn = AddButton(group, "MacroUpBtn", QStringLiteral("\u25B2"), &TMcuPreferences::MacroUpBtnClick);
    MacroDownBtn = AddButton(group, "MacroDownBtn", QStringLiteral("\u25BC"), &TMcuPreferences::MacroDownBtnClick);
    AddMacroBtn = AddButton(group, "AddMacroBtn", tr("&Add..."), &TMcuPreferences::AddMacroBtnClick);
    EditMacroBtn = AddButton(group, "EditMacroBtn", tr("&Edit..."), &TMcuPreferences::EditMacroBtnClick);
    DeleteMacroBtn = AddButton(group, "DeleteMacroBtn", tr("&Clear"), &TMcuPreferences::DeleteMacroBtnClick);
    for (QPushButton *button : {MacroUpBtn, MacroDownBtn, AddMacroBtn, EditMacroBtn, DeleteMacroBtn})
        buttons->addWidget(button);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    UpdateMacroButtons();
    return group;
}

// ---------------------------------------------------------------------------
// Settings file and records

void TMcuPreferences::LoadFromSettings(const TIniFile &ini)
{
    const TComDeviceState device = Settings::ReadComDevice(ini);
    // A first start (no device named yet) connects to the simulated module.
    SelectDevice(Settings::NamesComDevice(ini) ? device.port : Settings::kSimulatedModule);
    BaudBox->SetItemIndex(int(Settings::BaudrateChoices.indexOf(device.baudrate)));
    ParityBox->SetItemIndex(int(Settings::ParityChoices.indexOf(device.parity)));
    ByteSizeBox->SetItemIndex(int(Settings::DatabitsChoices.indexOf(device.databits)));
    StopBitsBox->SetItemIndex(int(Settings::StopbitsChoices.indexOf(device.stopbits)));
    const TTerminalState terminal = Settings::ReadTerminal(ini);
    EmulationBox->SetItemIndex(int(Settings::EmulationChoices.indexOf(terminal.emulation)));
    EchoBox->setChecked(terminal.echo);
    CRInBox->setChecked(terminal.crlfIn);
    CROutBox->setChecked(terminal.crlfOut);
    MacroList->clear();
    MacroList->addItems(Settings::ReadMacros(ini));
    UpdateMacroButtons();
}

bool TMcuPreferences::StoreToRecords()
{
    const QString port = COMBox->currentText().trimmed();
    if (port.isEmpty())
        return false;
    TComDeviceState device;
    device.port = port;
    device.baudrate = BaudBox->Text();
    device.parity = ParityBox->Text();
    device.databits = ByteSizeBox->Text();
    device.stopbits = StopBitsBox->Text();
    const bool portChanged = m_settings.Port.Changed;
    m_settings.Port = PortSettingsMap::FromState(device);
    m_settings.Port.Changed = portChanged;

    TTerminalState terminal;
    terminal.emulation = EmulationBox->Text();
    terminal.echo = EchoBox->isChecked();
    terminal.crlfIn = CRInBox->isChecked();
    terminal.crlfOut = CROutBox->isChecked();
    QStringList macros;
    for (int i = 0; i < MacroList->count(); ++i)
        macros << MacroList->item(i)->text();
    const bool terminalChanged = m_settings.Terminal.Changed;
    m_settings.Terminal = PortSettingsMap::FromState(terminal, macros);
    m_settings.Terminal.Changed = terminalChanged;
    return true;
}

void TMcuPreferences::SaveToSettings(TIniFile &ini)
{
    Settings::WriteComDevice(ini, PortSettingsMap::ToState(m_settings.Port));
    Settings::WriteTerminal(ini, PortSettingsMap::ToState(m_settings.Terminal));
    Settings::WriteMacros(ini, m_settings.Terminal.Macros);
}

// ---------------------------------------------------------------------------
// The device list

QStringList TMcuPreferences::OfferedDevices() const
{
    return m_settings.OfferedDevices ? m_settings.OfferedDevices() : SerialDevices::List(m_settings.Folders);
}

// The devices, then the simulated module; the current choice is added by
// SelectDevice when it is none of them.
void TMcuPreferences::FillDevices(const QStringList &devices)
{
    m_devices = devices;
    COMBox->clear();
    for (const QString &device : devices)
        if (COMBox->findText(device, Qt::MatchFixedString) < 0)
            COMBox->addItem(device);
    COMBox->addItem(Settings::kSimulatedModule);
}

// The choice as the current item, so that the list opens on it; a stored
// "COMn" or a typed path is added as an item of its own.
void TMcuPreferences::SelectDevice(const QString &device)
{
    int index = COMBox->findText(device, Qt::MatchFixedString);
    if (index < 0) {
        COMBox->addItem(device);
        index = COMBox->count() - 1;
    }
    COMBox->setCurrentIndex(index);
}

// An adapter plugged in or out while the dialog is open; what the user typed
// or chose stays.
void TMcuPreferences::RefreshDevices()
{
    const QStringList devices = OfferedDevices();
    if (devices == m_devices)
        return;
    const QString current = COMBox->currentText();
    FillDevices(devices);
    SelectDevice(current);
}

// ---------------------------------------------------------------------------
// Handlers

void TMcuPreferences::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_modified = false;
}

void TMcuPreferences::PortChanged()
{
    m_settings.Port.Changed = true;
    m_modified = true;
}

void TMcuPreferences::TerminalChanged()
{
    m_settings.Terminal.Changed = true;
    m_modified = true;
}

void TMcuPreferences::OkBtnClick()
{
    if (m_modified) {
        bool stored = StoreToRecords();
        if (stored) {
            TIniFile ini(SettingsFileName());
            try {
                SaveToSettings(ini);
            } catch (const EKorvidError &) {
                stored = false;
            }
        }
        if (!stored) {
            ShowMessageDlg(mkWarning, tr("Incorrect settings!"), tr("Please check all parameters."), false);
            return;
        }
    }
    accept();
}

void TMcuPreferences::Btn8N1Click()
{
    ParityBox->Click(0);
    ByteSizeBox->Click(1);
    StopBitsBox->Click(0);
}

void TMcuPreferences::Btn7E2Click()
{
    ParityBox->Click(2);
    ByteSizeBox->Click(0);
    StopBitsBox->Click(1);
}

void TMcuPreferences::UpdateMacroButtons()
{
    const int row = MacroList->currentRow();
    const bool selected = row >= 0 && MacroList->currentItem() && MacroList->currentItem()->isSelected();
    EditMacroBtn->setEnabled(selected);
    DeleteMacroBtn->setEnabled(selected);
    MacroUpBtn->setEnabled(selected && row > 0);
    MacroDownBtn->setEnabled(selected && row < MacroList->count() - 1);
}

void TMcuPreferences::MacroListClick()
{
    UpdateMacroButtons();
}

void TMcuPreferences::MoveMacro(int by)
{
    const int row = MacroList->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= MacroList->count())
        return;
    QListWidgetItem *item = MacroList->takeItem(row);
    MacroList->insertItem(target, item);
    MacroList->setCurrentRow(target);
    UpdateMacroButtons();
    TerminalChanged();
}

void TMcuPreferences::MacroUpBtnClick()
{
    MoveMacro(-1);
}

void TMcuPreferences::MacroDownBtnClick()
{
    MoveMacro(1);
}

void TMcuPreferences::AddMacroBtnClick()
{
    QString text;
    if (!EditMacro(this, text))
        return;
    MacroList->addItem(text);
    TerminalChanged();
}

void TMcuPreferences::EditMacroBtnClick()
{
    const int row = MacroList->currentRow();
    if (row < 0)
        return;
    QString text = MacroList->item(row)->text();
    if (!EditMacro(this, text))
        return;
    MacroList->item(row)->setText(text);
    MacroList->setCurrentRow(row);
    TerminalChanged();
}

void TMcuPreferences::DeleteMacroBtnClick()
{
    const int row = MacroList->currentRow();
    if (row < 0)
        return;
    delete MacroList->takeItem(row);
    UpdateMacroButtons();
    TerminalChanged();
}
