#pragma once

#include "shell/settings_keeper.h"

#include <QMainWindow>

#include <memory>

namespace vtl {
class Prompter;
struct FlightRecord;
} // namespace vtl

// The program's main window: the chart, the buttons and the information panels.
class TVantorel_BMP : public QMainWindow {
    Q_OBJECT
public:
    TVantorel_BMP(const QString &settingsPath, vtl::Prompter &prompter, QWidget *parent = nullptr);
    ~TVantorel_BMP() override;

    vtl::SettingsKeeper &settingsKeeper() { return m_settings; }
    vtl::ProgramSettings &programSettings() { return m_settings.settings(); }
    int currentLanguage() const { return m_currentLanguage; }
    vtl::FlightRecord &currentFlight() { return *m_currentFlight; }
    vtl::FlightRecord &comparisonFlight() { return *m_comparisonFlight; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void Koniec();

    vtl::Prompter &m_prompter;
    vtl::SettingsKeeper m_settings;
    int m_currentLanguage = 0;
    std::unique_ptr<vtl::FlightRecord> m_currentFlight;
    std::unique_ptr<vtl::FlightRecord> m_comparisonFlight;
};
