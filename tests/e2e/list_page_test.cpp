// The file versions page on a laid-out system: one row per listed library with the version read
// from its file, its path and a picture that tells whether the version begins with the MDAC
// release the registry reports; a click on a column header (a real click, as the header control
// turns it into the list's column-click notification) sorts by that column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>

#include "fixtures/layout.h"
#include "flow_support.h"
#include "text/string_table.h"

using C = ControlId;
using fixtures::FixtureFile;
using fixtures::FixtureKind;

namespace {
constexpr int kCheckMark = 1, kWarning = 2;

struct Row {
    std::string Name, Version, Path;
    int Picture = 0;
    bool operator==(const Row&) const = default;
    bool operator<(const Row& o) const {
        return std::tie(Name, Version, Path, Picture) <
               std::tie(o.Name, o.Version, o.Path, o.Picture);
    }
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.Name << " | " << r.Version << " | " << r.Path << " | " << r.Picture;
}

// Every library that is there registers, so the repair ends without a message.
const fixtures::SystemLayout& Layout() {
    static const fixtures::SystemLayout layout =
        fixtures::AllAt("2.81.1117.0", "4.0.8015.0")
            .With(3, "2.9.0.0")
            .With(5, FixtureFile::Absent())
            .With(13, FixtureFile::Absent())
            .With(17, "2.80.1022.0")
            .With(20, "2.80.1022.0") // never listed
            .With(22, "10.0.1.0")
            .With(24, "2.811.5.0") // begins with 2.81 as text
            .With(26, "2.81.1117.9")
            .WithFullInstallVer("2.81.1117.0");
    return layout;
}

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

Row ExpectedRow(size_t index, const FixtureFile& file) {
    const std::string path = fixtures::ComponentPath(index);
    Row row{FileName(path), "N/A", LoadText(102, LanguageOfThisRun()), kWarning};
    if (file.kind != FixtureKind::Absent && file.kind != FixtureKind::TextFile) {
        const auto& v = file.version;
        row.Version =
            std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build);
        row.Path = path;
        row.Picture = row.Version.rfind("2.81", 0) == 0 ? kCheckMark : kWarning;
    }
    return row;
}

// The rows the layout gives, in table order: MSDAURL.DLL and the Jet libraries are not listed.
std::vector<Row> ExpectedRows(const fixtures::SystemLayout& layout) {
    std::vector<Row> rows;
    for (size_t i = 0; i < fixtures::kComponentCount; ++i)
        if (i != 20 && i < fixtures::kFirstJetIndex)
            rows.push_back(ExpectedRow(i, layout.files[i]));
    return rows;
}

std::vector<Row> ShownRows(const QuendryProcess& q) {
    std::vector<Row> rows;
    const int n = q.ListCount(C::lvwMDACFiles);
    for (int i = 0; i < n; ++i) {
        auto texts = q.ListRow(C::lvwMDACFiles, i);
        texts.resize(3);
        rows.push_back({texts[0], texts[1], texts[2], q.ListImage(C::lvwMDACFiles, i)});
    }
    return rows;
}

const std::string& Cell(const Row& r, int column) {
    return column == 0 ? r.Name : column == 1 ? r.Version : r.Path;
}

std::string Lower(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// The column's texts in ascending order, case ignored. (For these texts, all ASCII with letters,
// digits, '.', '\', ':' and one space, that is also the order of the user's locale.)
std::vector<std::string> SortedColumn(const std::vector<Row>& rows, int column) {
    std::vector<std::string> texts;
    for (const Row& r : rows)
        texts.push_back(Cell(r, column));
    std::stable_sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return Lower(a) < Lower(b);
    });
    return texts;
}

std::vector<std::string> Column(const std::vector<Row>& rows, int column) {
    std::vector<std::string> texts;
    for (const Row& r : rows)
        texts.push_back(Cell(r, column));
    return texts;
}

std::vector<Row> Sorted(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Clicks the header and waits until the rows are in the column's order.
::testing::AssertionResult SortBy(const QuendryProcess& q, int column,
                                  const std::vector<Row>& expected) {
    MouseClick(ColumnHeaderPoint(q, C::lvwMDACFiles, column));
    const auto order = SortedColumn(expected, column);
    if (!q.WaitFor([&] { return Column(ShownRows(q), column) == order; }))
        return ::testing::AssertionFailure() << "the rows are not ordered by column " << column;
    if (Sorted(ShownRows(q)) != Sorted(expected))
        return ::testing::AssertionFailure()
               << "sorting by column " << column << " changed the rows themselves";
    return ::testing::AssertionSuccess();
}
} // namespace

// The oldest systems the program starts on: on Windows XP the link leads to its service pack
// page, elsewhere to the repair instructions.
struct ListSystem {
    const char* Name;
    const wchar_t* Windows;
    uint16_t RepairPage;
};

class ListPage : public LaidOutSystemTestWithParam<ListSystem> {};

TEST_P(ListPage, RowsMatchTheFilesAndSortByEachColumn) {
    const Language lang = LanguageOfThisRun();
    UseWindows(GetParam().Windows);
    ASSERT_NO_THROW(fixtures::ApplyLayout(Layout()));
    const std::vector<Row> expected = ExpectedRows(Layout());
    ASSERT_EQ(expected.size(), 27u);

    UrlRecorder recorder;
    ASSERT_TRUE(recorder.Registered());
    QuendryProcess q;
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(GoToRepairPage(q));
    ASSERT_TRUE(RunRepair(q)) << "the repair did not end";
    q.Click(C::optFurtherProblems);
    ASSERT_TRUE(PressNext(q, C::pic4));

    EXPECT_EQ(q.Text(C::Label3), Fill(LoadText(132, lang), "2.81"));
    EXPECT_EQ(q.Text(C::lblRepairUrl), LoadText(GetParam().RepairPage, lang));
    EXPECT_FALSE(q.Enabled(C::cmdWeiter));
    EXPECT_TRUE(q.Enabled(C::cmdZurück));
    // Until a header is clicked, the rows stand in table order.
    EXPECT_EQ(ShownRows(q), expected);

    EXPECT_TRUE(SortBy(q, 0, expected));
    EXPECT_TRUE(SortBy(q, 2, expected));
    EXPECT_TRUE(SortBy(q, 1, expected));
    const std::vector<Row> byVersion = ShownRows(q);
    ASSERT_EQ(byVersion.size(), 27u);
    // As text: 10.0.1 before 2.80.1022, 2.81.1117 before 2.811.5 and 2.9.0; N/A last.
    EXPECT_EQ(byVersion.front().Version, "10.0.1");
    EXPECT_EQ(byVersion.back().Version, "N/A");
    // The sort order never changes: the same header again leaves the rows as they are.
    MouseClick(ColumnHeaderPoint(q, C::lvwMDACFiles, 1));
    EXPECT_TRUE(q.WaitFor([&] { return ShownRows(q) == byVersion; }));

    // A library changes, and the page is reached again: the list is filled afresh from the files
    // and stays sorted by the clicked column.
    ASSERT_TRUE(PressBack(q, C::pic3));
    ASSERT_TRUE(PressBack(q, C::pic2));
    ASSERT_NO_THROW(fixtures::PlaceFixture(FixtureKind::Library, fixtures::ParseVersion("1.0.0.0"),
                                           fixtures::ComponentPath(0)));
    ASSERT_TRUE(PressNext(q, C::pic3));
    ASSERT_TRUE(PressNext(q, C::pic4)) << "the answer given after the repair was kept";
    std::vector<Row> refilled = expected;
    refilled[0] = ExpectedRow(0, FixtureFile::Library("1.0.0.0"));
    const std::vector<Row> shown = ShownRows(q);
    EXPECT_EQ(shown.size(), 27u) << "filled twice: the rows of the first fill must be gone";
    EXPECT_EQ(Column(shown, 1), SortedColumn(refilled, 1));
    EXPECT_EQ(Sorted(shown), Sorted(refilled));

    // Cancel after the repair shows the closing page; Close there opens no page, though the
    // repair instructions' address is still held.
    q.Click(C::cmdAbbrechen);
    ASSERT_TRUE(q.WaitFor([&] { return q.TopPage() == C::pic5; }));
    q.Click(C::cmdAbbrechen);
    EXPECT_TRUE(q.WaitForExit(std::chrono::seconds(10)));
    EXPECT_TRUE(recorder.WaitUntilSettled());
    EXPECT_EQ(recorder.Opened(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(OldestSystems, ListPage,
                         ::testing::Values(ListSystem{"WindowsXp", L"winxp", 122},
                                           ListSystem{"Windows2000", L"win2k", 120}),
                         [](const auto& info) { return std::string(info.param.Name); });
