// SPDX-License-Identifier: GPL-3.0-or-later
// The station's options (download when a logger is plugged in, zero after a good download), the
// director's choice of the counted flight, and the results written or printed.
#include "gui/contest/contest_window.h"

#include "core/contest/contest_texts.h"
#include "core/files/flight_log.h"
#include "core/shell/atomic_file.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "gui/contest/results_sheet.h"
#include "gui/look/locale_separator.h"
#include "gui/look/number_item.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace {

using vtl::ContestCaption;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void ContestWindow::setAutoDownload(bool on) {
    if (!on) {
        m_portWatch->stop();
        m_status->clear();
        return;
    }
    // Only a port that appears from now on is a logger plugged in for the station.
    m_portsSeen = m_station.usbPorts ? m_station.usbPorts() : std::vector<std::string>();
    m_portWatch->start();
    m_status->setText(text(ContestCaption::WaitingForLogger));
}

void ContestWindow::lookForLogger() {
    if (!m_station.usbPorts) {
        return;
    }
    std::vector<std::string> ports = m_station.usbPorts();
    const bool arrived = std::any_of(ports.begin(), ports.end(), [&](const std::string& port) {
        return std::find(m_portsSeen.begin(), m_portsSeen.end(), port) == m_portsSeen.end();
    });
    m_portsSeen = std::move(ports);
    if (arrived && m_autoDownload->isChecked() && !m_downloading) {
        downloadNext();
    }
}

void ContestWindow::setZeroAfter(bool on) {
    if (!m_contest) {
        return;
    }
    const QString folder = QFileInfo(qs(m_contest->folder())).absoluteFilePath();
    if (!on) {
        m_zeroAfterContests.removeAll(folder);
    } else if (m_zeroAfterContests.contains(folder)) {
        return;
    } else if (m_prompter.showMessage(vtl::caption(ContestCaption::ZeroAfterQuestion, m_language),
                                      vtl::caption(ContestCaption::ZeroAfterOption, m_language),
                                      vtl::PromptButtons::OkCancel)) {
        m_zeroAfterContests.append(folder);
    } else {
        m_zeroAfter->setChecked(false);
        return;
    }
    saveState();
}

std::unique_ptr<QMenu> ContestWindow::flightChoices(int competitor, int round) {
    auto menu = std::make_unique<QMenu>(this);
    if (!m_contest) {
        return menu;
    }
    const int decimals = vtl::contestScoreDecimals(m_contest->document().rule.kind());
    menu->setTitle(text(ContestCaption::ChooseFlightTitle));
    for (const vtl::ContestFlight& flight : m_contest->document().flights) {
        if (flight.competitor != competitor || flight.round != round || flight.duplicate) {
            continue;
        }
        QString label = qs(flight.file) + QStringLiteral("  ·  ") +
                        qs(vtl::figureText(flight.score, decimals, localeDecimalSeparator()));
        if (flight.incomplete) {
            label += QStringLiteral("  ·  ") + text(ContestCaption::FlagIncomplete);
        }
        QAction* item = menu->addAction(label);
        item->setCheckable(true);
        item->setChecked(flight.counted);
        const std::string file = flight.file;
        connect(item, &QAction::triggered, this, [this, round, file] {
            try {
                m_contest->chooseFlight(round, file);
            } catch (const vtl::ContestError& error) {
                tell(error.text(m_language));
            }
            fillResults();
        });
    }
    return menu;
}

void ContestWindow::showTableMenu(const QPoint& position) {
    const QModelIndex index = m_table->indexAt(position);
    const int rounds = m_contest ? m_contest->document().rounds : 0;
    if (!index.isValid() || index.column() < FirstRound || index.column() >= FirstRound + rounds) {
        return;
    }
    const int competitor = m_table->item(index.row(), Number)->data(NumberItem::kSortRole).toInt();
    const std::unique_ptr<QMenu> menu = flightChoices(competitor, index.column() - FirstRound + 1);
    if (!menu->isEmpty()) {
        menu->exec(m_table->viewport()->mapToGlobal(position));
    }
}

bool ContestWindow::saveResultsCsv(const QString& path) {
    if (!m_contest) {
        return false;
    }
    const std::string csv = m_contest->resultsCsv();
    int error = 0;
    if (!vtl::writeFileAtomically(path.toStdString(), reinterpret_cast<const uint8_t*>(csv.data()),
                                  csv.size(), &error)) {
        tell(vtl::messageWith(vtl::Message::ContestWriteFailed, path.toStdString(), m_language) +
             ": " + vtl::systemReasonText(error, m_language));
        return false;
    }
    m_status->setText(text(ContestCaption::ResultsSaved) + QLatin1Char(' ') +
                      QDir::toNativeSeparators(path));
    return true;
}

void ContestWindow::chooseResultsCsv() {
    if (!m_contest) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        this, text(ContestCaption::SaveResultsCsvButton),
        qs(m_contest->folder()) + QStringLiteral("/results.csv"), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        saveResultsCsv(path);
    }
}

void ContestWindow::printResults() {
    if (!m_contest || !m_station.print) {
        return;
    }
    const ResultsSheet sheet(*m_contest, m_language);
    const std::string done =
        m_station.print([&sheet](QPrinter& printer) { return sheet.print(printer); });
    if (!done.empty()) {
        m_status->setText(qs(done));
    }
}
