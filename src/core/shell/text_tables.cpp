// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/text_tables.h"

#include <array>
#include <cerrno>

namespace vtl {
namespace {

constexpr std::array<TextPair, static_cast<size_t>(MainCaption::Count)> kMainCaptions = {{
    {"Zapisz", "Save"},
    {"Zerowanie", "Clear"},
    {"Odczyt Vantorelu", "Read Vantoreal"},
    {"Wysokosc", "Altitude"},
    {"Zapisz", "Save"},
    {"Zapisz", "Save"},
    {"Dysk - Zapis/Odczyt", "Disc - Save/Load"},
    {"Zapisz", "Save"},
    {"Odczyt", "Load"},
    {"Ustawienia", "Setup"},
    {"     Czekaj", "      Wait"},
    {"Nr.Zawodnika", "Competitor No."},
    {"Nr.Seryjny", "Serial No."},
    {"Porównanie", "Compare   "},
    {"Wykresy", "Charts"},
    {"Przyspieszenie", "Acceleration  "},
    {"Vantorel", "Vantoreal"},
    {"Vantorel BMP    Ver. 12.2013", "Vantoreal BMP    Ver. 12.2013"},
    {"Pomiary", "Sampling"},
    {"Temperatura", "Temperature"},
    {"Plik", "File"},
    {"Ustaw Drukarke", "Printer Setup"},
    {"Drukuj", "Print"},
    {"Zapisz Obraz", "Save Picture"},
    {"Export do Excel", "Export to Excel"},
    {"Odczyt z: ", "Read from:"},
    {"Przerwij", "Cancel"},
    {"Odczyt pomiaru", "Load flight"},
    {"Porównanie - odczyt pomiaru", "Compare - load flight"},
    {"Zapisz pomiar", "Save flight"},
    {"Eksport do Excela", "Export to Excel"},
    {"Zapisz obraz", "Save picture"},
    {"Pomiary (*.bin)", "Flights (*.bin)"},
    {"Arkusze (*.csv)", "Spreadsheets (*.csv)"},
    {"Obrazy (*.bmp)", "Pictures (*.bmp)"},
    {"Wszystkie pliki (*)", "All files (*)"},
    {"Powiększenie: przeciągnij myszą w prawo w dół.\n"
     "Cofnięcie powiększenia: przeciągnij w lewo lub w górę.\n"
     "Przesuwanie: przeciągnij prawym przyciskiem.\n"
     "Kółko myszy: powiększa i pomniejsza.\n"
     "Kliknięcie krzywej usuwa ją do ponownego narysowania pomiaru.",
     "Zoom: drag to the right and down.\n"
     "Undo the zoom: drag to the left or up.\n"
     "Scroll: drag with the right button.\n"
     "Mouse wheel: zooms in and out.\n"
     "A click on a curve removes it until the flight is drawn again."},
}};

constexpr std::array<TextPair, static_cast<size_t>(SettingsCaption::Count)> kSettingsCaptions = {{
    {"Wybierz Port", "Select Port"},
    {"Wysokosc Startu Pomiaru", "Setup Heigh Trigger"},
    {"Temperatura", "Temperature"},
    {"Wyslij", "Send"},
    {"Ustawienia", "Setup"},
    {"Zerowanie ręczne", "Manual reset"},
    {"Temperatura", "Temperature"},
    {"Przyspieszenie", "Acceleration"},
    {"Czas Opoznienia", "Delay"},
    {"[sek]", "[sec]"},
    {"Tak", "Yes"},
    {"Nie", "No"},
}};

constexpr std::array<TextPair, static_cast<size_t>(FilterCaption::Count)> kFilterCaptions = {{
    {"Obciecie wstepne[cm]", "Pre-cut [cm]"},
    {"Obciecie dokladne [cm]", "Final cut [cm]"},
    {"Filtr wstepny [4-20]", "Prefilter [4-20]"},
    {"Filtr dokladny [6-30]", "Final Filter [6-30]"},
    {"Zapisz", "Save"},
    {"Domyslne", "Default"},
}};

constexpr std::array<TextPair, static_cast<size_t>(FlightLogCaption::Count)> kFlightLogCaptions = {{
    {"Dziennik lotów", "Flight log"},
    {"Folder…", "Folder…"},
    {"Otwórz", "Open"},
    {"Porównaj", "Compare"},
    {"Eksport", "Export"},
    {"Filtr: zawodnik, numer seryjny, data lub uwagi", "Filter: competitor, serial, date or note"},
    {"dobry", "ok"},
    {"niepełny", "incomplete"},
    {"uszkodzony", "corrupt"},
    {"nieczytelny", "unreadable"},
    {"nie lot", "not a flight"},
    {"Pobrano", "Downloaded"},
    {"Nr seryjny", "Serial"},
    {"Zawodnik", "Competitor"},
    {"Próbkowanie", "Sampling"},
    {"Temp. °C", "Temp. °C"},
    {"Maksimum m", "Maximum m"},
    {"Do maksimum s", "To maximum s"},
    {"Czas lotu", "Flight time"},
    {"Najl. wznoszenie m/s", "Best climb m/s"},
    {"Śr. opadanie m/s", "Mean sink m/s"},
    {"Stan", "Status"},
    {"Plik", "File"},
    {"Uwagi", "Notes"},
    {"Uwaga do wcześniejszej wersji tego pliku", "Note of an earlier version of this file"},
    {"Uwagi:", "Notes:"},
    {"Lot bez pliku: uwagi są przechowywane przy plikach lotów",
     "A flight with no file: notes are kept beside flight files"},
    {"Uwagi (wcześniejsza wersja pliku):", "Notes (earlier version of the file):"},
}};

constexpr std::array<TextPair, static_cast<size_t>(Message::Count)> kMessages = {{
    {"Zerowanie. Czy napewno?", "Reset. Sure?"},
    {"ZEROWANIE", "Reset"},
    {"Błąd komunikacji z portem: ", "Communication Error: "},
    {"Błąd komunikacji", "Communication Error"},
    {"Vantorel - problem", "Vantoreal - error"},
    {"Vantorel wyzerowany", "Reset - OK"},
    {"Błąd Zerowania", "Reset - Error"},
    {"Zerowanie", "Reset"},
    {"Brak danych", "No data"},
    {"Brak nowego pomiaru - odczyt poprzedniego pomiaru",
     "No new measurement-the reading of the previous"},
    {"Plik istnieje. Zapisać?", "File exists. Save?"},
    {"Vantorel-Zapis", "Vantoreal-Save"},
    {"Zła wartośc temperatury", "Wrong temperature"},
    {"Błąd zapisu", "Setup failed"},
    {"Ustawienia OK", "Setup OK"},
    {"Ustawienia", "Setup"},
    {"Uszkodzone dane pomiaru", "Corrupt flight data"},
    {"Nie można zapisać archiwum: ", "Cannot write the flight archive: "},
    {"Za duza wartosc", "Too large value"},
    {"Pole nie może być puste", "Field can not be empty"},
    {"Vantorel", "Vantoreal"},
    {"Ustawienia domyślne: zawodnik 0, próg 30 m, 15 pom/sek, opóźnienie 180 s i zerowanie. "
     "Czy napewno?",
     "Default setup: competitor 0, trigger 30 m, 15 samples/s, delay 180 s, and reset. Sure?"},
    {"Niepełny odczyt: odebrano %d z %d bajtów", "Incomplete download: received %d of %d bytes"},
    {"Niepełny odczyt: odebrano %d bajtów", "Incomplete download: received %d bytes"},
    {"Zachowano jako: ", "Kept as: "},
    {"Plik nie wygląda na pomiar. Otworzyć mimo to?",
     "This file does not look like a flight. Open it anyway?"},
    {"Brak drukarki", "No printer"},
    {"Wydrukowano na drukarce: ", "Printed on: "},
    {"Wydrukowano do pliku: ", "Printed to file: "},
    {"Zapisano obraz: ", "Picture saved: "},
    {"Zapisano eksport: ", "Exported to: "},
    {"Plik niepełny: brak końca lotu", "Incomplete file: the flight has no end"},
    {"Nie znaleziono podręcznika: ", "Manual not found: "},
    {"Vantorel - pomoc", "Vantoreal - help"},
    {"< Wstecz", "< Back"},
    {"Dalej >", "Forward >"},
    {"Znajdź dalej", "Find next"},
    {"Szukaj w podręczniku", "Search the manual"},
    {"%s jest folderem", "%s is a folder"},
    {"system plików tylko do odczytu", "read-only file system"},
    {"brak miejsca na dysku", "no space left on the disk"},
    {"nie ma takiego folderu", "no such folder"},
    {"brak uprawnień", "permission denied"},
    {"to jest folder", "it is a folder"},
    {"plik za duży", "file too large"},
    {"nie jest zwykłym plikiem", "is not a regular file"},
    {"brak urządzenia", "no such device"},
    {"nazwa za długa", "name too long"},
    {"pętla dowiązań symbolicznych", "a loop of symbolic links"},
    {"błąd systemu nr %d", "system error %d"},
    {"Nie można odczytać folderu %s", "Cannot read the folder %s"},
    {"Nie można odczytać pliku ustawień %s", "Cannot read the settings file %s"},
    {"Ustawienia zostaną zapisane w %s.", "Settings will be saved in %s."},
    {"Nie ma urządzenia %s.", "There is no device %s."},
    {"Brak uprawnień do %s. Dodaj użytkownika do grupy dialout i zaloguj się ponownie.",
     "No permission for %s. Add the user to the dialout group and log in again."},
    {"Port %s jest zajęty przez inny program.", "Port %s is in use by another program."},
    {"Port %s jest zajęty przez inny program (proces %d).",
     "Port %s is in use by another program (process %d)."},
    {"Użyć %s?", "Use %s?"},
    {"symulator", "simulator"},
    {"Odzyskano plik lotu %s z przerwanego zapisu.",
     "Recovered the flight file %s from an interrupted save."},
    {"Nie można odzyskać lotu z przerwanego zapisu; pozostawiono plik %s.",
     "Cannot recover the flight of an interrupted save; the file %s is left as it is."},
    {"%s nie jest plikiem pamięci podręcznej programu; pozostawiono go",
     "%s is not this program's cache; left alone"},
    {"Plik %s jest uszkodzony", "The file %s is damaged"},
    {" (wiersz %d, kolumna %d)", " (line %d, column %d)"},
    {"Folder %s zawiera już zawody", "The folder %s already holds a contest"},
    {"Folder %s nie zawiera zawodów", "The folder %s holds no contest"},
    {"Zawody w folderze %s są otwarte w innym programie",
     "The contest in %s is open in another program"},
    {"Plik %s nie jest lotem", "The file %s is not a flight"},
    {"Zawody nie mają kolejki %d", "The contest has no round %d"},
    {"Zawody nie zawierają lotu %s", "The contest holds no flight %s"},
    {"Nie można zapisać pliku %s", "Cannot write the file %s"},
    {"%s nie jest regułą punktacji", "%s is not a scoring rule"},
    {"Nie można odczytać pliku uwag %s; pozostaje bez zmian",
     "Cannot read the notes file %s; it is left as it is"},
    {"Nie można zapisać pliku uwag %s", "Cannot write the notes file %s"},
    {"Uwaga nie jest tekstem UTF-8", "The note is not UTF-8 text"},
    {"Nie można odczytać pliku lotu %s", "Cannot read the flight file %s"},
}};

// A table with fewer pairs than its keys would hand out null texts; the compiler counts them.
template <typename Table> constexpr bool complete(const Table& table) {
    for (const TextPair& pair : table) {
        if (pair.polish == nullptr || pair.english == nullptr) {
            return false;
        }
    }
    return true;
}

static_assert(complete(kMainCaptions) && complete(kSettingsCaptions) && complete(kFilterCaptions) &&
                  complete(kFlightLogCaptions) && complete(kMessages),
              "every key has a Polish and an English text");

template <typename Table, typename Key>
std::string lookUp(const Table& table, Key key, Language language) {
    return table[static_cast<size_t>(key)].in(language);
}

} // namespace

std::string caption(MainCaption which, Language language) {
    return lookUp(kMainCaptions, which, language);
}

std::string caption(SettingsCaption which, Language language) {
    return lookUp(kSettingsCaptions, which, language);
}

std::string caption(FilterCaption which, Language language) {
    return lookUp(kFilterCaptions, which, language);
}

std::string caption(FlightLogCaption which, Language language) {
    return lookUp(kFlightLogCaptions, which, language);
}

std::string message(Message which, Language language) {
    return lookUp(kMessages, which, language);
}

std::string incompleteDownloadText(uint32_t received, uint32_t announced, Language language) {
    std::string text = message(
        announced == 0 ? Message::IncompleteDownload : Message::IncompleteDownloadOf, language);
    for (const uint32_t number : {received, announced}) {
        const size_t at = text.find("%d");
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, 2, std::to_string(number));
    }
    return text;
}

std::string messageWith(Message which, const std::string& text, Language language) {
    std::string result = message(which, language);
    const size_t at = result.find("%s");
    return at == std::string::npos ? result : result.replace(at, 2, text);
}

std::string portBusyText(const std::string& portName, long holderProcess, Language language) {
    if (holderProcess <= 0) {
        return messageWith(Message::PortBusy, portName, language);
    }
    // The number goes in first: a port named by its path may itself hold "%d".
    std::string text = message(Message::PortBusyHeldBy, language);
    text.replace(text.find("%d"), 2, std::to_string(holderProcess));
    return text.replace(text.find("%s"), 2, portName);
}

std::string isAFolderText(const std::string& path, Language language) {
    std::string text = message(Message::IsAFolder, language);
    return text.replace(text.find("%s"), 2, path);
}

std::string folderUnreadableText(const std::string& path, int error, Language language) {
    return messageWith(Message::FolderUnreadable, path, language) + ": " +
           systemReasonText(error, language);
}

std::string systemReasonText(int error, Language language) {
    switch (error) {
    case EROFS:
        return message(Message::ReasonReadOnlyFileSystem, language);
    case ENOSPC:
#ifdef EDQUOT // Windows has no disk quotas in errno terms
    case EDQUOT:
#endif
        return message(Message::ReasonNoSpace, language);
    case ENOENT:
    case ENOTDIR:
        return message(Message::ReasonNoSuchFolder, language);
    case EACCES:
    case EPERM:
        return message(Message::ReasonPermissionDenied, language);
    case EISDIR:
        return message(Message::ReasonIsAFolder, language);
    case EFBIG:
        return message(Message::ReasonFileTooLarge, language);
    case ENXIO:
        return message(Message::ReasonNoDevice, language);
    case ENAMETOOLONG:
        return message(Message::ReasonNameTooLong, language);
#ifdef ELOOP // not every Windows C library names it
    case ELOOP:
        return message(Message::ReasonLinkLoop, language);
#endif
    default:
        break;
    }
    std::string text = message(Message::ReasonOther, language);
    return text.replace(text.find("%d"), 2, std::to_string(error));
}

} // namespace vtl
