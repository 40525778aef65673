#include "report_json.h"

#include <charconv>

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

} // namespace

std::string ReportJson(const SystemReport& r) {
    const VersionDiagnosis& v = r.Versions;
    JsonWriter json;
    json.BeginObject();

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
    json.EndObject();
    return json.Text();
}
