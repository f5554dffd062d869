// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window as the window tests build it: its settings file in a temporary folder of its
// own, its archive in that folder's "flights", the scripted prompter for every dialog, and the
// fake device on a fake clock in place of the serial port, so that no test touches the user's
// files, a real port or the process priority.

#include "gui/shell/main_window.h"

#include "core/shell/settings_keeper.h"
#include "support/fake_device.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace vtl::testing {

// Whole files for the window tests, in Qt's terms (see test_files.h).
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// A synthesised flight's image, as the window reads it from a file.
QByteArray flightBytes(const FlightDescription& flight);

class WindowRig {
public:
    // Which serial ports the window reaches: the fake device, or the program's own backend (the
    // real ports, or the simulator's pseudo-terminal beside the settings file).
    enum class Ports { Fake, Real };

    explicit WindowRig(Ports ports = Ports::Fake);
    ~WindowRig();
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    // Opens the window on the settings file "vantorel.par" in the folder (or the one given),
    // closing any window opened before.
    TVantorel_BMP& open();
    TVantorel_BMP& open(const QString& settingsPath, const QString& programFolder = QString());
    TVantorel_BMP& open(const SettingsPlaces& places);
    // Closes and deletes the window without asking it: the cleanup between test functions.
    void close();

    // The seam for a test that counts the priority's changes; before open().
    void setPriority(ProcessPriority& priority) { m_priority = &priority; }

    TVantorel_BMP& window() { return *m_window; }
    MainWindowForm& form() { return m_window->form(); }
    bool isOpen() const { return m_window != nullptr; }
    ScriptedPrompter& prompter() { return m_prompter; }
    ActingClock& clock() { return m_clock; }
    FakeDevice& device() { return m_device; }
    DeviceModel& model() { return m_model; }

    QString folder() const { return m_folder.path(); }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("vantorel.par")); }
    QString archiveFolder() const { return path(QStringLiteral("flights")); }
    // The archive's files, by name.
    QStringList archived() const;

    // Writes the flight as a measurement file in the folder; returns its path.
    QString writeFlight(const QString& name, const FlightDescription& flight) const;
    // Loads the file as the user does: "Open", then the file in the dialog.
    void load(const QString& file);

private:
    Ports m_ports;
    QTemporaryDir m_folder;
    ScriptedPrompter m_prompter;
    ActingClock m_clock;
    FakeDevice m_device{m_clock};
    DeviceModel m_model;
    UnchangedPriority m_unchanged;
    ProcessPriority* m_priority = &m_unchanged;
    std::unique_ptr<TVantorel_BMP> m_window;

    DeviceLink link();
    TVantorel_BMP& opened(std::unique_ptr<TVantorel_BMP> window);
};

} // namespace vtl::testing
