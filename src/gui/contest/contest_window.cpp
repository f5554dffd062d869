// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/contest/contest_window.h"

#include "core/contest/contest_files.h"
#include "core/contest/contest_texts.h"
#include "core/files/flight_log.h"
#include "core/shell/atomic_file.h"
#include "core/shell/local_time.h"
#include "core/shell/prompter.h"
#include "core/shell/text_tables.h"
#include "gui/contest/new_contest_dialog.h"
#include "gui/contest/results_sheet.h"
#include "gui/look/locale_separator.h"
#include "gui/look/number_item.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <limits>

namespace {

using vtl::ContestCaption;

constexpr int kRecentCount = 8;
constexpr int kSortRole = NumberItem::kSortRole;
constexpr double kAbsent = -std::numeric_limits<double>::infinity();
// The card is read from the launch point, two metres from the screen.
constexpr int kCardLargePoints = 40;
constexpr int kCardPoints = 28;
// How often the station looks for a logger that has been plugged in.
constexpr int kPortWatchMilliseconds = 700;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* cardLabel(QWidget* parent, const char* name, int points, bool bold) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

QString ContestWindow::menuText(vtl::Language language) {
    return qs(vtl::caption(ContestCaption::WindowTitle, language));
}

QString ContestWindow::text(ContestCaption which) const {
    return qs(vtl::caption(which, m_language));
}

ContestWindow::ContestWindow(vtl::Prompter& prompter, const vtl::Language& language,
                             const QString& stateFile, Station station, QWidget* parent)
    : QWidget(parent, Qt::Window), m_prompter(prompter), m_language(language),
      m_stateFile(stateFile), m_station(std::move(station)) {
    setObjectName(QStringLiteral("ContestWindow"));
    m_new = new QPushButton(this);
    m_new->setObjectName(QStringLiteral("NewContestButton"));
    m_open = new QPushButton(this);
    m_open->setObjectName(QStringLiteral("OpenContestButton"));
    m_recentButton = new QToolButton(this);
    m_recentButton->setObjectName(QStringLiteral("RecentContestsButton"));
    m_recentButton->setPopupMode(QToolButton::InstantPopup);
    m_recentButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Room for the menu's arrow, which the style otherwise draws over the text's end.
    m_recentButton->setStyleSheet(QStringLiteral("QToolButton { padding-right: 14px; }"));
    m_recentMenu = new QMenu(m_recentButton);
    m_recentButton->setMenu(m_recentMenu);
    m_competitors = new QPushButton(this);
    m_competitors->setObjectName(QStringLiteral("CompetitorsButton"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("ContestTitle"));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_roundLabel = new QLabel(this);
    m_round = new QSpinBox(this);
    m_round->setObjectName(QStringLiteral("RoundSelector"));
    QFont big = m_round->font();
    big.setPointSize(kCardPoints);
    m_round->setFont(big);
    m_roundLabel->setFont(big);
    m_download = new QPushButton(this);
    m_download->setObjectName(QStringLiteral("DownloadNextButton"));
    QFont bigBold = big;
    bigBold.setBold(true);
    m_download->setFont(bigBold);
    m_download->setMinimumHeight(90);

    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("ResultCard"));
    card->setFrameShape(QFrame::Box);
    card->setLineWidth(2);
    m_cardNumber = cardLabel(card, "CardNumber", kCardLargePoints, true);
    m_cardName = cardLabel(card, "CardName", kCardPoints, false);
    m_cardRound = cardLabel(card, "CardRound", kCardPoints, false);
    m_cardScore = cardLabel(card, "CardScore", kCardLargePoints, true);
    m_cardScore->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cardFlags = cardLabel(card, "CardFlags", kCardPoints, true);
    QPalette warning = m_cardFlags->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    m_cardFlags->setPalette(warning);
    m_cardFlags->setWordWrap(true);
    auto* cardLayout = new QGridLayout(card);
    cardLayout->addWidget(m_cardNumber, 0, 0);
    cardLayout->addWidget(m_cardName, 0, 1);
    cardLayout->addWidget(m_cardScore, 0, 2, 2, 1);
    cardLayout->addWidget(m_cardRound, 1, 0, 1, 2);
    cardLayout->addWidget(m_cardFlags, 2, 0, 1, 3);
    cardLayout->setColumnStretch(1, 1);

    m_table = new QTableWidget(0, FirstRound + 1, this);
    m_table->setObjectName(QStringLiteral("ResultsTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    QFont tableFont = m_table->font();
    tableFont.setPointSize(tableFont.pointSize() + 4);
    m_table->setFont(tableFont);
    m_table->horizontalHeader()->setFont(tableFont);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);

    m_autoDownload = new QCheckBox(this);
    m_autoDownload->setObjectName(QStringLiteral("AutoDownloadOption"));
    m_zeroAfter = new QCheckBox(this);
    m_zeroAfter->setObjectName(QStringLiteral("ZeroAfterOption"));
    m_print = new QPushButton(this);
    m_print->setObjectName(QStringLiteral("PrintResultsButton"));
    m_saveCsv = new QPushButton(this);
    m_saveCsv->setObjectName(QStringLiteral("SaveResultsCsvButton"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("ContestStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_portWatch = new QTimer(this);
    m_portWatch->setInterval(kPortWatchMilliseconds);
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setSortIndicator(Rank, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);

    auto* top = new QHBoxLayout;
    top->addWidget(m_new);
    top->addWidget(m_open);
    top->addWidget(m_recentButton);
    top->addWidget(m_competitors);
    top->addWidget(m_title, 1);
    auto* stationRow = new QHBoxLayout;
    stationRow->addWidget(m_roundLabel);
    stationRow->addWidget(m_round);
    stationRow->addWidget(m_download, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(m_autoDownload);
    options->addWidget(m_zeroAfter);
    options->addStretch(1);
    auto* outputs = new QHBoxLayout;
    outputs->addWidget(m_status, 1);
    outputs->addWidget(m_print);
    outputs->addWidget(m_saveCsv);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(stationRow);
    layout->addLayout(options);
    layout->addWidget(card);
    layout->addWidget(m_table, 1);
    layout->addLayout(outputs);

    connect(m_new, &QPushButton::clicked, this, &ContestWindow::newContest);
    connect(m_open, &QPushButton::clicked, this, &ContestWindow::chooseContest);
    connect(m_competitors, &QPushButton::clicked, this, &ContestWindow::chooseCompetitors);
    connect(m_download, &QPushButton::clicked, this, &ContestWindow::downloadNext);
    connect(m_autoDownload, &QCheckBox::toggled, this, &ContestWindow::setAutoDownload);
    connect(m_zeroAfter, &QCheckBox::clicked, this, &ContestWindow::setZeroAfter);
    connect(m_portWatch, &QTimer::timeout, this, &ContestWindow::lookForLogger);
    connect(m_table, &QWidget::customContextMenuRequested, this, &ContestWindow::showTableMenu);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        showTableMenu(m_table->visualRect(m_table->model()->index(row, column)).center());
    });
    connect(m_saveCsv, &QPushButton::clicked, this, &ContestWindow::chooseResultsCsv);
    connect(m_print, &QPushButton::clicked, this, &ContestWindow::printResults);
    // Enter or F5 from anywhere in the window: the director's hands are on the logger.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_F5), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &ContestWindow::downloadNext);
    }
    // Esc stops a download from here as it does from the main window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_downloading && m_station.cancel) {
            m_station.cancel();
        }
    });

    resize(1000, 760);
    restoreState();
    fillRecentMenu();
    applyLanguage();
}

ContestWindow::~ContestWindow() = default;

void ContestWindow::applyLanguage() {
    setWindowTitle(text(ContestCaption::WindowTitle));
    m_new->setText(text(ContestCaption::NewButton));
    m_open->setText(text(ContestCaption::OpenButton));
    m_recentButton->setText(text(ContestCaption::RecentButton));
    m_competitors->setText(text(ContestCaption::CompetitorsButton));
    m_roundLabel->setText(text(ContestCaption::RoundLabel));
    m_download->setText(text(ContestCaption::DownloadNextButton) + QStringLiteral("  (F5)"));
    m_autoDownload->setText(text(ContestCaption::AutoDownloadOption));
    m_zeroAfter->setText(text(ContestCaption::ZeroAfterOption));
    m_saveCsv->setText(text(ContestCaption::SaveResultsCsvButton));
    m_print->setText(text(ContestCaption::PrintResultsButton));
    if (m_portWatch->isActive()) {
        m_status->setText(text(ContestCaption::WaitingForLogger));
    }
    showCard();
    fillResults();
}

bool ContestWindow::createContest(const QString& folder, vtl::ContestDocument document) {
    try {
        showContest(std::make_unique<vtl::Contest>(
            vtl::Contest::create(folder.toStdString(), std::move(document))));
    } catch (const vtl::ContestError& error) {
        tell(error.text(m_language));
        return false;
    }
    return true;
}

bool ContestWindow::openContest(const QString& folder) {
    if (m_contest && QFileInfo(qs(m_contest->folder())) == QFileInfo(folder)) {
        remember(folder);
        return true;
    }
    try {
        showContest(std::make_unique<vtl::Contest>(vtl::Contest::open(folder.toStdString(), true)));
    } catch (const vtl::ContestError& error) {
        tell(error.text(m_language));
        return false;
    }
    return true;
}

bool ContestWindow::loadCompetitors(const QString& path) {
    if (!m_contest) {
        return false;
    }
    try {
        m_contest->setCompetitors(vtl::readCompetitorsFile(path.toStdString()));
    } catch (const vtl::ContestError& error) {
        tell(error.text(m_language));
        return false;
    }
    fillResults();
    return true;
}

void ContestWindow::showContest(std::unique_ptr<vtl::Contest> contest) {
    m_contest = std::move(contest);
    // A contest opened again shows the flight kept last, so the station goes on where it was.
    const std::vector<vtl::ContestFlight>& flights = m_contest->document().flights;
    m_lastFlight = flights.empty() ? std::nullopt : std::optional(flights.back());
    remember(qs(m_contest->folder()));
    m_round->setRange(1, m_contest->document().rounds);
    m_round->setValue(m_lastFlight ? m_lastFlight->round : 1);
    m_zeroed.reset();
    m_zeroAfter->setChecked(
        m_zeroAfterContests.contains(QFileInfo(qs(m_contest->folder())).absoluteFilePath()));
    showCard();
    fillResults();
}

void ContestWindow::downloadNext() {
    if (!m_contest || m_downloading) {
        return;
    }
    // The window takes input while the main window downloads; nothing may change the contest or
    // the round under the flight that is coming.
    const std::vector<QWidget*> controls = {m_new,   m_open,     m_recentButton, m_competitors,
                                            m_round, m_download, m_zeroAfter};
    m_downloading = true;
    for (QWidget* control : controls) {
        control->setEnabled(false);
    }
    const std::optional<std::vector<uint8_t>> image = m_station.download();
    m_downloading = false;
    for (QWidget* control : controls) {
        control->setEnabled(true);
    }
    m_recentButton->setEnabled(!m_recent.isEmpty());
    if (!image) {
        return;
    }
    try {
        m_lastFlight =
            m_contest->addFlight(m_round->value(), *image, std::string(), vtl::localTimeNow());
    } catch (const vtl::ContestError& error) {
        tell(error.text(m_language));
        return;
    }
    m_zeroed.reset();
    showCard();
    fillResults();
    if (m_zeroAfter->isChecked() && !m_lastFlight->incomplete) {
        zeroAfterGoodDownload();
    }
}

// Only a flight downloaded whole and kept in the contest may be wiped from its logger.
void ContestWindow::zeroAfterGoodDownload() {
    if (!m_station.zero) {
        return;
    }
    m_zeroed = m_station.zero();
    showCard();
}

QString ContestWindow::competitorName(int number) const {
    for (const vtl::Competitor& competitor : m_contest->competitors()) {
        if (competitor.number == number) {
            return qs(competitor.name);
        }
    }
    return qs(vtl::Contest::unregisteredName(number));
}

void ContestWindow::showCard() {
    m_download->setEnabled(m_contest != nullptr && !m_downloading);
    for (QWidget* control : std::initializer_list<QWidget*>{m_competitors, m_round, m_autoDownload,
                                                            m_zeroAfter, m_saveCsv}) {
        control->setEnabled(m_contest != nullptr);
    }
    if (!m_contest) {
        m_title->setText(text(ContestCaption::NoContest));
    } else {
        const vtl::ContestDocument& document = m_contest->document();
        m_title->setText(qs(document.name) + QStringLiteral("  ·  ") + qs(document.rule.text()) +
                         QStringLiteral("  ·  ") + qs(m_contest->folder()));
    }
    if (!m_lastFlight) {
        for (QLabel* label : {m_cardNumber, m_cardName, m_cardRound, m_cardScore, m_cardFlags}) {
            label->clear();
        }
        return;
    }
    const vtl::ContestFlight& flight = *m_lastFlight;
    m_cardNumber->setText(QString::number(flight.competitor));
    // The flag says when the number is not on the list; the name would only repeat the number.
    const bool listed = std::any_of(
        m_contest->competitors().begin(), m_contest->competitors().end(),
        [&](const vtl::Competitor& competitor) { return competitor.number == flight.competitor; });
    m_cardName->setText(listed ? competitorName(flight.competitor) : QStringLiteral("(?)"));
    m_cardRound->setText(text(ContestCaption::RoundLabel) + QLatin1Char(' ') +
                         QString::number(flight.round));
    const std::string score = vtl::contestScoreText(flight.score, m_contest->document().rule.kind(),
                                                    localeDecimalSeparator());
    m_cardScore->setText(score.empty() ? text(ContestCaption::NoScore) : qs(score));
    QString flags = qs(vtl::contestFlagsText(flight, m_language));
    if (m_zeroed) {
        flags += (flags.isEmpty() ? QString() : QStringLiteral(" · ")) +
                 text(*m_zeroed ? ContestCaption::FlagZeroed : ContestCaption::FlagNotZeroed);
    }
    m_cardFlags->setText(flags);
}

void ContestWindow::fillResults() {
    const int rounds = m_contest ? m_contest->document().rounds : 0;
    const int totalColumn = FirstRound + rounds;
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setColumnCount(totalColumn + 1);
    QStringList headers = {text(ContestCaption::RankColumn), text(ContestCaption::NumberColumn),
                           text(ContestCaption::NameColumn)};
    for (int round = 1; round <= rounds; ++round) {
        headers << text(ContestCaption::RoundColumn) + QLatin1Char(' ') + QString::number(round);
    }
    headers << text(ContestCaption::TotalColumn);
    m_table->setHorizontalHeaderLabels(headers);
    if (!m_contest) {
        m_table->setRowCount(0);
        m_table->setSortingEnabled(true);
        return;
    }
    const int decimals = vtl::contestScoreDecimals(m_contest->document().rule.kind());
    const char separator = localeDecimalSeparator();
    auto scoreItem = [&](const std::optional<double>& score) {
        return new NumberItem(qs(vtl::figureText(score, decimals, separator)),
                              score ? *score : kAbsent);
    };
    const std::vector<vtl::CompetitorResult> results = m_contest->results();
    m_table->setRowCount(static_cast<int>(results.size()));
    for (int row = 0; row < static_cast<int>(results.size()); ++row) {
        const vtl::CompetitorResult& result = results[static_cast<size_t>(row)];
        m_table->setItem(row, Rank, new NumberItem(QString::number(result.rank), result.rank));
        m_table->setItem(
            row, Number,
            new NumberItem(QString::number(result.competitor.number), result.competitor.number));
        m_table->setItem(row, Name, new QTableWidgetItem(qs(result.competitor.name)));
        for (int round = 0; round < rounds; ++round) {
            const size_t index = static_cast<size_t>(round);
            m_table->setItem(
                row, FirstRound + round,
                scoreItem(index < result.scores.size() ? result.scores[index] : std::nullopt));
        }
        m_table->setItem(row, totalColumn, scoreItem(result.total));
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    // The names take the room the table has; the figures keep their width.
    m_table->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
}

void ContestWindow::newContest() {
    NewContestDialog dialog(m_prompter, m_language, this);
    if (dialog.exec() == QDialog::Accepted) {
        createContest(dialog.folder(), dialog.document());
    }
}

void ContestWindow::chooseContest() {
    // The prompter has no folder dialog; the standard one is asked directly.
    const QString folder = QFileDialog::getExistingDirectory(
        this, text(ContestCaption::OpenButton), m_recent.isEmpty() ? QString() : m_recent.front());
    if (!folder.isEmpty()) {
        openContest(folder);
    }
}

void ContestWindow::chooseCompetitors() {
    if (!m_contest) {
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, text(ContestCaption::CompetitorsButton),
                                     qs(m_contest->folder()), QStringLiteral("CSV (*.csv);;* (*)"));
    if (!path.isEmpty()) {
        loadCompetitors(path);
    }
}

void ContestWindow::remember(const QString& folder) {
    const QString path = QFileInfo(folder).absoluteFilePath();
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kRecentCount) {
        m_recent.removeLast();
    }
    fillRecentMenu();
    saveState();
}

void ContestWindow::fillRecentMenu() {
    m_recentMenu->clear();
    for (const QString& folder : m_recent) {
        QAction* item = m_recentMenu->addAction(folder);
        connect(item, &QAction::triggered, this, [this, folder] { openContest(folder); });
    }
    m_recentButton->setEnabled(!m_recent.isEmpty());
}

void ContestWindow::tell(const std::string& text) {
    m_prompter.showMessage(text, vtl::message(vtl::Message::ErrorCaption, m_language),
                           vtl::PromptButtons::Ok);
}

void ContestWindow::closeEvent(QCloseEvent* event) {
    saveState();
    event->accept();
}

void ContestWindow::saveState() const {
    QSettings state(m_stateFile, QSettings::IniFormat);
    state.setValue(QStringLiteral("contest/recent"), m_recent);
    state.setValue(QStringLiteral("contest/zeroAfterDownload"), m_zeroAfterContests);
    state.setValue(QStringLiteral("contest/geometry"), saveGeometry());
}

void ContestWindow::restoreState() {
    QSettings state(m_stateFile, QSettings::IniFormat);
    m_recent = state.value(QStringLiteral("contest/recent")).toStringList();
    m_zeroAfterContests = state.value(QStringLiteral("contest/zeroAfterDownload")).toStringList();
    const QByteArray geometry = state.value(QStringLiteral("contest/geometry")).toByteArray();
    if (!geometry.isEmpty()) {
        restoreGeometry(geometry);
    }
}
