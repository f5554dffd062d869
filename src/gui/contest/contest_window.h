// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/contest/contest.h"
#include "core/contest/contest_texts.h"
#include "core/shell/language.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace vtl {
class Prompter;
}

// The contest station: the open contest, the round being flown, a big "Download next" that
// downloads through the main window (so the flight is drawn there as any download is) and keeps
// the flight in the contest, a card with its result that can be read from two metres, and the
// results table under it. The window holds the contest's folder for writing while it is open.
class ContestWindow : public QWidget {
    Q_OBJECT
public:
    // Downloads a flight as the main window does; the kept image, or nothing when none became
    // the current flight (the main window has said why).
    using Downloader = std::function<std::optional<std::vector<uint8_t>>()>;

    enum Column { Rank, Number, Name, FirstRound };

    // `stateFile`: where the window keeps its recent contests and its size between runs.
    ContestWindow(vtl::Prompter& prompter, const vtl::Language& language, const QString& stateFile,
                  Downloader downloader, QWidget* parent = nullptr);
    ~ContestWindow() override;

    // The menu item's text, which the main window shows in its language.
    static QString menuText(vtl::Language language);

    // Makes the contest and shows it; false when the core refused (the user has been told why).
    bool createContest(const QString& folder, vtl::ContestDocument document);
    // Opens the contest for writing and shows it; false as above, the open contest kept.
    bool openContest(const QString& folder);
    vtl::Contest* contest() const { return m_contest.get(); }
    // Reads the competitors' list from the CSV file into the open contest.
    bool loadCompetitors(const QString& path);

    // Downloads the next flight and adds it to the selected round.
    void downloadNext();
    void applyLanguage();

    QStringList recentContests() const { return m_recent; }
    QSpinBox* roundSelector() const { return m_round; }
    QPushButton* downloadButton() const { return m_download; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* openButton() const { return m_open; }
    QToolButton* recentButton() const { return m_recentButton; }
    QLabel* cardNumber() const { return m_cardNumber; }
    QLabel* cardName() const { return m_cardName; }
    QLabel* cardRound() const { return m_cardRound; }
    QLabel* cardScore() const { return m_cardScore; }
    QLabel* cardFlags() const { return m_cardFlags; }
    QTableWidget* resultsTable() const { return m_table; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void newContest();
    void chooseContest();
    void chooseCompetitors();
    void showContest(std::unique_ptr<vtl::Contest> contest);
    void showCard();
    void fillResults();
    void fillRecentMenu();
    void remember(const QString& folder);
    void tell(const std::string& text);
    QString competitorName(int number) const;
    QString text(vtl::ContestCaption which) const;
    void saveState() const;
    void restoreState();

    vtl::Prompter& m_prompter;
    const vtl::Language& m_language;
    QString m_stateFile;
    Downloader m_downloader;
    std::unique_ptr<vtl::Contest> m_contest;
    std::optional<vtl::ContestFlight> m_lastFlight; // what the card shows
    QStringList m_recent;                           // most recent first
    bool m_downloading = false;

    QPushButton* m_new = nullptr;
    QPushButton* m_open = nullptr;
    QToolButton* m_recentButton = nullptr;
    QMenu* m_recentMenu = nullptr;
    QPushButton* m_competitors = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_roundLabel = nullptr;
    QSpinBox* m_round = nullptr;
    QPushButton* m_download = nullptr;
    QLabel* m_cardNumber = nullptr;
    QLabel* m_cardName = nullptr;
    QLabel* m_cardRound = nullptr;
    QLabel* m_cardScore = nullptr;
    QLabel* m_cardFlags = nullptr;
    QTableWidget* m_table = nullptr;
};
