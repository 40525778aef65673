#include "report_text.h"

#include <vector>

#include "cli_texts.h"
#include "console_text.h"
#include "text/printf.h"
#include "text/string_table.h"

namespace {

constexpr uint16_t kTextTitle = 100;
constexpr uint16_t kTextNotAvailable = 102;
constexpr uint16_t kTextFileName = 137;
constexpr uint16_t kTextFileVersion = 138;
constexpr uint16_t kTextPath = 139;
constexpr uint16_t kTextMdacHeader = 151;
constexpr uint16_t kTextJetHeader = 152;
constexpr uint32_t kPlatformNt = 2;
constexpr int32_t kHighestWindowsClass = 8;

class Writer {
public:
    explicit Writer(Language lang) : m_lang(lang) {}
    std::string T(uint16_t id) const { return LoadText(id, m_lang); }
    std::string Fill(uint16_t id, const std::string& value) const {
        return modAPI::printf(T(id), {value});
    }
    void Line(const std::string& text) { m_out += LineFeedsOnly(text) + "\n"; }
    void Blank() { m_out += "\n"; }
    void Raw(const std::string& text) { m_out += text; }
    const std::string& Text() const { return m_out; }

private:
    Language m_lang;
    std::string m_out;
};

std::string ClassText(const SystemReport& r, const Writer& w) {
    const int32_t cls =
        r.WindowsClass >= 0 && r.WindowsClass <= kHighestWindowsClass ? r.WindowsClass : 0;
    return std::to_string(r.WindowsClass) + " (" +
           w.T(static_cast<uint16_t>(cli_text::kWindowsClassNames + cls)) + ")";
}

std::string MarkText(const SystemReport& r, size_t index, const Writer& w) {
    const std::optional<FileMark> mark = ComponentMark(r, index);
    if (!mark)
        return "-"; // the file list does not show it, so it carries no mark
    switch (*mark) {
    case FileMark::Matches:
        return w.T(cli_text::kMatches);
    case FileMark::Differs:
        return w.T(cli_text::kDiffers);
    case FileMark::Missing:
        break;
    }
    return w.T(cli_text::kMissing);
}

} // namespace

uint32_t WindowsBuildNumber(const SystemReport& report) {
    return report.Windows.PlatformId == kPlatformNt ? report.Windows.Build
                                                    : report.Windows.Build & 0xFFFF;
}

std::string WindowsVersionText(const SystemReport& report) {
    return std::to_string(report.Windows.Major) + "." + std::to_string(report.Windows.Minor) + "." +
           std::to_string(WindowsBuildNumber(report));
}

std::string ReportText(const SystemReport& r) {
    using namespace cli_text;
    Writer w(r.Lang);
    const VersionDiagnosis& v = r.Versions;

    w.Line(w.T(kTextTitle));
    w.Line(w.Fill(kProgramVersion, r.ProgramVersion));
    w.Line(
        w.Fill(kWindowsVersion, r.WindowsKnown ? WindowsVersionText(r) : w.T(kWindowsClassNames)));
    w.Line(w.Fill(kWindowsClass, ClassText(r, w)));
    w.Line(w.Fill(kUserLanguage, w.T(r.Lang == Language::German ? kGerman : kEnglish)));
    w.Blank();

    w.Line(w.T(kTextMdacHeader));
    w.Line(w.Fill(kFullInstallVer,
                  v.FullInstallVer.empty() ? w.T(kTextNotAvailable) : v.FullInstallVer));
    w.Line(MdacDescription(v, r.Lang));
    w.Blank();

    w.Line(w.T(kTextJetHeader));
    w.Line(w.Fill(kJetLibrary, v.JetPath));
    w.Line(w.Fill(kJetBuild, v.JetBuild));
    w.Line(JetDescription(v, r.Lang));
    w.Blank();

    w.Line(v.AdvisedPage.empty() ? w.T(kNoAdvisedPage) : w.Fill(kAdvisedPage, v.AdvisedPage));
    w.Blank();

    w.Line(w.Fill(kComponents, std::to_string(r.Components.size())));
    std::vector<std::vector<std::string>> rows;
    rows.push_back({w.T(kTextFileName), w.T(kTextFileVersion), w.T(kColumnMark), w.T(kColumnListed),
                    w.T(kColumnRegistered), w.T(kTextPath)});
    for (size_t i = 0; i < r.Components.size(); ++i) {
        const ComponentFile& file = r.Components[i];
        rows.push_back({file.sFileName, file.sVersion, MarkText(r, i, w),
                        w.T(file.bNotListed ? kNo : kYes), w.T(file.bNoRegister ? kNo : kYes),
                        file.sPath});
    }
    w.Raw(FormatColumns(rows));
    w.Blank();

    w.Raw(ProviderLines(r.Providers, r.Lang));
    w.Blank();

    w.Line(w.T(NeedsAttention(r) ? kResultAttention : kResultUpToDate));
    w.Line(w.Fill(kMismatchedCount, std::to_string(MismatchedCount(r))));
    w.Line(w.Fill(kMissingCount, std::to_string(MissingCount(r))));
    return w.Text();
}

std::string ProviderLines(const std::vector<ReportedProvider>& providers, Language lang) {
    using namespace cli_text;
    Writer w(lang);
    w.Line(w.Fill(kProviders, std::to_string(providers.size())));
    std::vector<std::vector<std::string>> rows;
    rows.push_back({w.T(kColumnProgId), w.T(kColumnEssential), w.T(kColumnState),
                    w.T(kColumnThreading), w.T(kColumnClsid), w.T(kColumnLibrary)});
    for (const ReportedProvider& p : providers)
        rows.push_back({p.Check.ProgId, w.T(p.Check.Essential ? kYes : kNo), p.Reason,
                        p.Check.ThreadingModel.empty() ? "-" : p.Check.ThreadingModel,
                        p.Check.Clsid, p.Check.Library.empty() ? "-" : p.Check.Library});
    w.Raw(FormatColumns(rows));
    w.Line(w.Fill(kFailingProviders, std::to_string(FailingEssentialCount(providers))));
    return w.Text();
}
