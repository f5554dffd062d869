// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_rig.h"

#include "support/test_files.h"

#include <QDir>

namespace vtl::testing {

QByteArray readFile(const QString& path) {
    const std::vector<uint8_t> bytes = readBytes(path.toStdString());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    return writeBytes(path.toStdString(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

QByteArray flightBytes(const FlightDescription& flight) {
    const std::vector<uint8_t> image = synthesiseFlightImage(flight);
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<int>(image.size()));
}

WindowRig::WindowRig(Ports ports) : m_ports(ports) {
    m_device.setResponder(m_model.responder());
}

WindowRig::~WindowRig() {
    close();
}

DeviceLink WindowRig::link() {
    if (m_ports == Ports::Real) {
        return DeviceLink{nullptr, nullptr, m_priority};
    }
    return DeviceLink{&m_device, &m_clock, m_priority};
}

TVantorel_BMP& WindowRig::opened(std::unique_ptr<TVantorel_BMP> window) {
    m_window = std::move(window);
    m_window->setArchiveFolder(archiveFolder());
    return *m_window;
}

TVantorel_BMP& WindowRig::open() {
    return open(settingsPath());
}

TVantorel_BMP& WindowRig::open(const QString& settingsPath, const QString& programFolder) {
    close();
    return opened(std::make_unique<TVantorel_BMP>(settingsPath, m_prompter, programFolder, link()));
}

TVantorel_BMP& WindowRig::open(const SettingsPlaces& places) {
    close();
    return opened(std::make_unique<TVantorel_BMP>(places, m_prompter, QString(), link()));
}

void WindowRig::close() {
    m_window.reset();
}

QStringList WindowRig::archived() const {
    return QDir(archiveFolder()).entryList(QDir::Files, QDir::Name);
}

QString WindowRig::writeFlight(const QString& name, const FlightDescription& flight) const {
    const QString file = path(name);
    writeFlightFile(file.toStdString(), flight);
    return file;
}

void WindowRig::load(const QString& file) {
    m_prompter.answerNextFiles({file.toStdString()});
    m_window->form().BOdczyt->click();
}

} // namespace vtl::testing
