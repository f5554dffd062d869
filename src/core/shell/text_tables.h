// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <cstdint>
#include <string>

// The program's bilingual texts: every caption and message exists in Polish and in English and
// is picked by the current language. Texts are UTF-8.
namespace vtl {

struct TextPair {
    const char* polish;
    const char* english;
    const char* in(Language language) const {
        return language == Language::Polish ? polish : english;
    }
};

// Captions of the main window, by their fixed position in the table.
enum class MainCaption {
    Unused0,
    ZeroButton,       // BZerowanie
    ReadDeviceButton, // B_Odczyt_Vantorelu
    AltitudeSeries,   // Series1
    SendSetupButton,  // B_wyslij of the device settings dialog
    Unused5,
    DiscGroup,        // GBDysk_ZapisOdczyt
    SaveButton,       // BZapisz
    LoadButton,       // BOdczyt
    SetupMenu,        // Ustawienia1
    WaitIndicator,    // ECzekaj
    CompetitorNumber, // LZaw1, LZaw2, settings dialog, printout
    SerialNumber,     // L_NumSer1, L_NumSer2, settings dialog, printout
    Comparison,       // B_Porownanie, Porownanie1, Series3
    ChartsMenu,       // Widok1
    Acceleration,     // Przyspieszenie1, Series2
    Device,           // GroupB_Vtl, Vantorel1
    WindowCaption,    // the main window
    Sampling,         // LProbk1, LProbk2, settings dialog, printout
    Temperature,      // LTemp1, LTemp2
    File,             // GroupB_Por
    PrinterSetupMenu, // UstawDrukarke1
    PrintMenu,        // Drukuj1
    SavePictureMenu,  // ZapiszObraz1
    ExportMenu,       // ZapiszdoExcela1
    ReadFrom,         // printout
    CancelButton,     // B_Przerwij, beside the download indicators
    // Titles of the file dialogs: "Odczyt", "Porównanie", "Zapisz", the export, "Zapisz Obraz".
    LoadFlightDialog,
    ComparisonDialog,
    SaveFlightDialog,
    ExportDialog,
    PictureDialog,
    // Filters of the file dialogs: measurements, spreadsheets, pictures, anything.
    FlightFilesFilter,
    SpreadsheetFilesFilter,
    PictureFilesFilter,
    AllFilesFilter,
    ChartHint, // tooltip of Chart1: the mouse gestures
    Count
};

enum class SettingsCaption {
    SelectPort,    // L_Numer_Portu
    TriggerHeight, // L_PoziomWyzwalania
    Temperature,   // L_Kalibracja_Temp
    Send,
    DialogCaption,
    ManualZeroing, // LZerReczne
    Temperature2,
    Acceleration,
    Delay,   // L_CzasOp
    Seconds, // L_Sek
    Yes,     // second item of ComboB_Zer
    No,      // first item of ComboB_Zer
    Count
};

enum class FilterCaption {
    PreCut,      // Label1
    FinalCut,    // Label3
    PreFilter,   // Label2
    FinalFilter, // Label4
    Save,        // Button2
    Default,     // Button1
    Count
};

// The flight log window: its title (also its menu item), buttons, filter hint, the states of a
// flight, then the column titles in the window's order of columns.
enum class FlightLogCaption {
    WindowTitle,
    FolderButton,
    OpenButton,
    CompareButton,
    ExportButton,
    FilterHint,
    StatusOk, // one per LogStatus, in its order
    StatusPartial,
    StatusCorrupt,
    StatusUnreadable,
    StatusNotAFlight,
    DownloadedColumn, // the first column
    SerialColumn,
    CompetitorColumn,
    SamplingColumn,
    TemperatureColumn,
    MaximumColumn,
    TimeToMaximumColumn,
    FlightTimeColumn,
    BestClimbColumn,
    MeanSinkColumn,
    StatusColumn,
    FileColumn,
    NoteColumn, // the last column
    NoteStaleHint,
    NoteLabel,
    NoteNoFileHint,
    NoteStaleTitle, // the output title's word for a note of an earlier version of the file
    Count
};

enum class Message {
    ZeroingConfirmation,
    ZeroingCaption,
    PortError, // followed by the port name
    CommunicationError,
    ErrorCaption,
    ZeroingDone,
    ZeroingFailed,
    ZeroingResultCaption,
    NoData,
    NoNewFlight,
    FileExists,
    SaveCaption,
    WrongTemperature,
    SetupFailed,
    SetupOk,
    SetupCaption,
    CorruptFlight,
    ArchiveFailed, // followed by the archive folder's path
    ValueTooLarge, // device settings dialog
    FieldEmpty,    // device settings dialog
    DeviceName,    // device settings dialog, not shown
    DefaultSetupConfirmation,
    IncompleteDownloadOf, // two %d: bytes received, bytes announced
    IncompleteDownload,   // one %d: bytes received, when no size was announced
    KeptAs,               // followed by the path of the archived copy
    NotAFlight,           // asked before a file that does not look like a flight is loaded
    NoPrinter,            // a print with no usable printer
    PrintedOn,            // status line, followed by the printer's name
    PrintedToFile,        // status line, followed by the path of the PDF file
    PictureSaved,         // status line, followed by the path of the picture
    Exported,             // status line, followed by the path of the spreadsheet file
    IncompleteFile,       // status line: the file just opened was cut off before the flight ended
    HelpMissing,          // followed by the manual's file name
    HelpWindowCaption,    // the program's own help window and its controls
    HelpBack,
    HelpForward,
    HelpFindNext,
    HelpSearchHint,
    IsAFolder, // %s: a path chosen for a file that names a folder
    // Why the system refused a file, added to "Cannot create file".
    ReasonReadOnlyFileSystem,
    ReasonNoSpace,
    ReasonNoSuchFolder,
    ReasonPermissionDenied,
    ReasonIsAFolder,
    ReasonFileTooLarge,
    // A pipe, a device or a socket where a flight's file was expected.
    ReasonNotARegularFile,
    ReasonNoDevice,
    ReasonNameTooLong,
    ReasonLinkLoop,
    ReasonOther,        // %d: the system's error number
    FolderUnreadable,   // %s: a folder that cannot be listed, followed by the reason
    SettingsUnreadable, // %s: the settings file that exists but cannot be read
    SettingsSavedIn,    // %s: the folder where this run's choices go instead
    // Why a port could not be opened, shown below "Communication Error: COM5".
    PortNotFound,     // %s: the device path
    PortNoPermission, // %s: the device path
    PortBusy,         // %s: the port name
    PortBusyHeldBy,   // %s: the port name, %d: the process that holds it
    UsePort,          // %s: the one USB serial port offered instead
    PortSimulator,    // the port list: an alias made by the device simulator
    RecoveredFlight,  // %s: the flight file taken back from a save that was interrupted
    RecoveryFailed,   // %s: a temporary file holding a flight that could not be taken back
    ForeignLogCache,  // %s: a file of the log cache's name that another program put there
    // The contest folder and its files.
    ContestDamaged,      // %s: contest.json or competitors.csv that cannot be read as such
    ContestLineColumn,   // two %d: the line and the column at fault, after ContestDamaged
    ContestExists,       // %s: a folder that already holds a contest
    ContestMissing,      // %s: a folder without a contest
    ContestLocked,       // %s: a contest folder another program has open for writing
    ContestNotAFlight,   // %s: a file added to a contest that is no flight
    ContestNoSuchRound,  // %d: a round the contest does not have
    ContestNoSuchFlight, // %s: a flight file the contest does not hold
    ContestWriteFailed,  // %s: a contest file that could not be written, followed by the reason
    ContestBadRule,      // %s: a scoring rule that is none
    // The notes kept with a folder's flights.
    NotesDamaged,     // %s: a notes file that cannot be read (as notes); it is left as it is
    NotesWriteFailed, // %s: a notes file that could not be written, followed by the reason
    NotesNotUtf8,     // a note whose text is not UTF-8
    NotesNoFlight,    // %s: a flight file that cannot be read, so its note cannot be found
    Count
};

std::string caption(MainCaption which, Language language);
std::string caption(SettingsCaption which, Language language);
std::string caption(FilterCaption which, Language language);
std::string caption(FlightLogCaption which, Language language);
std::string message(Message which, Language language);

// "Incomplete download: received 1200 of 3008 bytes"; without an announced size (0) the second
// number is left out.
std::string incompleteDownloadText(uint32_t received, uint32_t announced, Language language);

// The message with its "%s" replaced by the text.
std::string messageWith(Message which, const std::string& text, Language language);

// "Port COM5 is in use by another program (process 1234)."; without a known process (0) the
// number is left out.
std::string portBusyText(const std::string& portName, long holderProcess, Language language);

// "/home/ala/loty is a folder"
std::string isAFolderText(const std::string& path, Language language);

// "Cannot read the folder /media/card: permission denied", from the errno value of the listing.
std::string folderUnreadableText(const std::string& path, int error, Language language);

// Why the system refused a file, from its errno value: "read-only file system", "no space left on
// the disk" ...; an error without a text of its own gives its number.
std::string systemReasonText(int error, Language language);

} // namespace vtl
