// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/flight_log_window.h"

#include "core/files/flight_notes.h"
#include "core/files/overlay_texts.h"
#include "core/files/spreadsheet_export.h"
#include "core/flight/flight_figures_text.h"
#include "core/flight/sampling_code.h"
#include "core/shell/atomic_file.h"
#include "core/shell/framework_texts.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "gui/look/locale_separator.h"
#include "gui/look/number_item.h"

#include <QCloseEvent>
#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

using vtl::FlightLogCaption;

// The captions follow the order of the window's columns and of the log's states.
static_assert(static_cast<int>(FlightLogCaption::NoteColumn) -
                      static_cast<int>(FlightLogCaption::DownloadedColumn) ==
                  FlightLogWindow::Note,
              "one column caption per column");
static_assert(static_cast<int>(FlightLogCaption::StatusNotAFlight) -
                      static_cast<int>(FlightLogCaption::StatusOk) ==
                  static_cast<int>(vtl::LogStatus::NotAFlight),
              "one status caption per state");

FlightLogCaption columnCaption(int column) {
    return static_cast<FlightLogCaption>(static_cast<int>(FlightLogCaption::DownloadedColumn) +
                                         column);
}

FlightLogCaption statusCaption(vtl::LogStatus status) {
    return static_cast<FlightLogCaption>(static_cast<int>(FlightLogCaption::StatusOk) +
                                         static_cast<int>(status));
}

constexpr int kRowIndexRole = Qt::UserRole;
constexpr int kSortRole = NumberItem::kSortRole;
constexpr int kNoteMinimumWidth = 140;
constexpr int kNoteMaximumWidth = 260;

constexpr double kAbsent = -std::numeric_limits<double>::infinity();

QTableWidgetItem* numberItem(const std::optional<int>& value) {
    return new NumberItem(value ? QString::number(*value) : QString(), value ? *value : kAbsent);
}

QTableWidgetItem* figureItem(const std::optional<double>& value, int decimals) {
    return new NumberItem(
        QString::fromStdString(vtl::figureText(value, decimals, localeDecimalSeparator())),
        value ? *value : kAbsent);
}

// The note as the notes file now holds it for the row's file.
void takeNote(vtl::FlightLogRow& row, const std::optional<vtl::FoundNote>& found) {
    row.note = found ? found->text : std::string();
    row.noteStale = found && found->stale;
}

// The flight time as the figures line under the chart shows it; it sorts by its seconds.
QTableWidgetItem* flightTimeItem(const std::optional<double>& seconds) {
    return new NumberItem(seconds ? QString::fromStdString(vtl::flightTimeText(*seconds))
                                  : QString(),
                          seconds ? *seconds : kAbsent);
}

} // namespace

QString FlightLogWindow::menuText(vtl::Language language) {
    return QString::fromStdString(vtl::caption(FlightLogCaption::WindowTitle, language));
}

QString FlightLogWindow::text(vtl::FlightLogCaption which) const {
    return QString::fromStdString(vtl::caption(which, m_language));
}

FlightLogWindow::FlightLogWindow(vtl::Prompter& prompter, const vtl::Language& language,
                                 const QString& stateFile, Opener opener, QWidget* parent)
    : QWidget(parent, Qt::Window), m_prompter(prompter), m_language(language), m_state(stateFile),
      m_opener(std::move(opener)) {
    setObjectName(QStringLiteral("FlightLogWindow"));
    m_folderButton = new QPushButton(this);
    m_folderButton->setObjectName(QStringLiteral("FolderButton"));
    m_folderLabel = new QLabel(this);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("FilterField"));
    m_filter->setClearButtonEnabled(true);
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("LogTable"));
    // Only the note cells are editable (fillRow): a double-click elsewhere opens the flight.
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows are selected for an overlay; opening takes the current one.
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    // The file's name and its state say which row is which, and the note what the user made of
    // it: beside the date, where the figures cannot push them off a laptop's screen (at 1280
    // pixels the figures are wider than what is left).
    QHeaderView* header = m_table->horizontalHeader();
    header->moveSection(header->visualIndex(FileName), 1);
    header->moveSection(header->visualIndex(Status), 2);
    header->moveSection(header->visualIndex(Note), 3);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(Downloaded, Qt::DescendingOrder);
    m_table->setSortingEnabled(true);
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("ProgressLine"));
    m_open = new QPushButton(this);
    m_open->setObjectName(QStringLiteral("OpenButton"));
    m_compare = new QPushButton(this);
    m_compare->setObjectName(QStringLiteral("CompareButton"));
    m_export = new QPushButton(this);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_overlay = new QPushButton(this);
    m_overlay->setObjectName(QStringLiteral("OverlayButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_folderButton);
    top->addWidget(m_folderLabel, 1);
    top->addWidget(m_filter, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_open);
    bottom->addWidget(m_compare);
    bottom->addWidget(m_overlay);
    bottom->addWidget(m_export);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);

    connect(m_folderButton, &QPushButton::clicked, this, &FlightLogWindow::chooseFolder);
    connect(m_filter, &QLineEdit::textChanged, this, &FlightLogWindow::applyFilter);
    connect(m_open, &QPushButton::clicked, this, [this] { openSelected(false); });
    connect(m_compare, &QPushButton::clicked, this, [this] { openSelected(true); });
    connect(m_export, &QPushButton::clicked, this, &FlightLogWindow::exportRows);
    connect(m_overlay, &QPushButton::clicked, this, &FlightLogWindow::overlaySelected);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FlightLogWindow::showOverlayChoice);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
        if (column != Note) {
            openSelected(false);
        }
    });
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_fillingNote && item->column() == Note) {
            writeNote(item);
        }
    });

    resize(1240, 600);
    applyLanguage();
    m_columnsSized = m_state.restore(*this, *m_table);
}

FlightLogWindow::~FlightLogWindow() {
    stopScan();
    m_state.save(*this, *m_table);
}

void FlightLogWindow::applyLanguage() {
    setWindowTitle(text(FlightLogCaption::WindowTitle));
    m_folderButton->setText(text(FlightLogCaption::FolderButton));
    m_open->setText(text(FlightLogCaption::OpenButton));
    m_compare->setText(text(FlightLogCaption::CompareButton));
    m_export->setText(text(FlightLogCaption::ExportButton));
    m_filter->setPlaceholderText(text(FlightLogCaption::FilterHint));
    m_overlay->setText(
        QString::fromStdString(vtl::caption(vtl::OverlayCaption::LogButton, m_language)));
    showOverlayChoice();
    QStringList headers;
    for (int column = 0; column < ColumnCount; ++column) {
        headers << text(columnCaption(column));
    }
    m_table->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const size_t index = m_table->item(row, Downloaded)->data(kRowIndexRole).toULongLong();
        m_table->item(row, Status)->setText(text(statusCaption(m_rows[index].status)));
        fillNote(row, m_rows[index]);
    }
    if (m_folderError != 0 || m_foreignCache) {
        showCounter();
    }
}

void FlightLogWindow::stopScan() {
    if (m_worker == nullptr) {
        return;
    }
    m_cancel->store(true);
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
}

void FlightLogWindow::setFolder(const QString& folder) {
    stopScan();
    ++m_generation;
    m_folder = folder;
    m_folderLabel->setText(folder);
    m_rows.clear();
    m_folderError = 0;
    m_foreignCache = false;
    m_total = 0;
    m_shown = 0;
    // A name chosen for another folder's listing would lead the dialog away from this one.
    if (folder != m_exportFolder) {
        m_lastExportName.clear();
    }
    // Sorting thousands of rows again for every row that comes would stall the window: the rows
    // come newest first, and the table sorts once when all are in.
    m_table->setSortingEnabled(false);
    m_table->setRowCount(0);
    m_progress->setText(QStringLiteral("0 / …"));
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const unsigned generation = m_generation;
    const std::string path = folder.toStdString();
    const auto cancel = m_cancel;
    const auto pending = std::make_shared<PendingRows>();
    // Rows cross to this thread in batches: the scan collects them, and posts a call only when
    // none is pending, so that the window takes as many rows at once as came meanwhile and leaves
    // the cores to the reading. A call from an earlier scan is ignored.
    m_worker = QThread::create([this, path, cancel, generation, pending] {
        int folderError = 0;
        bool foreignCache = false;
        vtl::scanFlightLog(
            path,
            [this, generation, pending](const vtl::FlightLogRow& row, size_t, size_t total) {
                {
                    const std::lock_guard<std::mutex> lock(pending->mutex);
                    pending->rows.push_back(row);
                    pending->total = total;
                    if (pending->posted) {
                        return;
                    }
                    pending->posted = true;
                }
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, pending] {
                        if (generation == m_generation) {
                            takePendingRows(*pending);
                        }
                    },
                    Qt::QueuedConnection);
            },
            cancel.get(), &foreignCache, &folderError);
        QMetaObject::invokeMethod(
            this,
            [this, generation, pending, folderError, foreignCache] {
                if (generation == m_generation) {
                    takePendingRows(*pending);
                    finishScan(folderError, foreignCache);
                }
            },
            Qt::QueuedConnection);
    });
    m_worker->start();
}

void FlightLogWindow::finishScan(int folderError, bool foreignCache) {
    if (m_worker != nullptr) {
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    m_folderError = folderError;
    m_foreignCache = foreignCache;
    m_table->setSortingEnabled(true);
    if (!m_columnsSized && m_table->rowCount() > 0) {
        m_table->resizeColumnsToContents();
        // Room to see a short note, and no more than a long one may take from the figures.
        m_table->setColumnWidth(
            Note, std::clamp(m_table->columnWidth(Note), kNoteMinimumWidth, kNoteMaximumWidth));
        m_columnsSized = true;
    }
    showCounter();
    emit scanFinished();
}

void FlightLogWindow::takePendingRows(PendingRows& pending) {
    std::vector<vtl::FlightLogRow> rows;
    size_t total = 0;
    {
        const std::lock_guard<std::mutex> lock(pending.mutex);
        rows.swap(pending.rows);
        total = pending.total;
        pending.posted = false;
    }
    if (!rows.empty()) {
        addRows(std::move(rows), total);
    }
}

void FlightLogWindow::addRows(std::vector<vtl::FlightLogRow> rows, size_t total) {
    m_total = total;
    const int first = m_table->rowCount();
    // One change of the table and one repaint for the whole batch.
    m_table->setUpdatesEnabled(false);
    m_table->setRowCount(first + static_cast<int>(rows.size()));
    // Setting an item tells as a changed item does: no note is written for it.
    m_fillingNote = true;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int tableRow = first + static_cast<int>(i);
        m_rows.push_back(std::move(rows[i]));
        fillRow(tableRow, m_rows.back(), m_rows.size() - 1);
        // New rows are shown; only those the filter keeps out are hidden.
        if (matchesFilter(tableRow)) {
            ++m_shown;
        } else {
            m_table->setRowHidden(tableRow, true);
        }
    }
    m_fillingNote = false;
    m_table->setUpdatesEnabled(true);
    showCounter();
}

void FlightLogWindow::showCounter() {
    // While the folder is read, "all" is what the listing will hold; after it, what it holds.
    const size_t all = m_worker != nullptr ? m_total : m_rows.size();
    // A folder that could not be listed is told as such, not shown as an empty one.
    if (m_folderError != 0 && m_worker == nullptr) {
        m_progress->setText(QString::fromStdString(
            vtl::folderUnreadableText(m_folder.toStdString(), m_folderError, m_language)));
        return;
    }
    QString counter = QStringLiteral("%1 / %2").arg(m_shown).arg(all);
    // Once a listing: the log works without its cache, but the user should know why it is slow
    // and that the file is not changed.
    if (m_foreignCache && m_worker == nullptr) {
        const QString cache =
            QDir(m_folder).filePath(QString::fromLatin1(vtl::kFlightLogCacheName));
        counter += QStringLiteral(" — ") +
                   QString::fromStdString(
                       vtl::messageWith(vtl::Message::ForeignLogCache,
                                        QDir::toNativeSeparators(cache).toStdString(), m_language));
    }
    m_progress->setText(counter);
}

// Each item is made whole before it enters the table: a change to an item in the table tells
// the table, and every view of it, once for each of its roles.
void FlightLogWindow::fillRow(int tableRow, const vtl::FlightLogRow& row, size_t index) {
    const vtl::FlightFigures& f = row.figures;
    QTableWidgetItem* items[ColumnCount] = {};
    items[Downloaded] = new QTableWidgetItem(QString::fromStdString(row.downloaded));
    items[Serial] = numberItem(row.serialNumber);
    items[Competitor] = numberItem(row.competitorNumber);
    const QString sampling =
        row.samplingCode ? QString::fromStdString(
                               vtl::samplingTextForCode(static_cast<uint8_t>(*row.samplingCode)))
                               .trimmed()
                         : QString();
    items[Sampling] = new NumberItem(
        sampling, row.samplingCode
                      ? vtl::samplesPer10sForCode(static_cast<uint8_t>(*row.samplingCode))
                      : kAbsent);
    items[Sampling]->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    items[Temperature] = numberItem(row.temperature);
    items[Maximum] = figureItem(f.maximumM, 1);
    items[TimeToMaximum] = figureItem(f.maximumS, 1);
    items[FlightTime] = flightTimeItem(f.flightTimeS);
    items[BestClimb] = figureItem(f.bestClimbMps, 2);
    items[MeanSink] = figureItem(f.meanSinkMps, 2);
    items[Status] = new QTableWidgetItem(text(statusCaption(row.status)));
    items[FileName] = new QTableWidgetItem(QString::fromStdString(row.fileName));
    for (int column = 0; column < Note; ++column) {
        items[column]->setFlags(items[column]->flags() & ~Qt::ItemIsEditable);
    }
    items[Note] = new QTableWidgetItem;
    showNote(*items[Note], row);
    items[Downloaded]->setData(kRowIndexRole, qulonglong(index));
    items[Note]->setData(kRowIndexRole, qulonglong(index));
    for (int column = 0; column < ColumnCount; ++column) {
        m_table->setItem(tableRow, column, items[column]);
    }
}

void FlightLogWindow::fillNote(int tableRow, const vtl::FlightLogRow& row) {
    const bool filling = m_fillingNote;
    m_fillingNote = true;
    showNote(*m_table->item(tableRow, Note), row);
    m_fillingNote = filling;
}

// A stale note was written for an earlier version of the file: greyed and slanted, with a
// tooltip saying so, until it is written anew for this one.
void FlightLogWindow::showNote(QTableWidgetItem& item, const vtl::FlightLogRow& row) const {
    item.setText(QString::fromStdString(row.note));
    QFont font = m_table->font();
    font.setItalic(row.noteStale);
    item.setFont(font);
    if (row.noteStale) {
        item.setForeground(QColor(Qt::gray));
        item.setToolTip(text(FlightLogCaption::NoteStaleHint));
    } else {
        item.setData(Qt::ForegroundRole, QVariant());
        item.setToolTip(QString());
    }
}

std::string FlightLogWindow::flightPath(const vtl::FlightLogRow& row) const {
    return QDir(m_folder).filePath(QString::fromStdString(row.fileName)).toStdString();
}

void FlightLogWindow::writeNote(QTableWidgetItem* item) {
    // Rows still coming while the message is shown may move the rows: kept by index.
    const size_t index = item->data(kRowIndexRole).toULongLong();
    const std::string typed = item->text().toStdString();
    // A stale note left as it was stays the earlier version's.
    if (typed == m_rows[index].note) {
        return;
    }
    const std::string path = flightPath(m_rows[index]);
    try {
        vtl::writeFlightNote(path, typed);
        takeNote(m_rows[index], vtl::readFlightNote(path));
    } catch (const vtl::FlightNotesError& error) {
        m_prompter.showMessage(error.text(m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        fillNote(item->row(), m_rows[index]);
        return;
    }
    fillNote(item->row(), m_rows[index]);
    emit noteWritten(path);
}

void FlightLogWindow::showNoteOf(const std::string& flightPath) {
    const QFileInfo file(QString::fromStdString(flightPath));
    if (file.absolutePath() != QFileInfo(m_folder).absoluteFilePath()) {
        return;
    }
    const std::string name = file.fileName().toStdString();
    for (int tableRow = 0; tableRow < m_table->rowCount(); ++tableRow) {
        vtl::FlightLogRow& row =
            m_rows[m_table->item(tableRow, Note)->data(kRowIndexRole).toULongLong()];
        if (row.fileName != name) {
            continue;
        }
        try {
            takeNote(row, vtl::readFlightNote(flightPath));
        } catch (const vtl::FlightNotesError&) {
            // The listing shows what it read; the writer was told what went wrong.
        }
        fillNote(tableRow, row);
    }
}

bool FlightLogWindow::matchesFilter(int tableRow) const {
    const QString wanted = m_filter->text().trimmed();
    if (wanted.isEmpty()) {
        return true;
    }
    for (const int column : {Competitor, Serial, Downloaded, Note}) {
        if (m_table->item(tableRow, column)->text().contains(wanted, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

void FlightLogWindow::applyFilter() {
    m_shown = 0;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const bool shown = matchesFilter(row);
        m_table->setRowHidden(row, !shown);
        if (shown) {
            ++m_shown;
        }
    }
    showCounter();
    showOverlayChoice();
}

std::vector<vtl::FlightLogRow> FlightLogWindow::shownRows() const {
    std::vector<vtl::FlightLogRow> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (!m_table->isRowHidden(row)) {
            rows.push_back(
                m_rows[m_table->item(row, Downloaded)->data(kRowIndexRole).toULongLong()]);
        }
    }
    return rows;
}

void FlightLogWindow::openSelected(bool comparison) {
    const int row = m_table->currentRow();
    if (row < 0 || m_table->isRowHidden(row)) {
        return;
    }
    const QString name = m_table->item(row, FileName)->text();
    m_opener(QDir(m_folder).filePath(name).toStdString(), comparison);
}

int FlightLogWindow::selectedShownRows() const {
    int count = 0;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        count += m_table->isRowHidden(index.row()) ? 0 : 1;
    }
    return count;
}

// Enabled for 2 to 8 rows; its hint says what to select, or why more rows are too many.
void FlightLogWindow::showOverlayChoice() {
    const int count = selectedShownRows();
    const bool tooMany = count > static_cast<int>(vtl::kOverlayMaximumFlights);
    m_overlay->setEnabled(count >= 2 && !tooMany);
    const std::string hint = tooMany ? vtl::caption(vtl::OverlayCaption::LogTooManyRows, m_language)
                                     : vtl::caption(vtl::OverlayCaption::LogButtonHint, m_language);
    m_overlay->setToolTip(
        QString::fromStdString(hint).replace(QLatin1String("%d"), QString::number(count)));
}

void FlightLogWindow::overlaySelected() {
    QStringList paths;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (!m_table->isRowHidden(row) && m_table->selectionModel()->isRowSelected(row)) {
            paths << QDir(m_folder).filePath(m_table->item(row, FileName)->text());
        }
    }
    if (paths.size() >= 2 && paths.size() <= static_cast<int>(vtl::kOverlayMaximumFlights)) {
        emit overlayRequested(paths);
    }
}

void FlightLogWindow::chooseFolder() {
    // The prompter has no folder dialog; the standard one is asked directly.
    const QString folder =
        QFileDialog::getExistingDirectory(this, text(FlightLogCaption::FolderButton), m_folder);
    if (!folder.isEmpty()) {
        setFolder(folder);
    }
}

void FlightLogWindow::exportRows() {
    // The first export of a listing starts in the listed folder, later ones at the last name.
    const std::string initial =
        m_lastExportName.empty() ? QDir(m_folder).absolutePath().toStdString() : m_lastExportName;
    const std::string chosen = m_prompter.chooseFile(vtl::FileDialog::Export, initial);
    if (chosen.empty()) {
        return;
    }
    m_lastExportName = chosen;
    m_exportFolder = m_folder;
    // As the main window's spreadsheet export: a name typed without the suffix gets it.
    const std::string name = vtl::withRequiredSuffix(chosen, ".csv");
    // The suffix may name a file the dialog never showed: asked as the main window's export asks.
    const QFileInfo target(QString::fromStdString(name));
    if (target.isDir()) {
        m_prompter.showMessage(vtl::isAFolderText(name, m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        return;
    }
    if (target.exists() &&
        !m_prompter.showMessage(vtl::message(vtl::Message::FileExists, m_language),
                                vtl::message(vtl::Message::SaveCaption, m_language),
                                vtl::PromptButtons::OkCancel)) {
        return;
    }
    const std::string csv = vtl::flightLogCsv(shownRows());
    int error = 0;
    if (!vtl::writeFileAtomically(name, reinterpret_cast<const uint8_t*>(csv.data()), csv.size(),
                                  &error)) {
        m_prompter.showMessage(vtl::cannotCreateFileText(name, error, m_language),
                               vtl::kExceptionCaption, vtl::PromptButtons::Ok);
    }
}

void FlightLogWindow::closeEvent(QCloseEvent* event) {
    m_state.save(*this, *m_table);
    QWidget::closeEvent(event);
}
