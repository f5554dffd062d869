// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace vtl {

enum class PromptButtons { Ok, OkCancel };

// Page margins in millimetres.
struct PageMargins {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// The printer choices the set-up dialog edits; they hold for every later print of the run and
// are shown again the next time the dialog opens.
struct PrinterChoices {
    std::string printerName; // empty: the system's default printer
    bool landscape = false;
    std::string outputFile; // a PDF file instead of a printer, where set
    // The paper by its name and portrait size in millimetres; no size: the printer's default.
    std::string paperName;
    double paperWidthMm = 0.0;
    double paperHeightMm = 0.0;
    std::optional<PageMargins> margins; // none: the printer's default margins
};

// The program's file dialogs, each with its own title: the loads of the current flight (Open) and
// of a comparison flight, the measurement save, the picture and the spreadsheet export. The two
// loads share their last name, and so do the measurement save and the export.
enum class FileDialog { Open, Save, Picture, Comparison, Export, OverlayOpen, OverlaySave };

// Everything that asks or tells the user goes through here, so that windows and the protocol can
// be driven by a script in tests. Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message box without owner window; true when the user answered OK.
    virtual bool showMessage(const std::string& text, const std::string& caption,
                             PromptButtons buttons) = 0;

    // Shows a file dialog opened at the given name; empty when the user cancels.
    virtual std::string chooseFile(FileDialog dialog, const std::string& initialName) = 0;

    // Shows the printer set-up dialog over the current choices; false when cancelled.
    virtual bool setUpPrinter(PrinterChoices& choices) = 0;

    // Opens a document with the desktop's default viewer, without waiting for it; false when the
    // desktop has no viewer to hand it to.
    virtual bool openDocument(const std::string& path) = 0;
};

} // namespace vtl
