// The file versions list: which libraries it shows, how each is marked, and its sorting.
#include "repair/like_pattern.h"
#include "wizard_fixture.h"

using C = ControlId;

namespace {
const std::string kCommon = "C:\\Program Files\\Common Files";

void LayOut(Wizard& w, const std::string& version) {
    unsigned parts[3] = {};
    std::sscanf(version.c_str(), "%u.%u.%u", &parts[0], &parts[1], &parts[2]);
    for (const auto& row : kComponentRows) {
        const std::string base =
            row.base == ComponentBase::CommonFiles ? kCommon : "C:\\WINDOWS\\system32";
        w.versions.Add(base + row.appendedPath, static_cast<uint16_t>(parts[0]),
                       static_cast<uint16_t>(parts[1]), static_cast<uint16_t>(parts[2]), 0);
    }
}

void ToRepairPage(Wizard& w) {
    w.Start();
    w.Click(C::cmdWeiter);
    w.Click(C::cmdWeiter);
}
} // namespace

TEST(AuditList, TwentySevenRowsInTableOrderNeverTheFourUnlisted) {
    Wizard w;
    LayOut(w, "2.81.1117");
    w.versions.files.erase(kCommon + "\\System\\ado\\MSADOX.DLL");
    w.versions.Add(kCommon + "\\System\\ado\\MSJRO.DLL", 2, 80, 1022, 0);
    ToRepairPage(w);
    ASSERT_EQ(w.form.ListCount(C::lvwMDACFiles), 27);
    int row = 0;
    for (const auto& entry : kComponentRows) {
        if (entry.bNotListed)
            continue;
        const ListRow r = w.form.ListRowAt(C::lvwMDACFiles, row++);
        const std::string name = GetFile(entry.appendedPath);
        EXPECT_EQ(r.Text, name);
        EXPECT_EQ(r.Key, name);
        if (name == "MSADOX.DLL") {
            EXPECT_EQ(r.Sub1, "N/A");
            EXPECT_EQ(r.Sub2, "Not available");
            EXPECT_EQ(r.Image, 2);
        } else if (name == "MSJRO.DLL") {
            EXPECT_EQ(r.Sub1, "2.80.1022");
            EXPECT_EQ(r.Image, 2);
        } else {
            EXPECT_EQ(r.Sub1, "2.81.1117");
            EXPECT_EQ(r.Sub2, kCommon + entry.appendedPath);
            EXPECT_EQ(r.Image, 1);
        }
    }
    // Filling again (back and forward) does not add rows.
    w.Click(C::cmdZurück);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.form.ListCount(C::lvwMDACFiles), 27);
}

// No release in the registry makes the pattern "*", which every text matches; a file that is not
// there still gets the warning sign.
TEST(AuditList, WithoutAReleaseMissingFilesStillGetTheWarning) {
    Wizard w(nullptr);
    ToRepairPage(w);
    ASSERT_EQ(w.form.ListCount(C::lvwMDACFiles), 27);
    for (int i = 0; i < 27; ++i) {
        EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, i).Sub1, "N/A");
        EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, i).Image, 2);
    }
}

TEST(AuditList, MissingCommonFilesFolderIsReportedAndTheTableStillBuilt) {
    Wizard w;
    w.system.FolderResult = static_cast<int32_t>(0x80004005);
    ToRepairPage(w);
    ASSERT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.form.MessageBoxes[0].Text, w.T(140));
    EXPECT_EQ(w.form.MessageBoxes[0].Title, "Quendry");
    EXPECT_EQ(w.frm.MDACFiles()[0].sFileName, "MSADO15.DLL");
    const auto& asked = w.versions.sizeQueries;
    EXPECT_NE(std::find(asked.begin(), asked.end(), "\\System\\ado\\MSADO15.DLL"), asked.end());
    EXPECT_EQ(w.frm.Step(), 3);
}

TEST(AuditList, HeaderClickSortsByThatColumnAndStaysSorted) {
    Wizard w;
    LayOut(w, "2.81.1117");
    w.versions.Add(kCommon + "\\System\\ado\\MSADO15.DLL", 2, 9, 0, 0);
    ToRepairPage(w);
    w.frm.OnColumnClick(C::lvwMDACFiles, 1);
    // Sorted as text: 2.81.1117 comes before 2.9.0.
    EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, 26).Sub1, "2.9.0");
    EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, 0).Sub1, "2.81.1117");
    w.frm.OnColumnClick(C::lvwMDACFiles, 1);
    EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, 26).Sub1, "2.9.0");
    w.frm.OnColumnClick(C::lvwMDACFiles, 0);
    EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, 0).Text, "MSADCE.DLL");
    w.Click(C::cmdZurück);
    w.Click(C::cmdWeiter);
    EXPECT_EQ(w.form.ListRowAt(C::lvwMDACFiles, 0).Text, "MSADCE.DLL") << "a refill stays sorted";
}

TEST(LikeMatch, Table) {
    struct Row {
        const char* Text;
        const char* Pattern;
        bool Match;
    };
    const Row rows[] = {
        {"2.81.1117", "2.81*", true},
        {"2.80.1022", "2.81*", false},
        {"N/A", "2.81*", false},
        {"N/A", "*", true},
        {"", "*", true},
        {"2.81", "2.81*", true},
        {"6.0.6000", "6.0.*", true},
        {"2.8", "2.81*", false},
        {"2.81.1117", "2.8?.*", true},
        {"2.8x.1", "2.8#*", false},
        {"2.85.1", "2.8#*", true},
        {"a", "[abc]", true},
        {"d", "[abc]", false},
        {"d", "[!abc]", true},
        {"5", "[0-9]", true},
        {"x", "[0-9]", false},
        {"[", "[", true},
        {"[x", "[*", true},
        {"2.81", "2.81", true},
        {"2.81x", "2.81", false},
        {"\xC3\xBC", "?", true},
        {"abc", "a*c", true},
        {"abcd", "a*c", false},
        {"-", "[a-]", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(LikeMatch(r.Text, r.Pattern), r.Match) << r.Text << " like " << r.Pattern;
}
