#include "report_json.h"

#include <charconv>

#include "bitness/answer_text.h"
#include "json_writer.h"
#include "report_text.h"

namespace {

const char* MarkName(FileMark mark) {
    switch (mark) {
    case FileMark::Matches:
        return "matches";
    case FileMark::Differs:
        return "differs";
    case FileMark::Missing:
        break;
    }
    return "missing";
}

// The state of a data provider's class, as scripts read it.
const char* StateName(ProviderState state) {
    switch (state) {
    case ProviderState::Works:
        return "works";
    case ProviderState::NoProgId:
    case ProviderState::NoClass:
        return "notRegistered";
    case ProviderState::LibraryMissing:
        return "libraryMissing";
    case ProviderState::NotCreated:
        return "notCreated";
    case ProviderState::Crashed:
        return "crashed";
    case ProviderState::TimedOut:
        return "noAnswer";
    case ProviderState::EndedProcess:
        return "endedProcess";
    case ProviderState::HostRefused:
        break;
    }
    return "notAttempted";
}

void TextOrNull(JsonWriter& json, const std::string& text) {
    if (text.empty())
        json.Null();
    else
        json.String(text);
}

const char* AdviceName(MdacAdvice advice) {
    switch (advice) {
    case MdacAdvice::None:
        return "none";
    case MdacAdvice::ServicePack:
        return "servicePack";
    case MdacAdvice::Download:
        return "download";
    }
    return "none";
}

// The build form as a number; it is always decimal digits when the version was read.
void BuildNumber(JsonWriter& json, const VersionDiagnosis& v) {
    uint32_t build = 0;
    const char* first = v.JetBuild.data();
    const char* last = first + v.JetBuild.size();
    const auto [end, error] = std::from_chars(first, last, build);
    if (!v.JetVersionRead || error != std::errc() || end != last)
        json.Null();
    else
        json.Number(build);
}

// The MDAC minimum as the shortest decimal text that reads back as it ("2.81").
std::string MdacMinimumText() {
    char text[32] = {};
    const auto result = std::to_chars(text, text + sizeof text, kMdacMinimum);
    return std::string(text, result.ptr);
}

void OptionalNumber(JsonWriter& json, bool known, int64_t value) {
    if (known)
        json.Number(value);
    else
        json.Null();
}

int64_t Bits(Bitness b) {
    return b == Bitness::Bits64 ? 64 : 32;
}

const char* ComponentStateName(ComponentState state) {
    switch (state) {
    case ComponentState::NotRegistered:
        return "notRegistered";
    case ComponentState::FileMissing:
        return "fileMissing";
    case ComponentState::Unreadable:
        return "unreadable";
    case ComponentState::WrongMachine:
        return "wrongMachine";
    case ComponentState::Present:
        break;
    }
    return "present";
}

const char* ClosedName(Closed why) {
    constexpr const char* kNames[] = {
        "open",          "nothingInstalled",   "otherBitness",     "onlyClickToRun",
        "fileMissing",   "unreadable",         "wrongMachine",     "notCreated",
        "driverNowhere", "driverOtherBitness", "sourceInOtherView"};
    static_assert(std::size(kNames) == static_cast<size_t>(Closed::SourceInOtherView) + 1);
    return kNames[static_cast<size_t>(why)];
}

const char* RemedyName(Remedy fix) {
    constexpr const char* kNames[] = {"none",
                                      "runAs32Bit",
                                      "use64BitProgram",
                                      "installEngine",
                                      "installRuntime2013",
                                      "updateOffice",
                                      "reinstallEngine",
                                      "repairJet",
                                      "otherAdministrator",
                                      "installDriver"};
    static_assert(std::size(kNames) == static_cast<size_t>(Remedy::InstallDriver) + 1);
    return kNames[static_cast<size_t>(fix)];
}

const char* VerdictName(ProgramVerdict verdict) {
    constexpr const char* kNames[] = {"notFound", "unreadable",   "notAProgram", "damaged",
                                      "library",  "otherMachine", "runs"};
    static_assert(std::size(kNames) == static_cast<size_t>(ProgramVerdict::Runs) + 1);
    return kNames[static_cast<size_t>(verdict)];
}

void RouteJson(JsonWriter& json, const Route& r, Bitness b, bool windows64, Language lang) {
    json.BeginObject();
    json.Key("yes").Bool(r.Yes);
    json.Key("via");
    TextOrNull(json, r.Via);
    json.Key("evidence");
    r.Yes ? json.String(r.Created ? "created" : "registeredFilePresentImageMatches") : json.Null();
    json.Key("closed").String(ClosedName(r.Why));
    json.Key("remedy").String(RemedyName(r.Fix));
    json.Key("text");
    TextOrNull(json, ClosedText(r, b, windows64, lang));
    json.EndObject();
}

void FileJson(JsonWriter& json, const LibraryFile& f) {
    json.Key("library");
    TextOrNull(json, f.Path);
    json.Key("state").String(ComponentStateName(f.State));
    json.Key("machine").Number(f.Machine);
}

void SourcesJson(JsonWriter& json, const std::vector<DataSource>& sources) {
    json.BeginArray();
    for (const DataSource& s : sources) {
        json.BeginObject();
        json.Key("name").String(s.Name);
        json.Key("driver").String(s.Driver);
        json.Key("driverIn32Bit").Bool(s.DriverIn32);
        json.Key("driverIn64Bit").Bool(s.DriverIn64);
        json.EndObject();
    }
    json.EndArray();
}

void DataAccessJson(JsonWriter& json, const DataAccessReport& d, Language lang) {
    const Inventory& inv = d.Facts;
    json.BeginObject();
    json.Key("windows64").Bool(inv.Windows64);
    json.Key("answers").BeginArray();
    for (const BitnessAnswer& a : d.Answers) {
        json.BeginObject();
        json.Key("bits").Number(Bits(a.Program));
        json.Key("files").BeginArray();
        for (const FileAnswer& f : a.Files) {
            json.BeginObject();
            json.Key("kind").String(FileKindName(f.Kind));
            json.Key("oleDb");
            RouteJson(json, f.OleDb, a.Program, inv.Windows64, lang);
            json.Key("odbc");
            RouteJson(json, f.Odbc, a.Program, inv.Windows64, lang);
            json.EndObject();
        }
        json.EndArray();
        json.Key("dataSources").BeginArray();
        for (const SourceAnswer& s : a.Sources) {
            json.BeginObject();
            json.Key("name").String(s.Source.Name);
            json.Key("system").Bool(s.Source.System);
            json.Key("view");
            s.Source.System ? json.Number(Bits(s.Source.View)) : json.Null();
            json.Key("use");
            RouteJson(json, s.Use, a.Program, inv.Windows64, lang);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("views").BeginArray();
    for (const ViewInventory& v : inv.Views) {
        json.BeginObject();
        json.Key("bits").Number(Bits(v.View));
        json.Key("providers").BeginArray();
        for (const OleDbProvider& p : v.Providers) {
            json.BeginObject();
            json.Key("progId").String(p.ProgId);
            json.Key("clsid");
            TextOrNull(json, p.Clsid);
            FileJson(json, p.Library);
            json.Key("created");
            p.Created ? json.Bool(*p.Created >= 0) : json.Null();
            json.EndObject();
        }
        json.EndArray();
        json.Key("drivers").BeginArray();
        for (const OdbcDriver& dr : v.Drivers) {
            json.BeginObject();
            json.Key("name").String(dr.Name);
            json.Key("engine");
            dr.Family ? json.String(*dr.Family == Engine::Jet ? "jet" : "ace") : json.Null();
            json.Key("serves").BeginArray();
            for (FileKind kind : dr.Serves)
                json.String(FileKindName(kind));
            json.EndArray();
            FileJson(json, dr.Library);
            json.EndObject();
        }
        json.EndArray();
        json.Key("systemDataSources");
        SourcesJson(json, v.SystemSources);
        json.EndObject();
    }
    json.EndArray();
    json.Key("userAccount").String(inv.UserAccount);
    json.Key("userDataSources");
    SourcesJson(json, inv.UserSources);
    const OfficeInstall& o = inv.Office;
    json.Key("office").BeginObject();
    json.Key("found").Bool(o.Found);
    json.Key("clickToRun").Bool(o.ClickToRun);
    json.Key("bits");
    o.Bits ? json.Number(Bits(*o.Bits)) : json.Null();
    json.Key("version");
    TextOrNull(json, o.Version);
    json.Key("products");
    TextOrNull(json, o.Products);
    json.Key("volume").Bool(o.Volume);
    json.Key("aceOnlyInClickToRun").BeginArray();
    for (const std::string& id : o.AceOnlyInClickToRun)
        json.String(id);
    json.EndArray();
    json.EndObject();
    json.EndObject();
}

} // namespace

std::string ReportJson(const SystemReport& r) {
    const VersionDiagnosis& v = r.Versions;
    JsonWriter json;
    json.BeginObject();
    json.Key("schema").Number(kReportSchema);

    json.Key("program").BeginObject();
    json.Key("name").String("Quendry");
    json.Key("version").String(r.ProgramVersion);
    json.EndObject();

    json.Key("windows").BeginObject();
    json.Key("major");
    OptionalNumber(json, r.WindowsKnown, r.Windows.Major);
    json.Key("minor");
    OptionalNumber(json, r.WindowsKnown, r.Windows.Minor);
    json.Key("build");
    OptionalNumber(json, r.WindowsKnown, WindowsBuildNumber(r));
    json.Key("platform");
    OptionalNumber(json, r.WindowsKnown, r.Windows.PlatformId);
    json.Key("class").Number(r.WindowsClass);
    json.EndObject();

    json.Key("language").String(r.Lang == Language::German ? "de" : "en");

    json.Key("mdac").BeginObject();
    json.Key("fullInstallVer").String(v.FullInstallVer);
    json.Key("release").String(v.MdacRelease);
    json.Key("minimum").String(MdacMinimumText());
    json.Key("upToDate").Bool(v.MdacUpToDate);
    json.Key("advice").String(AdviceName(v.Mdac));
    json.EndObject();

    json.Key("jet").BeginObject();
    json.Key("path").String(v.JetPath);
    json.Key("version");
    if (v.JetVersionRead)
        json.String(v.JetVersion);
    else
        json.Null();
    json.Key("build");
    BuildNumber(json, v);
    json.Key("minimum").Number(static_cast<int64_t>(kJetMinimumBuild));
    json.Key("upToDate").Bool(v.JetUpToDate);
    json.EndObject();

    json.Key("advisedPage");
    if (v.AdvisedPage.empty())
        json.Null();
    else
        json.String(v.AdvisedPage);

    json.Key("components").BeginArray();
    for (size_t i = 0; i < r.Components.size(); ++i) {
        const ComponentFile& file = r.Components[i];
        const bool present = file.sVersion != kVersionNotRead;
        json.BeginObject();
        json.Key("index").Number(static_cast<int64_t>(i));
        json.Key("fileName").String(file.sFileName);
        json.Key("version");
        present ? json.String(file.sVersion) : json.Null();
        json.Key("path");
        present ? json.String(file.sPath) : json.Null();
        json.Key("present").Bool(present);
        json.Key("listed").Bool(!file.bNotListed);
        json.Key("registeredByRepair").Bool(!file.bNoRegister);
        const std::optional<FileMark> mark = ComponentMark(r, i);
        json.Key("matches");
        mark ? json.Bool(*mark == FileMark::Matches) : json.Null();
        json.Key("mark");
        mark ? json.String(MarkName(*mark)) : json.Null();
        json.EndObject();
    }
    json.EndArray();

    json.Key("providers").BeginArray();
    for (const ReportedProvider& p : r.Providers) {
        json.BeginObject();
        json.Key("progId").String(p.Check.ProgId);
        json.Key("clsid").String(p.Check.Clsid);
        json.Key("library");
        TextOrNull(json, p.Check.Library);
        json.Key("threadingModel");
        TextOrNull(json, p.Check.ThreadingModel);
        json.Key("state").String(StateName(p.Check.State));
        json.Key("reason").String(p.Reason);
        json.Key("essential").Bool(p.Check.Essential);
        json.EndObject();
    }
    json.EndArray();

    json.Key("mismatchedCount").Number(static_cast<int64_t>(MismatchedCount(r)));
    json.Key("missingCount").Number(static_cast<int64_t>(MissingCount(r)));
    json.Key("failingEssentialProviders")
        .Number(static_cast<int64_t>(FailingEssentialCount(r.Providers)));
    json.Key("needsAttention").Bool(NeedsAttention(r));
    json.Key("dataAccess");
    DataAccessJson(json, r.DataAccess, r.Lang);
    json.EndObject();
    return json.Text();
}

std::string ProgramJson(const std::string& path, const ProgramAnswer& program,
                        const BitnessAnswer* answer) {
    JsonWriter json;
    json.BeginObject();
    json.Key("schema").Number(kReportSchema);
    json.Key("program").String(path);
    json.Key("verdict").String(VerdictName(program.Verdict));
    json.Key("runsAs");
    answer != nullptr ? json.Number(Bits(program.RunsAs)) : json.Null();
    json.Key("machine").Number(program.Machine);
    json.Key("canOpen");
    if (answer == nullptr) {
        json.Null();
    } else {
        json.BeginObject();
        for (FileKind kind : kFileKinds)
            json.Key(FileKindName(kind)).Bool(CanOpen(*answer, kind));
        json.EndObject();
    }
    json.EndObject();
    return json.Text();
}
