// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's five device commands against every fault mode of the simulator: the real
// window, the real Qt serial backend and the simulator on a pseudo-terminal. Each row starts one
// simulator and one window and runs the commands in turn; every cell checks what the user is
// told, how long the window is held, that the port is closed, that the process priority is back,
// and what became of the flight in memory and of the archive.

#include "gui/device/settings_dialog.h"
#include "gui/shell/main_window.h"

#include "core/flight/flight_record.h"
#include "support/child_process.h"
#include "support/test_files.h"
#include "support/window_rig.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using vtl::testing::ChildProcess;

// The priority seam: counts the raises and the restores.
struct CountingPriority : vtl::ProcessPriority {
    int raised = 0;
    int restored = 0;
    void raise() override { ++raised; }
    void restore() override { ++restored; }
};

enum Command { Zero, Download, SetupRead, SetupWrite, DefaultSetup, CommandCount };
const char* const kCommandNames[CommandCount] = {"zero", "download", "setup read", "setup write",
                                                 "default setup"};

// What a download leaves: nothing, or one flight handed over and archived whole or as partial.
enum class Handover { None, Whole, Partial };

// The English texts the user is shown, as patterns: the incomplete-download sentence leaves
// room for a count.
std::string literal(const char* text) {
    return QRegularExpression::escape(QString::fromUtf8(text)).toStdString();
}

const std::string kResetSure = literal("Reset. Sure?");
const std::string kResetOk = literal("Reset - OK");
const std::string kResetError = literal("Reset - Error");
const std::string kCommunicationError = literal("Communication Error");
const std::string kSetupOk = literal("Setup OK");
const std::string kSetupFailed = literal("Setup failed");
const std::string kDefaultSure = literal(
    "Default setup: competitor 0, trigger 30 m, 15 samples/s, delay 180 s, and reset. Sure?");

// The served flight: 5,236 bytes, announced as 164 blocks (5,248 bytes).
const char* const kServedFlight = "rubber_model_5_per_s.bin";
// The flight in memory when a row starts.
const char* const kLoadedFlight = "thermal_rubber_2_s_per_sample.bin";

std::string incomplete(const std::string& received, const std::string& announced) {
    return "Incomplete download: received " + received + " of " + announced + " bytes";
}

struct Row {
    const char* fault;
    // The longest any command of the row may hold the window, in seconds.
    double boundSeconds;
    std::array<std::vector<std::string>, CommandCount> messages; // regular expressions, whole
    Handover handover;
};

// Every row runs zero, download, setup read, setup write (values typed into the dialog, then
// "Save") and default setup in this order against one simulator. Replies lost to the fault are
// told at most once; a read that fails blanks the dialog, and the typed values are written anyway.
const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        {"silent",
         8,
         {{{kResetSure},
           {kCommunicationError},
           {kCommunicationError},
           {kCommunicationError, kSetupFailed},
           {kDefaultSure, kSetupFailed}}},
         Handover::None},
        {"short-replies",
         8,
         {{{kResetSure},
           {kCommunicationError},
           {kCommunicationError},
           {kCommunicationError, kSetupFailed},
           {kDefaultSure, kSetupFailed}}},
         Handover::None},
        {"wrong-ack",
         8,
         {{{kResetSure, kResetError},
           {},
           {},
           {kSetupFailed, kSetupFailed, kSetupFailed},
           {kDefaultSure, kSetupFailed}}},
         Handover::Whole},
        // Half the image, then silence: 2 s without a byte end the transfer.
        {"stall",
         8,
         {{{kResetSure, kResetOk}, {incomplete("2616", "5248")}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Partial},
        {"tiny",
         8,
         {{{kResetSure, kResetOk}, {kCommunicationError}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::None},
        {"no-info",
         8,
         {{{kResetSure, kResetOk}, {}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Whole},
        {"undersend",
         8,
         {{{kResetSure, kResetOk}, {incomplete("5236", "5760")}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Partial},
        {"no-marker",
         8,
         {{{kResetSure, kResetOk}, {incomplete("5232", "5248")}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Partial},
        // 90,000 bytes at the line rate take 8.6 s before the full buffer ends the transfer.
        {"oversend",
         13,
         {{{kResetSure, kResetOk}, {incomplete("90000", "5248")}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Partial},
        {"stray",
         8,
         {{{kResetSure, kResetError},
           {kCommunicationError},
           {kCommunicationError},
           {kCommunicationError, kSetupFailed},
           {kDefaultSure, kSetupFailed}}},
         Handover::None},
        // Bytes still in flight when the line drops are lost, so the count may vary.
        {"hangup",
         8,
         {{{kResetSure, kResetOk}, {incomplete("\\d+", "5248")}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Partial},
        {"slow",
         8,
         {{{kResetSure, kResetOk}, {}, {}, {kSetupOk}, {kDefaultSure}}},
         Handover::Whole},
        {"zero-failure",
         8,
         {{{kResetSure, kResetError}, {}, {}, {kSetupOk}, {kDefaultSure, kResetError}}},
         Handover::Whole},
    };
    return table;
}

QString samplePath(const char* name) {
    return QDir(QStringLiteral(VTL_SAMPLES)).filePath(QString::fromLatin1(name));
}

QByteArray flightBytes(const vtl::FlightRecord& flight) {
    return QByteArray(reinterpret_cast<const char*>(flight.rawImage.data()), flight.rawLength);
}

QByteArray fileBytes(const QString& path) {
    const std::vector<uint8_t> bytes = vtl::testing::readBytes(path.toStdString());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// Runs `act` on the settings dialog once it is up, then closes it if it is still open, as the
// user would with its close box.
void whenSettingsShown(TVantorel_BMP& window, std::function<void(TFormUstawienia&)> act) {
    auto* poll = new QTimer(&window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &window, act = std::move(act)] {
        auto* dialog = window.findChild<TFormUstawienia*>();
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    poll->start();
}

} // namespace

class DeviceFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void everyCommandUnderEveryFault_data();
    void everyCommandUnderEveryFault();
};

void DeviceFaultMatrix::everyCommandUnderEveryFault_data() {
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < rows().size(); ++i) {
        QTest::newRow(rows()[i].fault) << static_cast<int>(i);
    }
}

void DeviceFaultMatrix::everyCommandUnderEveryFault() {
    QFETCH(int, row);
    const Row& r = rows()[static_cast<size_t>(row)];

    CountingPriority priority; // outlives the window
    vtl::testing::WindowRig rig(vtl::testing::WindowRig::Ports::Real);
    QVERIFY(QDir(rig.folder()).mkpath(QStringLiteral("ports")));
    // The window resolves COM5 to the alias ports/COM5 beside its settings file.
    ChildProcess device(VTL_DEVSIM_PATH,
                        {"--link", rig.path("ports/COM5").toStdString(), "--flight",
                         samplePath(kServedFlight).toStdString(), "--quiet", "--fault", r.fault});
    QVERIFY(device.nextLine().find("-> /dev/") != std::string::npos);

    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    rig.setPriority(priority);
    TVantorel_BMP& window = rig.open();
    const QString archive = rig.archiveFolder();
    MainWindowForm& f = window.form();
    f.English1->trigger();
    prompter.answerNextFiles({samplePath(kLoadedFlight).toStdString()});
    f.BOdczyt->click();
    QVERIFY(window.currentFlight().holdsFlight());
    const QByteArray loaded = flightBytes(window.currentFlight());
    QCOMPARE(loaded, fileBytes(samplePath(kLoadedFlight)));

    auto archived = [&] { return rig.archived(); };
    const std::function<void()> commands[CommandCount] = {
        [&] { f.BZerowanie->click(); },
        [&] { f.B_Odczyt_Vantorelu->click(); },
        [&] {
            whenSettingsShown(window, [](TFormUstawienia&) {});
            f.Vantorel1->trigger();
        },
        [&] {
            whenSettingsShown(window, [](TFormUstawienia& dialog) {
                dialog.E_Poziom->setText(QStringLiteral("40"));
                dialog.E_NrZaw->setText(QStringLiteral("12"));
                dialog.E_CzasOp->setText(QStringLiteral("20"));
                dialog.B_wyslij->click();
            });
            f.Vantorel1->trigger();
        },
        [&] { f.Se1->trigger(); },
    };

    QStringList failures;
    for (int c = 0; c < CommandCount; ++c) {
        const QString cell = QStringLiteral("%1 / %2: ").arg(r.fault, kCommandNames[c]);
        auto fail = [&](const QString& what) { failures << cell + what; };
        const QByteArray flightBefore = flightBytes(window.currentFlight());
        const QStringList archiveBefore = archived();
        prompter.clear();
        priority = CountingPriority();

        QElapsedTimer held;
        held.start();
        commands[c]();
        const double seconds = static_cast<double>(held.elapsed()) / 1000.0;

        const auto& shown = prompter.messages();
        const std::vector<std::string>& expected = r.messages[static_cast<size_t>(c)];
        bool messagesMatch = shown.size() == expected.size();
        for (size_t i = 0; messagesMatch && i < shown.size(); ++i) {
            const QRegularExpression pattern(
                QRegularExpression::anchoredPattern(QString::fromStdString(expected[i])));
            messagesMatch = pattern.match(QString::fromStdString(shown[i].text)).hasMatch();
        }
        if (!messagesMatch) {
            QStringList texts;
            for (const auto& message : shown) {
                texts << QString::fromStdString(message.text);
            }
            fail(QStringLiteral("told [%1]").arg(texts.join(QStringLiteral(" | "))));
        }
        if (seconds >= r.boundSeconds) {
            fail(QStringLiteral("held the window %1 s").arg(seconds));
        }
        if (window.serialChannel().isOpen()) {
            fail(QStringLiteral("left the port open"));
        }
        // The download raises the priority for its transfer; nothing else touches it.
        if (priority.raised != (c == Download ? 1 : 0) || priority.restored != priority.raised) {
            fail(QStringLiteral("raised the priority %1 times, restored it %2 times")
                     .arg(priority.raised)
                     .arg(priority.restored));
        }
        if (c == SetupRead) {
            // A read that worked shows the device's trigger level; a failed one blanks it.
            QLineEdit* trigger = window.findChild<TFormUstawienia*>()->E_Poziom;
            const QString wanted = expected.empty() ? QStringLiteral("30") : QString();
            if (trigger->text() != wanted) {
                fail(QStringLiteral("trigger level shows '%1'").arg(trigger->text()));
            }
        }

        const Handover handover = c == Download ? r.handover : Handover::None;
        const QStringList archiveAfter = archived();
        const QByteArray flightAfter = flightBytes(window.currentFlight());
        if (handover == Handover::None) {
            if (archiveAfter != archiveBefore) {
                fail(QStringLiteral("archive changed to [%1]").arg(archiveAfter.join(' ')));
            }
            if (flightAfter != flightBefore) {
                fail(QStringLiteral("flight in memory changed"));
            }
            continue;
        }
        if (archiveAfter.size() != archiveBefore.size() + 1) {
            fail(QStringLiteral("archive holds [%1]").arg(archiveAfter.join(' ')));
            continue;
        }
        QString added;
        for (const QString& name : archiveAfter) {
            if (!archiveBefore.contains(name)) {
                added = name;
            }
        }
        if (added.endsWith(QStringLiteral("_partial.bin")) != (handover == Handover::Partial)) {
            fail(QStringLiteral("archived as %1").arg(added));
        }
        if (flightAfter == loaded || flightAfter != fileBytes(QDir(archive).filePath(added))) {
            fail(QStringLiteral("flight in memory is not the archived download"));
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(QLatin1Char('\n') + failures.join(QLatin1Char('\n'))));
}

QTEST_MAIN(DeviceFaultMatrix)
#include "device_fault_matrix_test.moc"
