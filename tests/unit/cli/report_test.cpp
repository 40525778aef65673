// The report: its text in both languages, its JSON, where it goes, and the exit code for each
// combination of verdicts.
#include <functional>

#include "bitness/bitness_texts.h"
#include "cli/console_text.h"
#include "cli/exit_codes.h"
#include "cli/system_report.h"
#include "cli_fixture.h"
#include "tests/fakes/json_reader.h"
#include "text/printf.h"

namespace {

constexpr OsVersionInfo kWin7{2, 6, 1, 7601};

// Windows 7; MDAC 2.81; Jet 4.0.2927.4 (build form 4: out of date); MSADOX.DLL missing and
// MSJRO.DLL of an older release.
void OldJetSystem(ScriptedSystem& s) {
    s.system.Version = kWin7;
    s.SetMdac("2.81.1117.0");
    s.AllPresent();
    s.Place(28, 4, 0, 2927, 4);
    s.Remove(4);
    s.Place(6, 2, 80, 1022);
}

TEST(ReportText, EnglishForAScriptedSystem) {
    ScriptedSystem s;
    OldJetSystem(s);
    EXPECT_EQ(s.Run({"report"}), kExitAttention);
    EXPECT_EQ(s.host.Err, "");
    const std::string expected =
        std::string("Quendry\n") + "Program version: " + ProgramVersion() + "\n" +
        "Windows version: 6.1.7601\n"
        "Windows version class: 8 (Windows Vista or later)\n"
        "User language: English\n"
        "\n"
        "Installed MDAC Version\n"
        "Registry value FullInstallVer: 2.81.1117.0\n"
        "According to the Windows registry, you have MDAC 2.81 installed.\n"
        "This is the latest version of MDAC. No update is required.\n"
        "\n"
        "Installed Microsoft Jet Version\n"
        "Jet library: C:\\WINDOWS\\system32\\msjet40.dll\n"
        "Jet build: 4\n"
        "The installed version of the Microsoft Jet database module is 4.0.2927. There is a newer "
        "version available to which you should update.\n"
        "\n"
        "If possible, first install the recommended update, which you can download here:\n"
        "\n"
        "Advised web page: " +
        LoadText(117, Language::English) +
        "\n"
        "\n"
        "Component libraries: 31\n"
        "File Name         File Version  Mark     Listed  Registered by repair  Path\n"
        "MSADO15.DLL       2.81.1117     matches  yes     yes                   C:\\Program "
        "Files\\Common Files\\System\\ado\\MSADO15.DLL\n"
        "MSADER15.DLL      2.81.1117     matches  yes     no                    C:\\Program "
        "Files\\Common Files\\System\\ado\\MSADER15.DLL\n"
        "MSADOR15.DLL      2.81.1117     matches  yes     yes                   C:\\Program "
        "Files\\Common Files\\System\\ado\\MSADOR15.DLL\n"
        "MSADRH15.DLL      2.81.1117     matches  yes     yes                   C:\\Program "
        "Files\\Common Files\\System\\ado\\MSADRH15.DLL\n"
        "MSADOX.DLL        N/A           missing  yes     yes                   Not available\n"
        "MSADOMD.dll       2.81.1117     matches  yes     yes                   C:\\Program "
        "Files\\Common Files\\System\\ado\\MSADOMD.dll\n"
        "MSJRO.DLL         2.80.1022     differs  yes     yes                   C:\\Program "
        "Files\\Common Files\\System\\ado\\MSJRO.DLL\n";
    ASSERT_GE(s.host.Out.size(), expected.size());
    EXPECT_EQ(s.host.Out.substr(0, expected.size()), expected);
    const std::string tail = "MSDAURL.DLL       2.81.1117     -        no      yes                 "
                             "  C:\\Program Files\\Common Files\\System\\Ole DB\\MSDAURL.DLL\n";
    EXPECT_NE(s.host.Out.find(tail), std::string::npos);
    EXPECT_NE(
        s.host.Out.find("msjetoledb40.dll  4.0.8015      -        no      yes             "
                        "      C:\\WINDOWS\\system32\\msjetoledb40.dll\n\nData providers: 10\n"
                        "ProgID                   Essential  State"),
        std::string::npos);
    const std::string end = "Essential data providers that cannot be used: 0\n"
                            "\n"
                            "Result: something needs attention.\n"
                            "Listed files whose version does not match the MDAC release: 1\n"
                            "Listed files that are missing or have no version: 1\n";
    // Today's report ends there; the answer on databases follows it.
    EXPECT_NE(s.host.Out.find(end + "\n" + s.T(bitness_text::kTitle) + "\n"), std::string::npos);
}

TEST(ReportText, GermanForAScriptedSystem) {
    ScriptedSystem s;
    OldJetSystem(s);
    s.system.UiLanguage = ScriptedSystem::kGerman;
    s.system.Version = {2, 5, 1, 2600}; // Windows XP: the old MDAC points to the service pack
    s.SetMdac("2.80.1022.0");
    s.Place(28, 4, 0, 8015);
    EXPECT_EQ(s.Run({"report"}), kExitAttention);
    const std::string expected =
        std::string("Quendry\n") + "Programmversion: " + ProgramVersion() + "\n" +
        "Windows-Version: 5.1.2600\n"
        "Windows-Versionsklasse: 6 (Windows XP)\n"
        "Sprache des Benutzers: Deutsch\n"
        "\n"
        "Installierte MDAC-Version\n"
        "Registrierungswert FullInstallVer: 2.80.1022.0\n"
        "Laut Windows-Systemregistrierung ist auf Ihrem System MDAC 2.80 installiert. Wir "
        "empfehlen Ihnen die Installation von Windows XP Service Pack 2, um die neueste "
        "MDAC-Version 2.81 zu erhalten.\n"
        "\n"
        "Installierte Microsoft Jet-Version\n"
        "Jet-Bibliothek: C:\\WINDOWS\\system32\\msjet40.dll\n"
        "Jet-Build: 8015\n"
        "Die installierte Version des Microsoft Jet Datenbankmoduls ist 4.0.8015.\n"
        "Dies ist die neueste verfügbare Version von Jet; kein Update wird benötigt.\n"
        "\n"
        "Empfohlene Webseite: keine\n"
        "\n"
        "Komponentenbibliotheken: 31\n"
        "Dateiname         Dateiversion  Markierung  In der Liste  Von der Reparatur registriert  "
        "Pfad\n"
        "MSADO15.DLL       2.81.1117     weicht ab   ja            ja                             "
        "C:\\Program Files\\Common Files\\System\\ado\\MSADO15.DLL\n";
    ASSERT_GE(s.host.Out.size(), expected.size());
    EXPECT_EQ(s.host.Out.substr(0, expected.size()), expected);
    EXPECT_NE(s.host.Out.find("MSADOX.DLL        N/A           fehlt       ja            ja       "
                              "                      Nicht vorhanden\n"),
              std::string::npos);
    EXPECT_NE(s.host.Out.find("MSJRO.DLL         2.80.1022     passt       ja"), std::string::npos);
    const std::string end = "\nErgebnis: Etwas muss beachtet werden.\n"
                            "Aufgelistete Dateien, deren Version nicht zur MDAC-Version passt: 25\n"
                            "Aufgelistete Dateien, die fehlen oder keine Version haben: 1\n";
    // Today's report ends there; the answer on databases follows it.
    EXPECT_NE(s.host.Out.find(end + "\n" + s.T(bitness_text::kTitle) + "\n"), std::string::npos);
}

TEST(ReportText, UnknownWindowsAndNoRegistryValue) {
    ScriptedSystem s;
    s.system.VersionOk = false;
    s.AllPresent();
    EXPECT_EQ(s.Run({"report"}), kExitAttention);
    EXPECT_NE(s.host.Out.find("Windows version: unknown\nWindows version class: 0 (unknown)\n"),
              std::string::npos);
    EXPECT_NE(s.host.Out.find("Registry value FullInstallVer: Not available\n"
                              "According to the Windows registry, you have MDAC  installed. " +
                              LoadText(114, Language::English) + "\n"),
              std::string::npos);
    // An empty release matches every version, as the file list marks it.
    EXPECT_NE(s.host.Out.find("Listed files whose version does not match the MDAC release: 0\n"),
              std::string::npos);
}

std::optional<json::Value> ParsedJson(const std::string& text) {
    std::string error;
    std::optional<json::Value> doc = json::Parse(text, &error);
    EXPECT_TRUE(doc.has_value()) << error << "\n" << text;
    return doc;
}

TEST(ReportJson, ShapeAndValuesForAScriptedSystem) {
    ScriptedSystem s;
    OldJetSystem(s);
    EXPECT_EQ(s.Run({"report", "--json"}), kExitAttention);
    const auto doc = ParsedJson(s.host.Out);
    ASSERT_TRUE(doc);
    const json::Value& d = *doc;
    EXPECT_EQ(d["schema"].number, 1);
    EXPECT_EQ(d.Keys(),
              (std::vector<std::string>{"schema", "program", "windows", "language", "mdac", "jet",
                                        "advisedPage", "components", "providers", "mismatchedCount",
                                        "missingCount", "failingEssentialProviders",
                                        "needsAttention", "dataAccess"}));
    EXPECT_EQ(d["program"]["name"].text, "Quendry");
    EXPECT_EQ(d["program"]["version"].text, ProgramVersion());
    EXPECT_EQ(d["windows"]["major"].number, 6);
    EXPECT_EQ(d["windows"]["minor"].number, 1);
    EXPECT_EQ(d["windows"]["build"].number, 7601);
    EXPECT_EQ(d["windows"]["platform"].number, 2);
    EXPECT_EQ(d["windows"]["class"].number, 8);
    EXPECT_EQ(d["language"].text, "en");
    EXPECT_EQ(d["mdac"]["fullInstallVer"].text, "2.81.1117.0");
    EXPECT_EQ(d["mdac"]["release"].text, "2.81");
    EXPECT_EQ(d["mdac"]["minimum"].text, "2.81");
    EXPECT_TRUE(d["mdac"]["upToDate"].boolean);
    EXPECT_EQ(d["mdac"]["advice"].text, "none");
    EXPECT_EQ(d["jet"]["path"].text, "C:\\WINDOWS\\system32\\msjet40.dll");
    EXPECT_EQ(d["jet"]["version"].text, "4.0.2927");
    EXPECT_EQ(d["jet"]["build"].text, "4");
    EXPECT_EQ(d["jet"]["minimum"].text, "8015");
    EXPECT_FALSE(d["jet"]["upToDate"].boolean);
    EXPECT_EQ(d["advisedPage"].text, LoadText(117, Language::English));
    EXPECT_TRUE(d["needsAttention"].boolean);

    const auto& items = d["components"].items;
    ASSERT_EQ(items.size(), kComponentCount);
    size_t listed = 0, registered = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const json::Value& c = items[i];
        EXPECT_EQ(c.Keys(),
                  (std::vector<std::string>{"index", "fileName", "version", "path", "present",
                                            "listed", "registeredByRepair", "matches", "mark"}));
        EXPECT_EQ(c["index"].number, static_cast<double>(i));
        EXPECT_EQ(c["fileName"].text, GetFile(kComponentRows[i].appendedPath));
        listed += c["listed"].boolean ? 1 : 0;
        registered += c["registeredByRepair"].boolean ? 1 : 0;
        EXPECT_EQ(c["matches"].IsNull(), !c["listed"].boolean) << i;
    }
    EXPECT_EQ(listed, 27u);
    EXPECT_EQ(registered, 24u);
    // The missing library: no version, no path, a warning mark.
    EXPECT_FALSE(items[4]["present"].boolean);
    EXPECT_TRUE(items[4]["version"].IsNull());
    EXPECT_TRUE(items[4]["path"].IsNull());
    EXPECT_FALSE(items[4]["matches"].boolean);
    EXPECT_EQ(items[4]["mark"].text, "missing");
    EXPECT_EQ(items[6]["version"].text, "2.80.1022");
    EXPECT_EQ(items[6]["mark"].text, "differs");
    EXPECT_EQ(d["mismatchedCount"].number, 1);
    EXPECT_EQ(d["missingCount"].number, 1);
    EXPECT_FALSE(items[6]["matches"].boolean);
    EXPECT_EQ(items[0]["path"].text, ScriptedSystem::PathOf(0));
    EXPECT_TRUE(items[0]["matches"].boolean);
    EXPECT_EQ(items[28]["version"].text, "4.0.2927");
}

TEST(ReportJson, SameShapeAndFactsInEveryLanguage) {
    ScriptedSystem en, de;
    for (ScriptedSystem* s : {&en, &de}) {
        OldJetSystem(*s);
        s->SetMdac("2.80.1022.0");
        s->Remove(29);
    }
    de.system.UiLanguage = ScriptedSystem::kGerman;
    EXPECT_EQ(en.Run({"report", "--json"}), de.Run({"report", "--json"}));
    auto a = ParsedJson(en.host.Out), b = ParsedJson(de.host.Out);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->Find("language")->text, "de");
    EXPECT_EQ(b->Find("advisedPage")->text, LoadText(117, Language::German));
    EXPECT_EQ(b->Find("providers")->items[0]["reason"].text, "funktioniert");
    // Apart from those members and the providers' reasons in words, the documents are the same,
    // byte for byte.
    for (json::Value* doc : {&*a, &*b}) {
        for (auto& [key, value] : doc->members) {
            // The data-access answer's routes carry their reasons in words, too.
            if (key == "language" || key == "advisedPage" || key == "dataAccess")
                value = {};
            if (key == "providers")
                for (auto& provider : value.items)
                    for (auto& [name, member] : provider.members)
                        if (name == "reason")
                            member = {};
        }
    }
    const auto flatten = [](const json::Value& v) {
        std::string out;
        const std::function<void(const json::Value&)> walk = [&](const json::Value& x) {
            out += std::to_string(static_cast<int>(x.kind)) + x.text + (x.boolean ? "t" : "f");
            for (const auto& item : x.items)
                walk(item);
            for (const auto& [k, m] : x.members) {
                out += k;
                walk(m);
            }
        };
        walk(v);
        return out;
    };
    EXPECT_EQ(flatten(*a), flatten(*b));
}

TEST(ReportJson, TextsFromTheSystemAreEscaped) {
    ScriptedSystem s;
    s.system.SystemDir = "C:\\Syst\"em\t\x01\xC3\xA4\xFF";
    s.SetMdac("2.81\n\"x\"");
    s.Run({"report", "--json"});
    const auto doc = ParsedJson(s.host.Out);
    ASSERT_TRUE(doc);
    EXPECT_EQ((*doc)["jet"]["path"].text,
              "C:\\Syst\"em\t\x01\xC3\xA4\xEF\xBF\xBD\\msjet40.dll"); // the lone 0xFF replaced
    EXPECT_EQ((*doc)["mdac"]["fullInstallVer"].text, "2.81\n\"x\"");
    EXPECT_EQ((*doc)["mdac"]["release"].text, "2.81");
    EXPECT_TRUE((*doc)["jet"]["version"].IsNull());
    EXPECT_TRUE((*doc)["jet"]["build"].IsNull());
}

// Every combination of the three verdicts: only all three good gives 0.
struct Verdicts {
    bool MdacOk, JetOk, FilesMatch;
};

class ExitCode : public ::testing::TestWithParam<Verdicts> {};

TEST_P(ExitCode, ZeroOnlyWhenMdacJetAndEveryListedFileAreGood) {
    const Verdicts v = GetParam();
    ScriptedSystem s;
    s.system.Version = kWin7;
    s.SetMdac(v.MdacOk ? "2.81.1117.0" : "2.80.1022.0");
    s.AllPresent(v.JetOk ? 8015 : 6218);
    if (!v.MdacOk) // the files follow the installed release
        for (size_t i = 0; i < 28; ++i)
            s.Place(i, 2, 80, 1022);
    if (!v.FilesMatch)
        s.Place(17, 2, 79, 1); // OLEDB32.DLL, a listed library
    const bool good = v.MdacOk && v.JetOk && v.FilesMatch;
    const int expected = good ? kExitOk : kExitAttention;
    EXPECT_EQ(s.Run({"report"}), expected);
    EXPECT_NE(s.host.Out.find(LoadText(good ? 222 : 223, Language::English)), std::string::npos);
    s.host.Out.clear();
    EXPECT_EQ(s.Run({"report", "--json"}), expected);
    const auto doc = ParsedJson(s.host.Out);
    ASSERT_TRUE(doc);
    EXPECT_EQ((*doc)["needsAttention"].boolean, !good);
    EXPECT_EQ((*doc)["mdac"]["upToDate"].boolean, v.MdacOk);
    EXPECT_EQ((*doc)["jet"]["upToDate"].boolean, v.JetOk);
    size_t mismatched = 0;
    for (const auto& c : (*doc)["components"].items)
        mismatched += c["matches"].kind == json::Value::Kind::Bool && !c["matches"].boolean;
    EXPECT_EQ(mismatched == 0, v.FilesMatch);
}

INSTANTIATE_TEST_SUITE_P(
    AllCombinations, ExitCode,
    ::testing::Values(Verdicts{true, true, true}, Verdicts{true, true, false},
                      Verdicts{true, false, true}, Verdicts{true, false, false},
                      Verdicts{false, true, true}, Verdicts{false, true, false},
                      Verdicts{false, false, true}, Verdicts{false, false, false}),
    [](const auto& info) {
        return std::string(info.param.MdacOk ? "MdacOk" : "MdacOld") +
               (info.param.JetOk ? "JetOk" : "JetOld") +
               (info.param.FilesMatch ? "FilesMatch" : "FileDiffers");
    });

// 64-bit Windows with Jet for 32-bit programs only.
void WithJetFor32BitOnly(ScriptedSystem& s) {
    s.machine.Windows64 = true;
    s.registry.TwoViews = true;
    const std::string jet = "C:\\WINDOWS\\system32\\msjetoledb40.dll";
    const std::string clsid = "{DEE35070-506B-11CF-B1AA-00AA00B8DE95}";
    s.registry.SetStringValue(
        kHkeyLocalMachine,
        FakeRegistry::View32("SOFTWARE\\Classes\\Microsoft.Jet.OLEDB.4.0\\CLSID"), "", clsid);
    s.registry.SetStringValue(
        kHkeyLocalMachine,
        FakeRegistry::View32("SOFTWARE\\Classes\\CLSID\\" + clsid + "\\InprocServer32"), "", jet);
    s.files.AddLibrary(jet, Bitness::Bits32, kMachineI386);
}

// The answer's JSON: a route with its remedy, a provider with its creation, a program's verdict.
TEST(ReportJson, DataAccessAndProgramMembers) {
    ScriptedSystem s;
    WithJetFor32BitOnly(s);
    s.Run({"report", "--json"});
    const auto doc = ParsedJson(s.host.Out);
    ASSERT_TRUE(doc);
    const json::Value& d = (*doc)["dataAccess"];
    EXPECT_TRUE(d["windows64"].boolean);
    const json::Value& mdb64 = d["answers"].items.at(1)["files"].items.at(0);
    EXPECT_EQ(mdb64["kind"].text, "mdb");
    EXPECT_FALSE(mdb64["oleDb"]["yes"].boolean);
    EXPECT_EQ(mdb64["oleDb"]["closed"].text, "otherBitness");
    EXPECT_EQ(mdb64["oleDb"]["remedy"].text, "runAs32Bit");
    const json::Value& jet = d["views"].items.at(0)["providers"].items.at(0);
    EXPECT_EQ(jet["state"].text, "present");
    EXPECT_TRUE(jet["created"].boolean);
    EXPECT_EQ(d["userAccount"].text, "PC\\anna");

    s.host.Out.clear();
    s.files.Images[{"C:\\app.exe", Bitness::Bits64}] = {
        .Kind = ImageKind::Native, .Machine = kMachineAmd64, .Pe32Plus = true};
    EXPECT_EQ(s.Run({"report", "--program", "C:\\app.exe", "--json"}), kExitOk);
    const auto program = ParsedJson(s.host.Out);
    ASSERT_TRUE(program);
    EXPECT_EQ((*program)["verdict"].text, "runs");
    EXPECT_EQ((*program)["runsAs"].number, 64);
    EXPECT_FALSE((*program)["canOpen"]["mdb"].boolean);
}

TEST(ReportOut, TextFileCarriesTheByteOrderMarkAndWindowsLineEnds) {
    ScriptedSystem s;
    s.system.Version = kWin7;
    s.SetMdac("2.81.1117.0");
    s.AllPresent();
    EXPECT_EQ(s.Run({"report", "--out", "C:\\r.txt"}), kExitOk);
    EXPECT_EQ(s.host.Out, "");
    ScriptedSystem console;
    console.system.Version = kWin7;
    console.SetMdac("2.81.1117.0");
    console.AllPresent();
    console.Run({"report"});
    EXPECT_EQ(s.host.Files["C:\\r.txt"],
              std::string(kUtf8Bom) + WithCarriageReturns(console.host.Out));
    EXPECT_EQ(s.host.Files["C:\\r.txt"].find("\r\r"), std::string::npos);
}

TEST(ReportOut, JsonFileHasNoByteOrderMark) {
    ScriptedSystem s;
    s.SetMdac("2.81.1117.0");
    s.Run({"report", "--json", "--out=r.json"});
    const std::string& file = s.host.Files["r.json"];
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[0], '{');
    EXPECT_TRUE(ParsedJson(file));
}

TEST(ReportOut, UnwritableFileIsAnErrorInTheUsersLanguage) {
    for (uint16_t langId : {ScriptedSystem::kEnglish, ScriptedSystem::kGerman}) {
        ScriptedSystem s;
        s.system.UiLanguage = langId;
        s.system.Version = kWin7;
        s.SetMdac("2.81.1117.0");
        s.AllPresent(); // up to date: the exit code can only come from the file
        s.host.Unwritable.insert("Z:\\no\\r.txt");
        EXPECT_EQ(s.Run({"report", "--out", "Z:\\no\\r.txt"}), kExitUsage);
        EXPECT_EQ(s.host.Out, "");
        EXPECT_EQ(s.host.Err, modAPI::printf(s.T(231), {std::string("Z:\\no\\r.txt")}) + "\n");
    }
}

TEST(Usage, HelpAndErrorsInTheUsersLanguageWithExitTwo) {
    for (uint16_t langId : {ScriptedSystem::kEnglish, ScriptedSystem::kGerman}) {
        const Language lang = LanguageFromLangId(langId);
        struct Row {
            std::vector<std::string> Args;
            std::string Out, Err;
        };
        const std::string usage = LoadText(200, lang);
        const Row rows[] = {
            {{"--help"}, usage, ""},
            {{"/?"}, usage, ""},
            {{}, "", LoadText(204, lang) + "\n\n" + usage},
            {{"fix"},
             "",
             modAPI::printf(LoadText(201, lang), {std::string("fix")}) + "\n\n" + usage},
            {{"report", "--out"},
             "",
             modAPI::printf(LoadText(202, lang), {std::string("--out")}) + "\n\n" + usage},
            {{"report", "--out=a", "--out=b"},
             "",
             modAPI::printf(LoadText(203, lang), {std::string("--out")}) + "\n\n" + usage},
        };
        for (const Row& row : rows) {
            ScriptedSystem s;
            s.system.UiLanguage = langId;
            EXPECT_EQ(s.Run(row.Args), kExitUsage);
            EXPECT_EQ(s.host.Out, row.Out);
            EXPECT_EQ(s.host.Err, row.Err);
            EXPECT_EQ(s.versions.sizeQueries.size(), 0u) << "nothing is examined";
            EXPECT_EQ(s.host.ElevationQueries, 0);
        }
    }
}

} // namespace
