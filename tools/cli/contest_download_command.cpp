// SPDX-License-Identifier: GPL-3.0-or-later
#include "contest_download_command.h"

#include "contest_command.h"
#include "device_commands.h"
#include "device_session.h"

#include "core/contest/contest.h"
#include "core/shell/text_tables.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace vtl::cli {

namespace {

// The contest's own refusals read as `contest add` words them.
constexpr Language kContestLanguage = Language::English;

int roundOption(const CommandLine& args) {
    const std::optional<std::string> text = args.option("--round");
    if (!text) {
        throw UsageError("contest download needs --round N");
    }
    int value = 0;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, value);
    if (text->empty() || result.ec != std::errc() || result.ptr != end || value < 1) {
        throw UsageError("--round needs a whole number of at least 1, not '" + *text + "'");
    }
    return value;
}

// Why the device must keep its flight, or nothing when the flight is safe everywhere.
std::optional<std::string> reasonNotToZero(const ArchivedDownload& download,
                                           const ContestFlight& flight) {
    if (!download.kept.complete || flight.incomplete) {
        return std::string("the download is incomplete");
    }
    if (!download.archiveFolder) {
        return std::string("no archive copy was asked for (--no-archive)");
    }
    if (download.kept.archiveFailed || !download.kept.keptPath) {
        return std::string("the archive copy could not be written");
    }
    return std::nullopt;
}

} // namespace

std::string runContestDownload(const CommandLine& args) {
    const std::string folder = args.positional(1, "FOLDER");
    const int round = roundOption(args);
    const bool zero = args.flag("--zero");
    try {
        // A locked or damaged contest, or a round it does not have, is refused before the device
        // gives up its flight.
        Contest contest = Contest::open(folder, true);
        if (round > contest.document().rounds) {
            throw ContestError(Message::ContestNoSuchRound, round);
        }
        DeviceSession session(args);
        const ArchivedDownload download = downloadToArchive(session, args);
        const ContestFlight flight = contest.addFlight(round, download.image, "", download.time);
        // The entry is told first: whatever follows, the flight is in the contest.
        std::printf("%s\n", contestFlightJson(flight, args).c_str());
        std::fflush(stdout);
        if (zero) {
            if (const std::optional<std::string> reason = reasonNotToZero(download, flight)) {
                std::fprintf(stderr, "vantorel-cli: the logger was not zeroed: %s\n",
                             reason->c_str());
                throw ToldFailure("not zeroed");
            }
        }
        if (!download.kept.complete) {
            throw IncompleteResult(incompleteDownloadText(
                download.kept.receivedBytes, download.kept.announcedBytes, session.language()));
        }
        if (zero) {
            zeroDevice(session);
        }
        return {};
    } catch (const ContestError& error) {
        throw CommandError(error.text(kContestLanguage));
    }
}

} // namespace vtl::cli
