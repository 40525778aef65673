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
     "  quendry-cli report [--json | --summary] [--out FILE] [--program PATH [--needs KIND]]\n"
     "      The versions of MDAC, Jet and the 31 component libraries, with verdicts,\n"
     "      and which programs can open databases here, per bitness.\n"
     "      --json          as JSON, with the same English field names in every language\n"
     "      --summary       one line: the outcome and what failed (at most 2,048 characters)\n"
     "      --out FILE      written to FILE (UTF-8) instead of the console\n"
     "      --program PATH  only the answer for that program\n"
     "      --needs KIND    mdb, accdb, xls or xlsx: the exit code says whether the\n"
     "                      program can open it (0 it can, 1 it can't, 2 no program)\n"
     "  quendry-cli repair [--summary]\n"
     "      Registers the 24 component libraries again. Needs administrator rights.\n"
     "      --event-log     (report and repair) one event in the Application log\n"
     "  quendry-cli install | uninstall\n"
     "      Copies this program to Program Files\\Quendry and registers its event\n"
     "      source, or removes both. Needs administrator rights.\n"
     "  quendry-cli --help\n"
     "      This text.\n\n"
     "Exit codes:\n"
     "  0  everything is up to date; the repair: no library failed\n"
     "  1  something needs attention; the repair: a library could not be registered\n"
     "  2  usage error, or the report's file could not be written\n"
     "  3  repair, install or uninstall without administrator rights: nothing was changed\n",
     "Aufruf: quendry-cli BEFEHL [OPTIONEN]\n\n"
     "Prüft und repariert die Microsoft Datenzugriffskomponenten (MDAC) und das Jet 4.0\n"
     "Datenbankmodul wie der Quendry-Assistent, ohne dessen Fenster.\n\n"
     "  quendry-cli report [--json | --summary] [--out DATEI] [--program PFAD [--needs ART]]\n"
     "      Die Versionen von MDAC, Jet und den 31 Komponentenbibliotheken, mit Bewertung,\n"
     "      und welche Programme hier Datenbanken öffnen können, je Bitbreite.\n"
     "      --json          als JSON, mit denselben englischen Feldnamen in jeder Sprache\n"
     "      --summary       eine Zeile: das Ergebnis und was fehlschlug (höchstens 2.048 Zeichen)\n"
     "      --out DATEI     in DATEI (UTF-8) geschrieben statt auf die Konsole\n"
     "      --program PFAD  nur die Antwort für dieses Programm\n"
     "      --needs ART     mdb, accdb, xls oder xlsx: der Rückgabewert sagt, ob das\n"
     "                      Programm sie öffnen kann (0 ja, 1 nein, 2 kein Programm)\n"
     "  quendry-cli repair [--summary]\n"
     "      Registriert die 24 Komponentenbibliotheken neu. Benötigt Administratorrechte.\n"
     "      --event-log     (report und repair) ein Ereignis im Anwendungsprotokoll\n"
     "  quendry-cli install | uninstall\n"
     "      Kopiert dieses Programm nach Program Files\\Quendry und registriert seine\n"
     "      Ereignisquelle, oder entfernt beides. Benötigt Administratorrechte.\n"
     "  quendry-cli --help\n"
     "      Dieser Text.\n\n"
     "Rückgabewerte:\n"
     "  0  alles ist auf dem neuesten Stand; die Reparatur: keine Bibliothek fehlgeschlagen\n"
     "  1  etwas muss beachtet werden; die Reparatur: eine Bibliothek wurde nicht registriert\n"
     "  2  falscher Aufruf, oder die Datei des Berichts konnte nicht geschrieben werden\n"
     "  3  repair, install oder uninstall ohne Administratorrechte: nichts wurde verändert\n"},
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
    {261, "Which programs can open databases here",
     "Welche Programme hier Datenbanken öffnen können"},
    {262, "Windows is 64-bit: the 32-bit and the 64-bit registry view were read.",
     "Windows ist 64-Bit: die 32-Bit- und die 64-Bit-Ansicht der Registrierung wurden gelesen."},
    {263, "Windows is 32-bit: it has one registry view.",
     "Windows ist 32-Bit: es hat eine Ansicht der Registrierung."},
    {264, "[1:*]-bit programs:", "[1:*]-Bit-Programme:"},
    {265, "  .[1:*] through [2:*]: yes, [3:*] ([4:*])", "  .[1:*] über [2:*]: ja, [3:*] ([4:*])"},
    {266, "  .[1:*] through [2:*]: no. [3:*]", "  .[1:*] über [2:*]: nein. [3:*]"},
    {267, "an object was created in a 32-bit process",
     "ein Objekt wurde in einem 32-Bit-Prozess erzeugt"},
    {268, "registered, file present, [1:*]-bit image; not loaded",
     "registriert, Datei vorhanden, [1:*]-Bit-Abbild; nicht geladen"},
    {269, "Nothing for it is installed for [1:*]-bit programs.",
     "Dafür ist für [1:*]-Bit-Programme nichts installiert."},
    {270, "Only [1:*]-bit programs have what opens it here.",
     "Nur [1:*]-Bit-Programme haben hier, was sie öffnet."},
    {271,
     "The Access Database Engine is registered only inside Click-to-Run Office, for Office's own "
     "programs.",
     "Das Access-Datenbankmodul ist nur innerhalb von Office (Klick-und-Los) registriert, für die "
     "Programme von Office selbst."},
    {272, "[1:*] is registered, but its file is missing: [2:*].",
     "[1:*] ist registriert, aber seine Datei fehlt: [2:*]."},
    {273, "[1:*] is registered, but its file is no [2:*]-bit library: [3:*].",
     "[1:*] ist registriert, aber seine Datei ist keine [2:*]-Bit-Bibliothek: [3:*]."},
    {274, "[1:*] is registered and present, but no object could be created (error [2:*]).",
     "[1:*] ist registriert und vorhanden, aber es ließ sich kein Objekt erzeugen (Fehler [2:*])."},
    {275, "Its driver [1:*] is installed for no bitness.",
     "Sein Treiber [1:*] ist für keine Bitbreite installiert."},
    {276, "Its driver [1:*] is installed for [2:*]-bit programs only.",
     "Sein Treiber [1:*] ist nur für [2:*]-Bit-Programme installiert."},
    {277, "It is a system data source of the [1:*]-bit view, which [2:*]-bit programs don't see.",
     "Es ist eine Systemdatenquelle der [1:*]-Bit-Ansicht, die [2:*]-Bit-Programme nicht sehen."},
    {278,
     "Remedy: run the program as 32-bit (built for x86 or with \"Prefer 32-bit\"; for an IIS "
     "application pool, enable 32-bit applications).",
     "Abhilfe: das Programm als 32-Bit-Programm ausführen (für x86 oder mit \"32-Bit bevorzugen\" "
     "erstellt; für einen IIS-Anwendungspool 32-Bit-Anwendungen aktivieren)."},
    {279,
     "Remedy: use the program's 64-bit version: the Access Database Engine follows Office's "
     "bitness, and its installer refuses the other one.",
     "Abhilfe: die 64-Bit-Version des Programms verwenden: das Access-Datenbankmodul folgt der "
     "Bitbreite von Office, und sein Installationsprogramm verweigert die andere."},
    {280, "Remedy: install the [1:*]-bit Microsoft Access Database Engine 2016 Redistributable.",
     "Abhilfe: das Microsoft Access Database Engine 2016 Redistributable ([1:*]-Bit) "
     "installieren."},
    {281,
     "Remedy: install the [1:*]-bit Access 2013 Runtime, as Microsoft advises for "
     "volume-licensed Click-to-Run Office 2016 and 2019.",
     "Abhilfe: die [1:*]-Bit Access 2013 Runtime installieren, wie Microsoft es für Office 2016 "
     "und 2019 als Volumenlizenz (Klick-und-Los) empfiehlt."},
    {282,
     "Remedy: update Office: Click-to-Run Office from Version 2009 on registers the Access "
     "Database Engine for all programs.",
     "Abhilfe: Office aktualisieren: Office (Klick-und-Los) ab Version 2009 registriert das "
     "Access-Datenbankmodul für alle Programme."},
    {283, "Remedy: repair or reinstall the [1:*]-bit Access Database Engine (Settings, Apps).",
     "Abhilfe: das [1:*]-Bit-Access-Datenbankmodul reparieren oder neu installieren "
     "(Einstellungen, Apps)."},
    {284, "Remedy: Jet is part of Windows: run this program's repair (quendry-cli repair).",
     "Abhilfe: Jet gehört zu Windows: die Reparatur dieses Programms ausführen (quendry-cli "
     "repair)."},
    {285, "Remedy: create the data source again in the [1:*]-bit ODBC administrator, [2:*].",
     "Abhilfe: die Datenquelle im [1:*]-Bit-ODBC-Administrator neu anlegen, [2:*]."},
    {286, "Remedy: install the driver [2:*] for [1:*]-bit programs.",
     "Abhilfe: den Treiber [2:*] für [1:*]-Bit-Programme installieren."},
    {287, "  Data source \"[1:*]\" ([2:*]): yes, driver [3:*]",
     "  Datenquelle \"[1:*]\" ([2:*]): ja, Treiber [3:*]"},
    {288, "  Data source \"[1:*]\" ([2:*]): no. [3:*]",
     "  Datenquelle \"[1:*]\" ([2:*]): nein. [3:*]"},
    {289, "system, [1:*]-bit view", "System, [1:*]-Bit-Ansicht"},
    {290, "user [1:*]", "Benutzer [1:*]"},
    {291,
     "  Jet (Microsoft.Jet.OLEDB.4.0, the Microsoft Access Driver (*.mdb)) exists for 32-bit "
     "programs only: a 64-bit program that names it fails.",
     "  Jet (Microsoft.Jet.OLEDB.4.0, der Microsoft Access Driver (*.mdb)) gibt es nur für "
     "32-Bit-Programme: ein 64-Bit-Programm, das es nennt, scheitert."},
    {292, "What is installed", "Was installiert ist"},
    {293, "[1:*]-bit registry view:", "[1:*]-Bit-Ansicht der Registrierung:"},
    {294, "  OLE DB [1:*]: [2:*]", "  OLE DB [1:*]: [2:*]"},
    {295, "  ODBC driver \"[1:*]\" ([2:*]): [3:*]", "  ODBC-Treiber \"[1:*]\" ([2:*]): [3:*]"},
    {296, "not registered", "nicht registriert"},
    {297, "file missing: [1:*]", "Datei fehlt: [1:*]"},
    {298, "not a library of this bitness: [1:*]", "keine Bibliothek dieser Bitbreite: [1:*]"},
    {299, "[2:*]-bit, [1:*]", "[2:*]-Bit, [1:*]"},
    {300, "User data sources (of [1:*], seen by 32-bit and 64-bit programs):",
     "Benutzerdatenquellen (von [1:*], für 32-Bit- und 64-Bit-Programme sichtbar):"},
    {301, "  Data source \"[1:*]\": driver [2:*]", "  Datenquelle \"[1:*]\": Treiber [2:*]"},
    {302, "Office: none found", "Office: keines gefunden"},
    {303, "Office: Click-to-Run [1:*], [2:*]-bit, [3:*]",
     "Office: Klick-und-Los [1:*], [2:*]-Bit, [3:*]"},
    {304, "Office: [1:*], [2:*]-bit, installed", "Office: [1:*], [2:*]-Bit, installiert"},
    {305,
     "The Access Database Engine ([1:*]) is registered only in Click-to-Run's virtual registry: "
     "Office's own programs see it, others don't.",
     "Das Access-Datenbankmodul ([1:*]) ist nur in der virtuellen Registrierung von Klick-und-Los "
     "registriert: die Programme von Office sehen es, andere nicht."},
    {306,
     "A yes for 64-bit programs, and every yes for ODBC, rests on the registry, the file and its "
     "machine type; nothing of it was loaded (a 32-bit program can't load a 64-bit library).",
     "Ein Ja für 64-Bit-Programme und jedes Ja für ODBC beruht auf Registrierung, Datei und deren "
     "Maschinentyp; davon wurde nichts geladen (ein 32-Bit-Programm kann keine 64-Bit-Bibliothek "
     "laden)."},
    {307, "none", "keine"},
    {308, "other", "andere"},
    {309, "Program: [1:*]", "Programm: [1:*]"},
    {310, "This program runs as [1:*]-bit.", "Dieses Programm läuft als [1:*]-Bit-Programm."},
    {311, "It can open .[1:*] files ([2:*], [3:*]-bit).",
     "Es kann .[1:*]-Dateien öffnen ([2:*], [3:*]-Bit)."},
    {312, "It can open .[1:*] files through ODBC ([2:*], [3:*]-bit).",
     "Es kann .[1:*]-Dateien über ODBC öffnen ([2:*], [3:*]-Bit)."},
    {313, "It cannot open .[1:*] files: [2:*]", "Es kann keine .[1:*]-Dateien öffnen: [2:*]"},
    {314, "There is no file at [1:*].", "Unter [1:*] ist keine Datei."},
    {315, "[1:*] is not a program.", "[1:*] ist kein Programm."},
    {316, "[1:*] is damaged: its program headers don't hold together.",
     "[1:*] ist beschädigt: seine Programmköpfe passen nicht zusammen."},
    {317, "[1:*] is a library, not a program: name the program that loads it.",
     "[1:*] ist eine Bibliothek, kein Programm: das Programm nennen, das sie lädt."},
    {318, "[1:*] is a program for another machine (type [2:*]), which this Windows doesn't run.",
     "[1:*] ist ein Programm für eine andere Maschine (Typ [2:*]), die dieses Windows nicht "
     "ausführt."},
    {319, "--needs takes mdb, accdb, xls or xlsx, not: [1:*]",
     "--needs nimmt mdb, accdb, xls oder xlsx, nicht: [1:*]"},
    {320, "--needs goes with --program.", "--needs gehört zu --program."},
    {321, "there, but not readable: [1:*]", "vorhanden, aber nicht lesbar: [1:*]"},
    {322, "[1:*] is registered, but its file can't be read: [2:*].",
     "[1:*] ist registriert, aber seine Datei kann nicht gelesen werden: [2:*]."},
    {323, "[1:*] is there, but can't be read by this account (error [2:*]).",
     "[1:*] ist vorhanden, kann von diesem Konto aber nicht gelesen werden (Fehler [2:*])."},
    // A console repair that the user stopped (Ctrl+C, Ctrl+Break, closing the console).
    {324, "not attempted: interrupted", "nicht versucht: unterbrochen"},
    {325,
     "The repair was interrupted: [*] libraries were not attempted and the data providers were "
     "not checked. Run the repair again to finish it.",
     "Die Reparatur wurde unterbrochen: [*] Bibliotheken wurden nicht versucht und die "
     "Datenanbieter nicht geprüft. Starten Sie die Reparatur erneut, um sie abzuschließen."},
    // Well-known COM and loader results, in words of their own (the code follows them).
    {326, "the library does not offer this class", "die Bibliothek bietet diese Klasse nicht an"},
    {327, "the class is not registered", "die Klasse ist nicht registriert"},
    {328, "error in the library: its start-up routine failed",
     "Fehler in der Bibliothek: ihre Startroutine ist fehlgeschlagen"},
    {329, "library not found: the file or a library it needs is missing",
     "Bibliothek nicht gefunden: die Datei oder eine Bibliothek, die sie braucht, fehlt"},
    {330, "no such interface: the class does not offer what was asked of it",
     "Schnittstelle nicht vorhanden: die Klasse bietet nicht an, was verlangt wurde"},
    {331, "access denied", "Zugriff verweigert"},
    // A run in one line (--summary, the Event Log).
    {332, "Up to date: MDAC [1:*], Jet [2:*]", "Aktuell: MDAC [1:*], Jet [2:*]"},
    {333, "Needs attention", "Handlungsbedarf"},
    {334, "MDAC [*] is out of date", "MDAC [*] ist veraltet"},
    {335, "Jet [*] is out of date", "Jet [*] ist veraltet"},
    {336, "files that differ: [*]", "abweichende Dateien: [*]"},
    {337, "missing files: [*]", "fehlende Dateien: [*]"},
    {338, "data providers that don't work: [*]", "nicht funktionierende Datenanbieter: [*]"},
    {339, "[*] more", "[*] weitere"},
    {340, "--summary and [*] exclude each other.", "--summary und [*] schließen einander aus."},
    {341, "Repaired: [*] libraries registered", "Repariert: [*] Bibliotheken registriert"},
    {342, "Repair failed", "Reparatur fehlgeschlagen"},
    {343, "libraries not registered: [*]", "nicht registrierte Bibliotheken: [*]"},
    {344, "Repair interrupted: [*] libraries not attempted",
     "Reparatur unterbrochen: [*] Bibliotheken nicht versucht"},
    // The run's event in the Application log (--event-log).
    {345,
     "The event source Quendry is not registered: the event was written, but Event Viewer can't "
     "show its text. To register it, run once in a command prompt opened with \"Run as "
     "administrator\": quendry-cli install",
     "Die Ereignisquelle Quendry ist nicht registriert: Das Ereignis wurde geschrieben, aber die "
     "Ereignisanzeige kann seinen Text nicht zeigen. Zum Registrieren einmal in einer "
     "Eingabeaufforderung ausführen, die mit \"Als Administrator ausführen\" geöffnet wurde: "
     "quendry-cli install"},
    {346, "The Application log did not take the event; the result above stands.",
     "Das Anwendungsprotokoll hat das Ereignis nicht angenommen; das Ergebnis oben gilt."},
    // quendry-cli install and uninstall.
    {347,
     "Installed: [*]. Its events (--event-log) now show their texts in Event Viewer; the "
     "recipes run this copy.",
     "Installiert: [*]. Seine Ereignisse (--event-log) zeigen ihre Texte jetzt in der "
     "Ereignisanzeige; die Rezepte rufen diese Kopie auf."},
    {348, "[*] could not be written.", "[*] konnte nicht geschrieben werden."},
    {349, "Uninstalled: the program's folder and the event source Quendry are removed.",
     "Deinstalliert: Der Ordner des Programms und die Ereignisquelle Quendry sind entfernt."},
    {350,
     "Uninstalled: the event source Quendry is removed; the running copy and its folder go when "
     "Windows restarts.",
     "Deinstalliert: Die Ereignisquelle Quendry ist entfernt; die laufende Kopie und ihr Ordner "
     "gehen beim nächsten Neustart von Windows."},
    {351, "[*] could not be removed.", "[*] konnte nicht entfernt werden."},
    {352, "This Windows names no folder for programs (ProgramFilesDir): nothing was installed.",
     "Dieses Windows nennt keinen Ordner für Programme (ProgramFilesDir): nichts wurde "
     "installiert."},
    {353,
     "install and uninstall need administrator rights. Open the command prompt with \"Run as "
     "administrator\" and start it there. Nothing was changed.",
     "install und uninstall benötigen Administratorrechte. Öffnen Sie die Eingabeaufforderung "
     "mit \"Als Administrator ausführen\" und starten Sie sie dort. Es wurde nichts verändert."},
    // The window on which programs can open databases, and the button that opens it.
    {360, "Which programs can open databases here",
     "Welche Programme hier Datenbanken öffnen können"},
    {361, "&Databases and programs...", "&Datenbanken und Programme..."},
    {362, "What a 32-bit and a 64-bit program can open here:",
     "Was ein 32-Bit- und ein 64-Bit-Programm hier öffnen kann:"},
    {363, "What is &installed (click a heading to sort):",
     "Was &installiert ist (Klick auf eine Spaltenüberschrift sortiert):"},
    {364, "Which bitness is your program? Choose its .exe file, or drag it onto this window:",
     "Welche Bitbreite hat Ihr Programm? Wählen Sie seine .exe-Datei, oder ziehen Sie sie auf "
     "dieses Fenster:"},
    {365, "Choose a &program...", "&Programm wählen..."},
    {366, "&Copy", "&Kopieren"},
    {367, "Close", "Schließen"},
    {368, "Component", "Komponente"},
    {369, "Type", "Art"},
    {370, "State", "Zustand"},
    {371, "OLE DB provider, [1:*]-bit", "OLE DB-Provider, [1:*]-Bit"},
    {372, "ODBC driver ([2:*]), [1:*]-bit", "ODBC-Treiber ([2:*]), [1:*]-Bit"},
    {373, "System data source, [1:*]-bit", "Systemdatenquelle, [1:*]-Bit"},
    {374, "User data source of [1:*]", "Benutzerdatenquelle von [1:*]"},
    {375, "driver: [1:*]", "Treiber: [1:*]"},
    {376, "Programs (*.exe)", "Programme (*.exe)"},
    {377, "All files (*.*)", "Alle Dateien (*.*)"},
    {378, "The report could not be copied to the clipboard. Please try again.",
     "Der Bericht konnte nicht in die Zwischenablage kopiert werden. Bitte versuchen Sie es noch "
     "einmal."},
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
