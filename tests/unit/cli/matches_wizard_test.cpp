// The console companion and the wizard on the same scripted system: the report's sentences,
// advised address and marks are those the wizard's pages show, and the repair calls the same
// libraries in the same order.
#include "cli/console_text.h"
#include "cli/system_report.h"
#include "cli_fixture.h"
#include "tests/fakes/json_reader.h"
#include "tests/unit/app/wizard_fixture.h"
#include "text/printf.h"

namespace {

using C = ControlId;
using Kind = FakeLibraryApi::Kind;

struct SameSystem {
    const char* Name;
    const char* Mdac; // nullptr: no registry value
    uint16_t JetBuild, JetRevision;
    OsVersionInfo Windows;
    uint16_t LangId;
};

std::ostream& operator<<(std::ostream& os, const SameSystem& c) {
    return os << c.Name;
}

constexpr OsVersionInfo kXp{2, 5, 1, 2600}, kW2k{2, 5, 0, 2195}, kW7{2, 6, 1, 7601};

// Lays the same system out for both: every library at 2.81.1117 except two, Jet as chosen.
template <typename Target>
void LayOut(Target& t, FakeSystem& system, FakeVersionApi& versions, FakeLibraryApi& libraries,
            const SameSystem& c) {
    system.Version = c.Windows;
    system.UiLanguage = c.LangId;
    versions.files.clear();
    for (size_t i = 0; i < kComponentCount; ++i) {
        const std::string path = ScriptedSystem::PathOf(i);
        if (i == 4)
            continue; // MSADOX.DLL missing
        if (i == 28)
            versions.Add(path, 4, 0, c.JetBuild, c.JetRevision);
        else if (i > 28)
            versions.Add(path, 4, 0, 8015, 0);
        else
            versions.Add(path, 2, i == 6 ? 80 : 81, i == 6 ? 1022 : 1117, 0);
        libraries.Add(path, i == 11 ? Kind::NoExport : Kind::Registering,
                      i == 2 ? int32_t(0x80004005u) : 0);
    }
    if (c.Mdac)
        t.SetMdac(c.Mdac);
}

const SameSystem kSystems[] = {
    {"BothCurrent", "2.81.1117.0", 8015, 0, kW7, 0x0409},
    {"OldMdacOnXpGerman", "2.80.1022.0", 8015, 0, kXp, 0x0407},
    {"OldMdacOn2000", "2.80.1022.0", 8618, 0, kW2k, 0x0409},
    {"OldJetGerman", "2.81.1117.0", 2927, 4, kW7, 0x0407},
    {"NoRegistryValue", nullptr, 8015, 0, kW2k, 0x0409},
    {"NewerMdacNumbering", "6.0.6000.16386", 9505, 0, kW7, 0x0c07},
};

class SameAsTheWizard : public ::testing::TestWithParam<SameSystem> {};

TEST_P(SameAsTheWizard, ReportSaysWhatThePagesShow) {
    const SameSystem& c = GetParam();
    Wizard w(nullptr);
    LayOut(w, w.system, w.versions, w.libraries, c);
    w.Start();
    w.Click(C::cmdWeiter); // the version page
    w.Click(C::cmdWeiter); // the repair page: the file list is filled
    ASSERT_EQ(w.frm.Step(), 3);

    // The report runs in a fresh process: the Windows class is worked out again.
    modAPI::ResetWindowsVersionClass();
    ScriptedSystem s;
    LayOut(s, s.system, s.versions, s.libraries, c);
    s.Run({"report"});
    const std::string& text = s.host.Out;

    EXPECT_NE(text.find("\n" + LineFeedsOnly(w.form.Caption(C::lblMDACVerDescr)) + "\n"),
              std::string::npos)
        << w.form.Caption(C::lblMDACVerDescr) << "\n---\n"
        << text;
    EXPECT_NE(text.find("\n" + LineFeedsOnly(w.form.Caption(C::lblJetVerDescr)) + "\n"),
              std::string::npos)
        << w.form.Caption(C::lblJetVerDescr) << "\n---\n"
        << text;
    EXPECT_NE(text.find("\n" + w.form.Caption(C::lblMDACVerHeader) + "\n"), std::string::npos);
    EXPECT_NE(text.find("\n" + w.form.Caption(C::lblJetVerHeader) + "\n"), std::string::npos);
    const std::string page = w.form.Visible(C::lblDownloadMDAC)
                                 ? modAPI::printf(s.T(212), {w.form.Caption(C::lblDownloadMDAC)})
                                 : s.T(213);
    EXPECT_NE(text.find("\n" + page + "\n"), std::string::npos) << page;

    s.host.Out.clear();
    s.Run({"report", "--json"});
    const auto doc = json::Parse(s.host.Out);
    ASSERT_TRUE(doc);
    EXPECT_EQ((*doc)["mdac"]["release"].text, w.frm.MDACVersion());
    EXPECT_EQ((*doc)["advisedPage"].IsNull(), w.frm.Url().empty());
    if (!w.frm.Url().empty()) {
        EXPECT_EQ((*doc)["advisedPage"].text, w.frm.Url());
    }
    // The listed components, in table order, as the file list shows them.
    int row = 0;
    for (const json::Value& item : (*doc)["components"].items) {
        if (!item["listed"].boolean)
            continue;
        const ListRow r = w.form.ListRowAt(C::lvwMDACFiles, row++);
        EXPECT_EQ(item["fileName"].text, r.Text);
        EXPECT_EQ(item["version"].IsNull() ? std::string(kVersionNotRead) : item["version"].text,
                  r.Sub1);
        if (!item["path"].IsNull()) {
            EXPECT_EQ(item["path"].text, r.Sub2);
        }
        EXPECT_EQ(item["matches"].boolean, r.Image == 1) << r.Text;
    }
    EXPECT_EQ(row, w.form.ListCount(C::lvwMDACFiles));
}

TEST_P(SameAsTheWizard, RepairCallsTheSameLibrariesInTheSameOrder) {
    const SameSystem& c = GetParam();
    Wizard w(nullptr);
    LayOut(w, w.system, w.versions, w.libraries, c);
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
    w.frm.cmdRepairMDAC_Click();

    ScriptedSystem s;
    LayOut(s, s.system, s.versions, s.libraries, c);
    s.Run({"repair"});

    const auto calls = [](const FakeLibraryApi& api) {
        std::vector<std::string> out;
        for (const std::string& entry : api.Log)
            if (entry.rfind("Load(", 0) == 0 || entry.rfind("Call(", 0) == 0)
                out.push_back(entry);
        return out;
    };
    EXPECT_EQ(calls(s.libraries), calls(w.libraries));
    EXPECT_FALSE(calls(s.libraries).empty());
    // The wizard's message names the same failures the console lines do.
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_NE(s.host.Out.find("MSADOR15.DLL"), std::string::npos);
    EXPECT_NE(w.form.MessageBoxes[0].Text.find("(0x80004005)"), std::string::npos);
    EXPECT_NE(s.host.Out.find("0x80004005"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Systems, SameAsTheWizard, ::testing::ValuesIn(kSystems),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
