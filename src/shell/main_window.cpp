#include "shell/main_window.h"

#include "flight/flight_record.h"
#include "shell/window_look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPalette>

namespace {
const QColor kSilver(192, 192, 192);
}

TVantorel_BMP::TVantorel_BMP(const QString &settingsPath, vtl::Prompter &prompter, QWidget *parent)
    : QMainWindow(parent), m_prompter(prompter), m_settings(settingsPath.toStdString(), prompter),
      m_currentFlight(std::make_unique<vtl::FlightRecord>()),
      m_comparisonFlight(std::make_unique<vtl::FlightRecord>()) {
    setObjectName(QStringLiteral("Vantorel_BMP"));
    setWindowTitle(QStringLiteral("Vantorel BMP"));
    vtl::applyDesignFont(*this);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    setPalette(silver);
    setAutoFillBackground(true);
    resize(1300, 834);
    move(503, 269);

    m_settings.load();
    m_currentLanguage = m_settings.settings().language;
    m_currentFlight->temperature = 20.0f;
    FormCreate();
}

TVantorel_BMP::~TVantorel_BMP() = default;

void TVantorel_BMP::FormCreate() {}

void TVantorel_BMP::closeEvent(QCloseEvent *event) {
    Koniec();
    event->accept();
}

// Closing always ends the program: a settings file that cannot be written has been reported by
// the keeper, and keeping the window open would only repeat the failure.
void TVantorel_BMP::Koniec() {
    m_settings.save();
    QApplication::quit();
}
