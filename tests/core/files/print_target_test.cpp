// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/print_target.h"

#include <gtest/gtest.h>

namespace vtl {
namespace {

class ListedPrinters : public PrinterDirectory {
public:
    ListedPrinters(std::vector<std::string> names, std::string fallback)
        : m_names(std::move(names)), m_default(std::move(fallback)) {}
    std::vector<std::string> printerNames() const override { return m_names; }
    std::string defaultPrinterName() const override { return m_default; }

private:
    std::vector<std::string> m_names;
    std::string m_default;
};

TEST(PrintTarget, FileThenChosenPrinterThenDefault) {
    const ListedPrinters office({"Office", "Lab"}, "Office");
    PrinterChoices choices;
    PrintTarget target = printTarget(choices, office);
    EXPECT_EQ(target.kind, PrintTarget::Kind::Printer);
    EXPECT_EQ(target.name, "Office");

    choices.printerName = "Lab";
    target = printTarget(choices, office);
    EXPECT_EQ(target.kind, PrintTarget::Kind::Printer);
    EXPECT_EQ(target.name, "Lab");

    // A file needs no printer at all.
    choices.outputFile = "/tmp/page.pdf";
    target = printTarget(choices, ListedPrinters({}, ""));
    EXPECT_EQ(target.kind, PrintTarget::Kind::File);
    EXPECT_EQ(target.name, "/tmp/page.pdf");
}

TEST(PrintTarget, NothingUsableIsNone) {
    EXPECT_EQ(printTarget(PrinterChoices{}, ListedPrinters({}, "")).kind, PrintTarget::Kind::None);
    PrinterChoices gone;
    gone.printerName = "Gone";
    EXPECT_EQ(printTarget(gone, ListedPrinters({"Office"}, "Office")).kind,
              PrintTarget::Kind::None);
}

} // namespace
} // namespace vtl
