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
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QMenu;
class QPrinter;
class QTimer;
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
    // What the station asks of the main window.
    struct Station {
        // Downloads a flight as the main window does; the kept image, or nothing when none
        // became the current flight (the main window has said why).
        std::function<std::optional<std::vector<uint8_t>>()> download;
        // Asks the running download to stop, as Esc in the main window does.
        std::function<void()> cancel;
        // Zeroes the logger without asking; true when it acknowledged (a failure has been told).
        std::function<bool()> zero;
        // The USB serial ports that are there now.
        std::function<std::vector<std::string>()> usbPorts;
        // Prints through the program's print path; what to say after it, empty when nothing was.
        std::function<std::string(const std::function<bool(QPrinter&)>& paint)> print;
    };

    enum Column { Rank, Number, Name, FirstRound };

    // `stateFile`: where the window keeps its recent contests and its size between runs.
    ContestWindow(vtl::Prompter& prompter, const vtl::Language& language, const QString& stateFile,
                  Station station, QWidget* parent = nullptr);
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
    QCheckBox* autoDownloadOption() const { return m_autoDownload; }
    QCheckBox* zeroAfterOption() const { return m_zeroAfter; }
    QLabel* statusLine() const { return m_status; }
    QPushButton* printButton() const { return m_print; }

    // The director's choice of the flight that counts for a competitor in a round: one checkable
    // item per flight kept there, the counted one checked. Empty when the round holds none.
    std::unique_ptr<QMenu> flightChoices(int competitor, int round);
    // Writes the results as the scoring programs read them (results.csv).
    bool saveResultsCsv(const QString& path);
    // Looks at the USB ports once: a port that was not there at the last look starts a download.
    void lookForLogger();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void newContest();
    void setAutoDownload(bool on);
    void setZeroAfter(bool on);
    void zeroAfterGoodDownload();
    void showTableMenu(const QPoint& position);
    void chooseResultsCsv();
    void printResults();
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
    Station m_station;
    std::unique_ptr<vtl::Contest> m_contest;
    std::optional<vtl::ContestFlight> m_lastFlight; // what the card shows
    QStringList m_recent;                           // most recent first
    QStringList m_zeroAfterContests;      // contests whose director agreed to zero after downloads
    std::vector<std::string> m_portsSeen; // the USB ports at the last look
    std::optional<bool> m_zeroed;         // the card's logger was zeroed after its download
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
    QCheckBox* m_autoDownload = nullptr;
    QCheckBox* m_zeroAfter = nullptr;
    QPushButton* m_saveCsv = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_portWatch = nullptr;
};
