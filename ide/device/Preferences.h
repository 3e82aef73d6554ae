#pragma once

#include "PortSettings.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QTabWidget;
class TIniFile;
class TRadioGroup;

// The settings dialog of the serial link: the "Interface" page (device and
// line settings) and the "Console" page (emulation, echo, CR/LF options and
// the macro list). Created, it loads the settings file into its controls
// and into the workbench's link settings with both changed marks clear;
// the user's changes mark their group changed. OK stores and saves a
// modified dialog; the caller then applies what is marked changed.
class TMcuPreferences : public QDialog {
    Q_OBJECT

public:
    explicit TMcuPreferences(TLinkSettings &settings, QWidget *parent = nullptr);

    void LoadFromSettings(const TIniFile &ini);
    // False when a control holds no usable value (an empty device name).
    bool StoreToRecords();
    void SaveToSettings(TIniFile &ini);
    bool Modified() const
    {
        return m_modified;
    }

    // Opens the macro editor; tests answer it themselves.
    std::function<bool(QWidget *parent, QString &text)> EditMacro;

    // --- Controls ---------------------------------------------------------
    QTabWidget *Pages;
    QComboBox *COMBox;
    TRadioGroup *BaudBox;
    TRadioGroup *ParityBox;
    TRadioGroup *ByteSizeBox;
    TRadioGroup *StopBitsBox;
    QPushButton *Btn8N1;
    QPushButton *Btn7E2;
    TRadioGroup *EmulationBox;
    QCheckBox *EchoBox;
    QCheckBox *CRInBox;
    QCheckBox *CROutBox;
    QListWidget *MacroList;
    QPushButton *MacroUpBtn;
    QPushButton *MacroDownBtn;
    QPushButton *AddMacroBtn;
    QPushButton *EditMacroBtn;
    QPushButton *DeleteMacroBtn;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

    // --- Handlers -----------------------------------------------------------
    void OkBtnClick();
    void Btn8N1Click();
    void Btn7E2Click();
    void MacroListClick();
    void MacroUpBtnClick();
    void MacroDownBtnClick();
    void AddMacroBtnClick();
    void EditMacroBtnClick();
    void DeleteMacroBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *CreateHeader();
    QWidget *CreateInterfacePage();
    QWidget *CreateConsolePage();
    QWidget *CreateMacroGroup(QWidget *parent);
    QPushButton *AddButton(QWidget *parent, const char *name, const QString &caption, void (TMcuPreferences::*click)());
    void PortChanged();
    void TerminalChanged();
    void MoveMacro(int by);
    void UpdateMacroButtons();
    QStringList OfferedDevices() const;
    void FillDevices(const QStringList &devices);
    void SelectDevice(const QString &device);
    void RefreshDevices();

    TLinkSettings &m_settings;
    bool m_modified = false;
    QWidget *m_header = nullptr;
    QStringList m_devices; // as last offered
};
