// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/shell/atomic_file.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "gui/files/flight_note_field.h"
#include "gui/files/printer_setup.h"
#include "gui/look/locale_separator.h"

#include <QPrinter>

#include <filesystem>

// The main window's output commands: the printer, the print, the picture and the export.

vtl::FlightPanelTexts TVantorel_BMP::outputPanel() const {
    vtl::FlightPanelTexts panel = m_presenter.panel(vtl::FlightRole::Current);
    panel.origin = m_form.GroupB_Vtl->title().toStdString();
    panel.note = m_noteField->note();
    panel.noteStale = m_noteField->noteStale();
    return panel;
}

// A file cannot take the place of a folder: the user is told so instead of a failed write.
bool TVantorel_BMP::refusedAsFolder(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        return false;
    }
    m_prompter.showMessage(vtl::isAFolderText(path, m_currentLanguage),
                           vtl::message(vtl::Message::ErrorCaption, m_currentLanguage),
                           vtl::PromptButtons::Ok);
    return true;
}

void TVantorel_BMP::UstawDrukarke1Click() {
    m_prompter.setUpPrinter(m_printerChoices);
}

// Without a usable printer the user is told so, where the print would otherwise come out nowhere;
// a PDF file that cannot be written is reported as any other file.
void TVantorel_BMP::Drukuj1Click() {
    using Kind = vtl::PrintTarget::Kind;
    const vtl::PrintTarget target = vtl::printTarget(m_printerChoices, *m_printers);
    if (target.kind == Kind::File && refusedAsFolder(target.name)) {
        return;
    }
    bool printed = false;
    if (target.kind != Kind::None) {
        m_output.prepareChartForOutput(outputPanel());
        printed = m_output.print(m_printerChoices);
        m_output.restore();
    }
    if (printed) {
        m_outputStatus.show(target.kind == Kind::File ? vtl::Message::PrintedToFile
                                                      : vtl::Message::PrintedOn,
                            target.name);
        return;
    }
    m_outputStatus.clear();
    if (target.kind == Kind::File) {
        m_prompter.showMessage(vtl::cannotCreateFileText(target.name), vtl::kExceptionCaption,
                               vtl::PromptButtons::Ok);
        return;
    }
    m_prompter.showMessage(vtl::message(vtl::Message::NoPrinter, m_currentLanguage),
                           vtl::message(vtl::Message::ErrorCaption, m_currentLanguage),
                           vtl::PromptButtons::Ok);
}

std::string TVantorel_BMP::printDocument(const std::function<bool(QPrinter&)>& paint) {
    using Kind = vtl::PrintTarget::Kind;
    if (!m_prompter.setUpPrinter(m_printerChoices)) {
        return std::string();
    }
    const vtl::PrintTarget target = vtl::printTarget(m_printerChoices, *m_printers);
    if (target.kind == Kind::File && refusedAsFolder(target.name)) {
        return std::string();
    }
    if (target.kind != Kind::None) {
        QPrinter printer(QPrinter::HighResolution);
        vtl::applyPrinterChoices(m_printerChoices, printer);
        if (paint(printer)) {
            const vtl::Message done =
                target.kind == Kind::File ? vtl::Message::PrintedToFile : vtl::Message::PrintedOn;
            const std::string text = vtl::message(done, m_currentLanguage);
            return text.find("%s") != std::string::npos
                       ? vtl::messageWith(done, target.name, m_currentLanguage)
                       : text + target.name;
        }
    }
    if (target.kind == Kind::File) {
        m_prompter.showMessage(vtl::cannotCreateFileText(target.name), vtl::kExceptionCaption,
                               vtl::PromptButtons::Ok);
    } else {
        m_prompter.showMessage(vtl::message(vtl::Message::NoPrinter, m_currentLanguage),
                               vtl::message(vtl::Message::ErrorCaption, m_currentLanguage),
                               vtl::PromptButtons::Ok);
    }
    return std::string();
}

void TVantorel_BMP::ZapiszObraz1Click() {
    m_output.prepareChartForOutput(outputPanel());
    const std::string chosen = m_prompter.chooseFile(vtl::FileDialog::Picture,
                                                     m_measurements.outputStart(m_lastPictureName));
    if (!chosen.empty()) {
        m_lastPictureName = chosen;
        const std::string name = vtl::withRequiredSuffix(chosen, ".bmp");
        int error = 0;
        if (refusedAsFolder(name)) {
            m_outputStatus.clear();
        } else if (m_output.saveBitmap(QString::fromStdString(name), &error)) {
            m_outputStatus.show(vtl::Message::PictureSaved, name);
        } else {
            m_outputStatus.clear();
            m_prompter.showMessage(vtl::cannotCreateFileText(name, error, m_currentLanguage),
                                   vtl::kExceptionCaption, vtl::PromptButtons::Ok);
        }
    }
    m_output.restore();
}

void TVantorel_BMP::ZapiszdoExcela1Click() {
    if (m_currentFlight->seriesCount == 0) {
        m_prompter.showMessage(vtl::message(vtl::Message::NoData, m_currentLanguage),
                               vtl::message(vtl::Message::ErrorCaption, m_currentLanguage),
                               vtl::PromptButtons::Ok);
        return;
    }
    const std::optional<std::string> name =
        m_measurements.chooseSaveName(".csv", vtl::FileDialog::Export);
    if (!name) {
        return;
    }
    const std::vector<uint8_t> bytes =
        vtl::spreadsheetBytes(*m_currentFlight, localeDecimalSeparator());
    int error = 0;
    if (vtl::writeFileAtomically(*name, bytes.data(), bytes.size(), &error)) {
        m_outputStatus.show(vtl::Message::Exported, *name);
    } else {
        m_outputStatus.clear();
        m_prompter.showMessage(vtl::cannotCreateFileText(*name, error, m_currentLanguage),
                               vtl::kExceptionCaption, vtl::PromptButtons::Ok);
    }
}
