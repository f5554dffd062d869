// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"
#include "core/shell/language.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vtl {
class PortFinder;
class Prompter;
class SerialChannel;
class SettingsKeeper;
struct SetupLimit;
} // namespace vtl

// The device settings dialog: port, trigger level, competitor number, sampling rate, manual
// zeroing and start delay, plus the device's temperature and serial number. Created once at start
// and shown modally with the port already open; every way of closing it closes the port.
// The edited setup is read back as a value through entries(), never from the widgets.
class TFormUstawienia : public QDialog, public vtl::DeviceSetupView {
    Q_OBJECT
public:
    // The channel and the protocol belong to the main window and outlive the dialog.
    TFormUstawienia(vtl::SettingsKeeper& settings, const vtl::Language& language,
                    vtl::Prompter& prompter, vtl::SerialChannel& channel,
                    vtl::DeviceProtocol& protocol, QWidget* parent = nullptr);

    // Where the port list learns what each name leads to; without it the list shows bare names.
    void setPortFinder(std::function<vtl::PortFinder()> findPorts);
    // The port list names what is there now; the items stay the names COM1 ... COM25.
    void refreshPortEntries();

    // After a failed read of the device the fields show no setup, nothing of an earlier read.
    void blankAfterFailedRead();

    void showTemperature(int celsius) override;
    void showCompetitorNumber(int number) override;
    void showSerialNumber(int number) override;
    void showTriggerMetres(int metres) override;
    void selectSamplingCode(int code) override;
    void selectManualZeroing(int on) override;
    void showDelaySeconds(int seconds) override;

    // The setup as the fields hold it now, what "Zapisz" sends.
    vtl::DeviceSetupEntries entries() const;

    // 1 (after telling the user) when the trigger level, delay or competitor number is empty.
    int checkEmptyFields();

    void FormActivate();
    void CB_Numer_PortuChange();
    void BWyslijPClick();

    QLabel* L_Numer_Portu = nullptr;
    QComboBox* CB_Numer_Portu = nullptr;
    QLabel* L_PoziomWyzwalania = nullptr;
    QLineEdit* E_Poziom = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* L_Kalibracja_Temp = nullptr;
    QLineEdit* E_Kal_Temp = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* L_Ust_Probk = nullptr;
    QComboBox* ComboBox_ImPomiarow = nullptr;
    QLabel* LZerReczne = nullptr;
    QComboBox* ComboB_Zer = nullptr;
    QLabel* L_Numer_Zawodnika = nullptr;
    QLineEdit* E_NrZaw = nullptr;
    QLabel* L_NrSer = nullptr;
    QLineEdit* E_NrSer = nullptr;
    QLabel* L_CzasOp = nullptr;
    QLineEdit* E_CzasOp = nullptr;
    QLabel* L_Sek = nullptr;
    QPushButton* B_wyslij = nullptr;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void blankReadOnlyFields();
    void showBarePortName();

    void E_Poziom_Ent();
    void E_Kal_zaduzo();
    void E_nrZaw_zaduzo();
    void E_CzasOpChange();
    void E_Poziom_Exit();
    void E_CzasOpExit();
    void FormClose();

    void checkLimit(const QLineEdit& edit, const vtl::SetupLimit& limit);
    void reportError(const std::string& text);

    vtl::SettingsKeeper& m_settings;
    const vtl::Language& m_language;
    vtl::Prompter& m_prompter;
    vtl::SerialChannel& m_channel;
    vtl::DeviceProtocol& m_protocol;
    std::function<vtl::PortFinder()> m_findPorts;
};
