// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/overlay_window.h"

#include "core/chart/top_row_layout.h"
#include "core/files/flight_log.h"
#include "core/files/overlay_texts.h"
#include "core/files/spreadsheet_export.h"
#include "core/flight/flight_figures_text.h"
#include "core/shell/framework_texts.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "core/shell/utf8_path.h"
#include "gui/chart/chart_view.h"
#include "gui/files/chart_output.h"
#include "gui/files/overlay_chart.h"
#include "gui/look/locale_separator.h"
#include "gui/look/number_item.h"
#include "gui/look/window_look.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace {

using vtl::FlightLogCaption;
using vtl::OverlayCaption;

constexpr double kAbsent = -std::numeric_limits<double>::infinity();

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidgetItem* figureItem(const std::optional<double>& value, int decimals) {
    return new NumberItem(qs(vtl::figureText(value, decimals, localeDecimalSeparator())),
                          value ? *value : kAbsent);
}

// The chart's unit labels follow its size in the window as the main window's layout places them.
class ChartLabelsFollowSize : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            auto* chart = static_cast<ChartView*>(watched);
            vtl::TopRowLayout layout;
            layout.chartWidth = chart->width();
            layout.chartHeight = chart->height();
            layout.unitLabelsTop = chart->height() - 20;
            layout.rightLabelsLeft = chart->width() - 85;
            chart->applyLayout(layout);
        }
        return false;
    }
};

} // namespace

OverlayWindow::OverlayWindow(vtl::Prompter& prompter, const vtl::Language& language,
                             Printer printer, QWidget* parent)
    : QWidget(parent, Qt::Window), m_prompter(prompter), m_language(language),
      m_printer(std::move(printer)) {
    setObjectName(QStringLiteral("OverlayWindow"));
    m_chart = new ChartView(this);
    vtl::applyDesignFont(*m_chart);
    m_chart->setMinimumSize(400, 250);
    m_chart->installEventFilter(new ChartLabelsFollowSize(m_chart));
    m_start = new QRadioButton(this);
    m_start->setObjectName(QStringLiteral("AlignStart"));
    m_recorded = new QRadioButton(this);
    m_recorded->setObjectName(QStringLiteral("AlignRecorded"));
    auto* alignment = new QButtonGroup(this);
    alignment->addButton(m_start);
    alignment->addButton(m_recorded);
    m_start->setChecked(true);
    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("ProblemsLine"));
    m_problems->setWordWrap(true);
    m_problems->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problems->hide();
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("FiguresTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLine"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_picture = new QPushButton(this);
    m_picture->setObjectName(QStringLiteral("PictureButton"));
    m_print = new QPushButton(this);
    m_print->setObjectName(QStringLiteral("PrintButton"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("SaveOverlayButton"));
    m_open = new QPushButton(this);
    m_open->setObjectName(QStringLiteral("OpenOverlayButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_start);
    top->addWidget(m_recorded);
    top->addStretch(1);
    top->addWidget(m_open);
    top->addWidget(m_save);
    top->addWidget(m_picture);
    top->addWidget(m_print);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_problems);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_table);
    layout->addWidget(m_status);

    connect(m_start, &QRadioButton::toggled, this, [this] { rebuild(); });
    connect(m_picture, &QPushButton::clicked, this, &OverlayWindow::savePicture);
    connect(m_print, &QPushButton::clicked, this, &OverlayWindow::print);
    connect(m_save, &QPushButton::clicked, this, &OverlayWindow::saveOverlay);
    connect(m_open, &QPushButton::clicked, this, &OverlayWindow::chooseOverlayFile);

    resize(1100, 800);
    applyLanguage();
}

OverlayWindow::~OverlayWindow() = default;

void OverlayWindow::applyLanguage() {
    const auto text = [this](OverlayCaption which) { return qs(vtl::caption(which, m_language)); };
    m_start->setText(text(OverlayCaption::AlignStart));
    m_recorded->setText(text(OverlayCaption::AlignRecorded));
    m_picture->setText(text(OverlayCaption::SavePicture));
    m_print->setText(text(OverlayCaption::Print));
    m_save->setText(text(OverlayCaption::SaveOverlay));
    m_open->setText(text(OverlayCaption::OpenOverlay));
    const auto column = [this](FlightLogCaption which) {
        return qs(vtl::caption(which, m_language));
    };
    m_table->setHorizontalHeaderLabels(
        {column(FlightLogCaption::FileColumn), column(FlightLogCaption::CompetitorColumn),
         text(OverlayCaption::DateColumn), column(FlightLogCaption::MaximumColumn),
         column(FlightLogCaption::TimeToMaximumColumn), column(FlightLogCaption::FlightTimeColumn),
         column(FlightLogCaption::BestClimbColumn), column(FlightLogCaption::MeanSinkColumn)});
    m_status->clear();
    showTitle();
    showProblems();
    m_chart->clearTitle();
    m_chart->addTitleLine(qs(vtl::overlayChartTitle(m_overlay.alignment, m_language)));
}

void OverlayWindow::showFlights(const std::vector<std::string>& paths,
                                vtl::OverlayAlignment alignment) {
    m_paths = paths;
    m_file.clear();
    const QSignalBlocker quiet(m_start);
    (alignment == vtl::OverlayAlignment::Start ? m_start : m_recorded)->setChecked(true);
    rebuild();
}

void OverlayWindow::rebuild() {
    const vtl::OverlayAlignment alignment =
        m_start->isChecked() ? vtl::OverlayAlignment::Start : vtl::OverlayAlignment::Recorded;
    m_overlay = vtl::buildFlightOverlay(m_paths, alignment);
    showOverlay(*m_chart, m_overlay, m_language);
    m_chart->UndoZoom();
    fillTable();
    showProblems();
    showTitle();
    m_status->clear();
}

void OverlayWindow::fillTable() {
    m_table->setSortingEnabled(false);
    m_table->setRowCount(static_cast<int>(m_overlay.flights.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const vtl::OverlayFlight& flight = m_overlay.flights[static_cast<size_t>(row)];
        const vtl::FlightFigures& f = flight.figures;
        auto* name = new QTableWidgetItem(qs(flight.fileName));
        name->setData(Qt::DecorationRole, ChartView::overlayColour(row));
        name->setToolTip(QDir::toNativeSeparators(qs(flight.path)));
        m_table->setItem(row, FileName, name);
        m_table->setItem(
            row, Competitor,
            new NumberItem(QString::number(flight.competitorNumber), flight.competitorNumber));
        m_table->setItem(row, Date, new QTableWidgetItem(qs(flight.date)));
        m_table->setItem(row, Maximum, figureItem(f.maximumM, 1));
        m_table->setItem(row, TimeToMaximum, figureItem(f.maximumS, 1));
        m_table->setItem(
            row, FlightTime,
            new NumberItem(f.flightTimeS ? qs(vtl::flightTimeText(*f.flightTimeS)) : QString(),
                           f.flightTimeS ? *f.flightTimeS : kAbsent));
        m_table->setItem(row, BestClimb, figureItem(f.bestClimbMps, 2));
        m_table->setItem(row, MeanSink, figureItem(f.meanSinkMps, 2));
    }
    m_table->resizeColumnsToContents();
    // Every flight's row in sight under the chart, which takes the rest of the window.
    const int rows = std::max(1, m_table->rowCount());
    m_table->setFixedHeight(m_table->horizontalHeader()->sizeHint().height() +
                            rows * m_table->verticalHeader()->defaultSectionSize() +
                            2 * m_table->frameWidth());
}

void OverlayWindow::showProblems() {
    QStringList lines;
    for (const vtl::OverlayProblem& problem : m_overlay.problems) {
        lines << qs(vtl::overlayProblemText(problem, m_language));
    }
    m_problems->setText(lines.join(QLatin1Char('\n')));
    m_problems->setVisible(!lines.isEmpty());
}

// "Flight overlay — evening.vtlov", or the flights' names while the overlay has no file.
void OverlayWindow::showTitle() {
    QString name;
    if (!m_file.empty()) {
        name = QFileInfo(qs(m_file)).fileName();
    } else {
        QStringList names;
        for (const std::string& path : m_paths) {
            names << QFileInfo(qs(path)).fileName();
        }
        name = names.join(QStringLiteral(", "));
    }
    const QString title = qs(vtl::caption(OverlayCaption::WindowTitle, m_language));
    setWindowTitle(name.isEmpty() ? title : title + QStringLiteral(" — ") + name);
}

std::string OverlayWindow::dialogStart(const std::string& last) const {
    if (!last.empty()) {
        return last;
    }
    if (!m_file.empty()) {
        return m_file;
    }
    return m_paths.empty() ? std::string()
                           : QFileInfo(qs(m_paths.front())).absolutePath().toStdString() + "/";
}

bool OverlayWindow::refusedAsFolder(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(vtl::utf8Path(path), error)) {
        return false;
    }
    m_prompter.showMessage(vtl::isAFolderText(path, m_language),
                           vtl::message(vtl::Message::ErrorCaption, m_language),
                           vtl::PromptButtons::Ok);
    return true;
}

void OverlayWindow::tellCannotCreate(const std::string& path, int error) {
    m_status->clear();
    m_prompter.showMessage(vtl::cannotCreateFileText(path, error, m_language),
                           vtl::kExceptionCaption, vtl::PromptButtons::Ok);
}

bool OverlayWindow::withWhitePanel(const std::function<bool()>& output) {
    const QColor screen = m_chart->panelColor();
    m_chart->setPanelColor(Qt::white);
    const bool done = output();
    m_chart->setPanelColor(screen);
    return done;
}

// As the main window's picture: a bitmap of the chart as it is shown, white under the curves.
void OverlayWindow::savePicture() {
    const std::string chosen =
        m_prompter.chooseFile(vtl::FileDialog::Picture, dialogStart(m_lastPicture));
    if (chosen.empty()) {
        return;
    }
    m_lastPicture = chosen;
    const std::string name = vtl::withRequiredSuffix(chosen, ".bmp");
    if (refusedAsFolder(name)) {
        return;
    }
    int error = 0;
    ChartOutput output(*m_chart, m_language);
    if (withWhitePanel([&] { return output.saveBitmap(qs(name), &error); })) {
        m_status->setText(qs(vtl::message(vtl::Message::PictureSaved, m_language)) +
                          QDir::toNativeSeparators(qs(name)));
    } else {
        tellCannotCreate(name, error);
    }
}

void OverlayWindow::print() {
    if (!m_printer) {
        return;
    }
    ChartOutput output(*m_chart, m_language);
    const std::string done = m_printer(
        [&](QPrinter& printer) { return withWhitePanel([&] { return output.print(printer); }); });
    m_status->setText(qs(done));
}

void OverlayWindow::saveOverlay() {
    const std::string chosen = m_prompter.chooseFile(vtl::FileDialog::OverlaySave, dialogStart({}));
    if (chosen.empty()) {
        return;
    }
    const std::string name = vtl::withRequiredSuffix(chosen, vtl::kOverlaySuffix);
    if (refusedAsFolder(name)) {
        return;
    }
    // The dialog asks nothing about a file it replaces: the program asks, as for any save.
    if (name != m_file && std::filesystem::exists(vtl::utf8Path(name)) &&
        !m_prompter.showMessage(vtl::message(vtl::Message::FileExists, m_language),
                                vtl::message(vtl::Message::SaveCaption, m_language),
                                vtl::PromptButtons::OkCancel)) {
        return;
    }
    vtl::OverlayDescription description;
    description.alignment = m_overlay.alignment;
    description.paths = m_paths;
    int error = 0;
    if (!vtl::writeOverlayDescription(description, name, &error)) {
        tellCannotCreate(name, error);
        return;
    }
    m_file = name;
    showTitle();
    m_status->setText(qs(vtl::caption(OverlayCaption::OverlaySaved, m_language)) +
                      QDir::toNativeSeparators(qs(name)));
}

bool OverlayWindow::chooseOverlayFile() {
    const std::string chosen = m_prompter.chooseFile(vtl::FileDialog::OverlayOpen, dialogStart({}));
    return !chosen.empty() && openOverlayFile(chosen);
}

bool OverlayWindow::openOverlayFile(const std::string& path) {
    const std::optional<vtl::OverlayDescription> description = vtl::readOverlayDescription(path);
    if (!description) {
        const std::string text = vtl::caption(OverlayCaption::NotAnOverlay, m_language);
        m_prompter.showMessage(qs(text).replace(QLatin1String("%s"), qs(path)).toStdString(),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        return false;
    }
    showFlights(description->paths, description->alignment);
    m_file = path;
    showTitle();
    return true;
}
