#include "text/string_table.h"

#include <algorithm>
#include <array>

// Scheme and host of the maker's web site; the build sets it for every core library.
#ifndef QUENDRY_WEB_BASE
#define QUENDRY_WEB_BASE "https://www.velmora.example"
#endif

namespace {

struct Entry {
    uint16_t Id;
    const char* English;
    const char* German;
};

// The closing letter differs between the languages in content: the English one asks for a
// donation and is signed by a person, the German one points to the support address.
constexpr const char* kClosingLetterEnglish =
    "Dear User,\n\nThis software has probably resolved your MDAC problems and saved you from a "
    "time-consuming reinstall of Windows.\n\nTo make future updates with enhancements possible, "
    "we request to support this project with a small donation of US-$ 5.00. Click Exit to show a "
    "Web page with further information.\n\nMany thanks!\n\nJonas Brenner\n(Velmora GmbH)";
constexpr const char* kClosingLetterGerman =
    "Lieber Nutzer,\n\nwir hoffen, dass Ihnen dieses Programm bei der Lösung Ihres Problem gedient "
    "und eine zeitraubende Neuinstallation von Windows erspart hat.\n\nFalls nicht, wenden sie "
    "sich bitte per E-Mail an support@velmora.example.\n\nMit freundlichen Grüßen\nDas Velmora "
    "Support-Team\n";

// One row per string ID, sorted by ID. Leading spaces and line feeds are separators that belong
// to the text (128, 144, 145, 147).
constexpr Entry kTable[] = {
    {100, "Quendry", "Quendry"},
    {102, "Not available", "Nicht vorhanden"},
    {103, "According to the Windows registry, you have MDAC [*] installed.",
     "Laut Windows-Systemregistrierung ist auf Ihrem System MDAC [*] installiert."},
    {104, "The MDAC files should be verified so that they can be repaired if necessary.",
     "Die MDAC-Dateien sollten überprüft werden, um sie ggf. zu reparieren."},
    {106, "Verify and Repair MDAC Files", "MDAC-Dateien prüfen und reparieren"},
    {107, "Step 1: MDAC Version and Update Check", "Schritt 1: MDAC-Versions- und Updateprüfung"},
    {108,
     "This program helps you analyze and repair the Microsoft Data Access Components (MDAC) on "
     "your computer.",
     "Mit Hilfe dieses Programms können Sie die auf Ihrem Computer installierten Microsoft "
     "Datenzugriffskomponenten (MDAC) analysieren und ggf. reparieren."},
    {110, "To continue, click Next.", "Um fortzufahren, klicken Sie auf \"Weiter\"."},
    {111, "Step 2: Verify and Repair MDAC Files",
     "Schritt 2: MDAC-Dateien überprüfen und ggf. reparieren"},
    {112, "Welcome to the Velmora\nQuendry", "Willkommen beim Velmora Quendry"},
    {113, "The MDAC and JET versions installed on your computer have been detected.",
     "Die aktuell installierten MDAC- und JET-Versionen wurden ermittelt."},
    {114,
     "There is a newer MDAC version available, which we recommend to install. You can download it "
     "after clicking the link below.",
     "Es ist eine neuere MDAC-Version bei Microsoft verfügbar, die Sie nach Klick auf den Link "
     "unten herunterladen können."},
    {115, "Re-register Components", "Neu registrieren"},
    {117, QUENDRY_WEB_BASE "/en/download/mdac.html", QUENDRY_WEB_BASE "/de/download/mdac.html"},
    {118, QUENDRY_WEB_BASE "/en/download/mdac_donation.html",
     QUENDRY_WEB_BASE "/de/download/mdac_spende.html"},
    {119, "Exit", "Beenden"},
    {120, QUENDRY_WEB_BASE "/en/download/repair_mdac.html",
     QUENDRY_WEB_BASE "/de/download/mdac_reparieren.html"},
    {121, "Installed version of MS Jet 4.0 database module:",
     "Installierte Version des MS Jet 4.0 Datenbankmoduls:"},
    {122, QUENDRY_WEB_BASE "/en/download/mdac_xp_sp2.html",
     QUENDRY_WEB_BASE "/de/download/mdac_xp_sp2.html"},
    {123, "Processing [*]...", "Verarbeite [*]..."},
    {124, "Next >", "Weiter >"},
    {125, "< Back", "< Zurück"},
    {126, "Please support this project with a donation",
     "Bitte unterstützen Sie die Pflege dieses Programms"},
    {127, "Step 3: Check and Compare MDAC File Versions",
     "Schritt 3: Versionsangaben der MDAC-Dateien prüfen"},
    {128,
     " We recommend installing Windows XP Service Pack 2 to get the latest version 2.81 of MDAC.",
     " Wir empfehlen Ihnen die Installation von Windows XP Service Pack 2, um die neueste "
     "MDAC-Version 2.81 zu erhalten."},
    {129, "Problem Resolved?", "Problem behoben?"},
    {131, "Please check whether your problematic program seems to work correctly now.",
     "Prüfen Sie nun, ob Ihre Anwendung jetzt funktioniert."},
    {132,
     "Please check if all listed files have the version [*]. If that's not the case, click the "
     "link below to open a Web page with further instructions.",
     "Bitte vergleichen Sie, ob alle Dateien die Version [*] haben. Falls dies nicht der Fall ist, "
     "klicken Sie auf den Link unten, um eine Webseite mit weiteren Anweisungen zu öffnen."},
    {134, kClosingLetterEnglish, kClosingLetterGerman},
    {135, " ", " "},
    {136, " ", " "},
    {137, "File Name", "Dateiname"},
    {138, "File Version", "Dateiversion"},
    {139, "Path", "Pfad"},
    {140, "Identifying old MDAC files that don't have the latest version",
     "Erkennen von älteren MDAC-Dateien, die in der falschen Version vorhanden sind."},
    {141, "The file [*] could not be registered properly.",
     "Die Datei [*] konnte nicht registriert werden."},
    {142, "Click [*].", "Klicken Sie auf '[*]'."},
    {143, "The installed version of the Microsoft Jet database module is [*].",
     "Die installierte Version des Microsoft Jet Datenbankmoduls ist [*]."},
    {144, " There is a newer version available to which you should update.",
     " Es gibt eine neuere Version, auf die Sie aktualisieren sollten."},
    {145, "\nThis is the latest version of MDAC. No update is required.",
     " Dies ist die neueste verfügbare MDAC-Version; kein Update wird benötigt."},
    {146,
     "Click Next to verify and, if necessary, repair the MDAC files.\nMost MDAC problems are "
     "resolved this way.",
     "Klicken Sie auf \"Weiter\", um die MDAC-Dateien zu überprüfen und ggf. zu reparieren. Dies "
     "löst MDAC-Probleme in vielen Fällen."},
    {147, "\n\nIf possible, first install the recommended update, which you can download here:",
     "\n\nWenn möglich, installieren Sie bitte zunächst die genannten Updates, die Sie z.B. hier "
     "herunterladen können:"},
    {148, "Cancel", "Abbrechen"},
    {149, "Close", "Schließen"},
    {150, "Verifying and repairing MDAC files...",
     "MDAC-Dateien werden geprüft und ggf. repariert..."},
    {151, "Installed MDAC Version", "Installierte MDAC-Version"},
    {152, "Installed Microsoft Jet Version", "Installierte Microsoft Jet-Version"},
    {153, "This is the latest version of Jet. No update is required.",
     "Dies ist die neueste verfügbare Version von Jet; kein Update wird benötigt."},
    {154,
     "Verifying and repairing the MDAC files has finished!\n\nPlease check whether your "
     "problematic program seems to work correctly now.",
     "Überprüfung und Reparatur der MDAC-Dateien abgeschlossen!\n\nPrüfen Sie, ob Ihre "
     "problematische Anwendung jetzt funktioniert."},
    {155, "Have your MDAC problems been resolved, or do still error messages appear, for example?",
     "Sind Ihre MDAC-Probleme gelöst, oder werden z.B. weiterhin Fehlermeldungen ausgegeben?"},
    {156, "Yes, the MDAC problems seem to be resolved",
     "Ja, die MDAC-Probleme scheinen gelöst zu sein"},
    {157, "No, the MDAC problems still exist", "Nein, die MDAC-Probleme bestehen weiterhin"},
    // Why a library's registration failed when its host process did not come back with an answer;
    // each follows text 141 in parentheses.
    {160, "crashed with [*]", "abgestürzt mit [*]"},
    {161, "did not finish within 30 s", "nicht innerhalb von 30 s abgeschlossen"},
    {162, "ended the process", "hat den Prozess beendet"},
    // No host was started: the program's own file could not be vouched for (it was changed or
    // moved while the program ran), so nothing but the program itself may run with its rights.
    {163, "not attempted: no safe registration host could be started",
     "nicht versucht: kein sicherer Registrierungsprozess konnte gestartet werden"},
    // Shown by Windows while the end of the session waits for the registration in work.
    {164, "Quendry is registering a component library. Windows can go on as soon as it is done.",
     "Quendry registriert eine Komponentenbibliothek. Windows kann fortfahren, sobald sie fertig "
     "ist."},
    // The repair page's line while the essential data providers are checked after the run.
    {165, "Checking whether the data provider [*] can be used...",
     "Es wird geprüft, ob der Datenanbieter [*] verwendet werden kann..."},
    // The console companion (quendry-cli): usage, report and repair lines.
    {200,
     "Usage: quendry-cli COMMAND [OPTIONS]\n\n"
     "Examines and repairs the Microsoft Data Access Components (MDAC) and the Jet 4.0\n"
     "database engine as the Quendry wizard does, without its window.\n\n"
     "  quendry-cli report [--json] [--out FILE]\n"
     "      The versions of MDAC, Jet and the 31 component libraries, with verdicts.\n"
     "      --json      as JSON, with the same English field names in every language\n"
     "      --out FILE  written to FILE (UTF-8) instead of the console\n"
     "  quendry-cli repair\n"
     "      Registers the 24 component libraries again. Needs administrator rights.\n"
     "  quendry-cli --help\n"
     "      This text.\n\n"
     "Exit codes:\n"
     "  0  everything is up to date; the repair: no library failed\n"
     "  1  something needs attention; the repair: a library could not be registered\n"
     "  2  usage error, or the report's file could not be written\n"
     "  3  repair without administrator rights: nothing was changed\n",
     "Aufruf: quendry-cli BEFEHL [OPTIONEN]\n\n"
     "Prüft und repariert die Microsoft Datenzugriffskomponenten (MDAC) und das Jet 4.0\n"
     "Datenbankmodul wie der Quendry-Assistent, ohne dessen Fenster.\n\n"
     "  quendry-cli report [--json] [--out DATEI]\n"
     "      Die Versionen von MDAC, Jet und den 31 Komponentenbibliotheken, mit Bewertung.\n"
     "      --json       als JSON, mit denselben englischen Feldnamen in jeder Sprache\n"
     "      --out DATEI  in DATEI (UTF-8) geschrieben statt auf die Konsole\n"
     "  quendry-cli repair\n"
     "      Registriert die 24 Komponentenbibliotheken neu. Benötigt Administratorrechte.\n"
     "  quendry-cli --help\n"
     "      Dieser Text.\n\n"
     "Rückgabewerte:\n"
     "  0  alles ist auf dem neuesten Stand; die Reparatur: keine Bibliothek fehlgeschlagen\n"
     "  1  etwas muss beachtet werden; die Reparatur: eine Bibliothek wurde nicht registriert\n"
     "  2  falscher Aufruf, oder die Datei des Berichts konnte nicht geschrieben werden\n"
     "  3  Reparatur ohne Administratorrechte: nichts wurde verändert\n"},
    {201, "Unknown argument: [*]", "Unbekanntes Argument: [*]"},
    {202, "The option [*] needs a file name.", "Die Option [*] braucht einen Dateinamen."},
    {203, "The option [*] was given more than once.", "Die Option [*] wurde mehrfach angegeben."},
    {204, "No command given.", "Kein Befehl angegeben."},
    {205, "Program version: [*]", "Programmversion: [*]"},
    {206, "Windows version: [*]", "Windows-Version: [*]"},
    {207, "Windows version class: [*]", "Windows-Versionsklasse: [*]"},
    {208, "User language: [*]", "Sprache des Benutzers: [*]"},
    {209, "Registry value FullInstallVer: [*]", "Registrierungswert FullInstallVer: [*]"},
    {210, "Jet library: [*]", "Jet-Bibliothek: [*]"},
    {211, "Jet build: [*]", "Jet-Build: [*]"},
    {212, "Advised web page: [*]", "Empfohlene Webseite: [*]"},
    {213, "Advised web page: none", "Empfohlene Webseite: keine"},
    {214, "Component libraries: [*]", "Komponentenbibliotheken: [*]"},
    {215, "Mark", "Markierung"},
    {216, "Listed", "In der Liste"},
    {217, "Registered by repair", "Von der Reparatur registriert"},
    {218, "matches", "passt"},
    {219, "differs", "weicht ab"},
    {220, "yes", "ja"},
    {221, "no", "nein"},
    {222, "Result: everything is up to date.", "Ergebnis: Alles ist auf dem neuesten Stand."},
    {223, "Result: something needs attention.", "Ergebnis: Etwas muss beachtet werden."},
    {224, "Listed files whose version does not match the MDAC release: [*]",
     "Aufgelistete Dateien, deren Version nicht zur MDAC-Version passt: [*]"},
    {225, "registered", "registriert"},
    {226, "skipped", "übersprungen"},
    {227, "not present", "nicht vorhanden"},
    {228, "failed: [*]", "fehlgeschlagen: [*]"},
    {229, "Libraries that could not be registered: [*]",
     "Bibliotheken, die nicht registriert werden konnten: [*]"},
    {230,
     "The repair needs administrator rights. Open the command prompt with \"Run as "
     "administrator\" and start it there. Nothing was changed.",
     "Die Reparatur benötigt Administratorrechte. Öffnen Sie die Eingabeaufforderung mit \"Als "
     "Administrator ausführen\" und starten Sie sie dort. Es wurde nichts verändert."},
    {231, "The report could not be written to [*].",
     "Der Bericht konnte nicht in [*] geschrieben werden."},
    {232, "English", "Englisch"},
    {233, "German", "Deutsch"},
    {234, "unknown", "unbekannt"},
    {235, "Windows 95", "Windows 95"},
    {236, "Windows 98", "Windows 98"},
    {237, "Windows NT 4.0", "Windows NT 4.0"},
    {238, "Windows 2000", "Windows 2000"},
    {239, "Windows Me", "Windows Me"},
    {240, "Windows XP", "Windows XP"},
    {241, "Windows Server 2003", "Windows Server 2003"},
    {242, "Windows Vista or later", "Windows Vista oder neuer"},
    {243, "An error stopped the program: [*]", "Ein Fehler hat das Programm angehalten: [*]"},
    {244, "missing", "fehlt"},
    {245, "Listed files that are missing or have no version: [*]",
     "Aufgelistete Dateien, die fehlen oder keine Version haben: [*]"},
    // Whether the data providers' classes can be created, and why not; the wizard names each
    // essential one that can't after the repair, the console companion reports them all.
    {246, "works", "funktioniert"},
    {247, "not registered: its name is not in the registry",
     "nicht registriert: der Name fehlt in der Registrierung"},
    {248, "not registered: the class [*] is not in the registry",
     "nicht registriert: die Klasse [*] fehlt in der Registrierung"},
    {249, "library missing: [*]", "Bibliothek fehlt: [*]"},
    {250, "cannot be created: [*]", "kann nicht erstellt werden: [*]"},
    {251, "did not answer within 30 s", "hat nicht innerhalb von 30 s geantwortet"},
    {252, "The data provider [*] still cannot be used.",
     "Der Datenanbieter [*] kann weiterhin nicht verwendet werden."},
    {253, "Data providers: [*]", "Datenanbieter: [*]"},
    {254, "ProgID", "ProgID"},
    {255, "Essential", "Wesentlich"},
    {256, "State", "Zustand"},
    {257, "Threading model", "Threading-Modell"},
    {258, "CLSID", "CLSID"},
    {259, "Library", "Bibliothek"},
    {260, "Essential data providers that cannot be used: [*]",
     "Wesentliche Datenanbieter, die nicht verwendet werden können: [*]"},
};

constexpr bool IsSortedById() {
    for (size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].Id >= kTable[i].Id)
            return false;
    return true;
}
static_assert(IsSortedById(), "the lookup searches the table by ID");

constexpr auto kIds = [] {
    std::array<uint16_t, std::size(kTable)> ids{};
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = kTable[i].Id;
    return ids;
}();

} // namespace

std::string LoadText(uint16_t id, Language lang) {
    auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                               [](const Entry& e, uint16_t key) { return e.Id < key; });
    if (it == std::end(kTable) || it->Id != id)
        return {};
    return lang == Language::German ? it->German : it->English;
}

std::span<const uint16_t> StringIds() {
    return kIds;
}
