#include "bench/bench_figures.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(BenchFigures, MedianOfUnsortedSamples) {
    const std::pair<std::vector<double>, double> rows[] = {
        {{}, 0}, {{5}, 5}, {{9, 1, 5}, 5}, {{4, 1, 3, 2}, 2.5}, {{7, 7, 1, 100, 7}, 7},
    };
    for (const auto& [samples, median] : rows)
        EXPECT_EQ(Median(samples), median);
}

TEST(BenchFigures, PairedRunsGiveTheMedianOfTheirRatios) {
    // The machine slowed down for the last pair: the ratio of the medians would say 0.55.
    const Measured m = FromPairs({110, 220, 99}, {100, 200, 300});
    EXPECT_EQ(m.Value, 110);
    EXPECT_EQ(m.Baseline, 200);
    EXPECT_EQ(m.Runs, 3u);
    EXPECT_DOUBLE_EQ(m.Ratio(), 1.1);
    EXPECT_DOUBLE_EQ((Measured{6510, 6200, 3}).Ratio(), 6510.0 / 6200.0); // not paired
}

TEST(BenchFigures, RoundsGiveTheirMedianAndTheRangeOfTheirRatios) {
    const auto m = FromRounds(
        {FromPairs({105}, {100}), std::nullopt, FromPairs({224}, {200}), FromPairs({327}, {300})});
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Rounds, 3u);
    EXPECT_EQ(m->Runs, 3u);
    EXPECT_DOUBLE_EQ(m->Ratio(), 1.09);
    EXPECT_DOUBLE_EQ(m->LowRatio, 1.05);
    EXPECT_DOUBLE_EQ(m->HighRatio, 1.12);
    EXPECT_FALSE(FromRounds({std::nullopt}));
    BenchFigures f;
    f.Startup = m;
    f.Repair = FromRounds({Measured{6324, 6200, 3}, Measured{6386, 6200, 3}});
    const std::string table = FormatTable(f);
    EXPECT_NE(table.find("Start-up to the welcome page (3 x 1 runs)"), std::string::npos) << table;
    EXPECT_NE(table.find("1.09 [1.05-1.12]"), std::string::npos) << table;
    EXPECT_NE(table.find("+2.5 % [+2.0, +3.0]"), std::string::npos) << table;
}

// The table's row for a figure: the line that starts with it.
std::string RowOf(const std::string& table, const std::string& start) {
    std::istringstream in(table);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            return line;
    return "<no row " + start + ">";
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

struct GoalCase {
    const char* Name;
    BenchFigures Figures;
    const char* Row;
    const char* Result;
};

BenchFigures With(std::optional<Measured> BenchFigures::*field, Measured m) {
    BenchFigures f;
    f.*field = m;
    return f;
}

BenchFigures WithExe(uint64_t bytes, std::vector<std::string> notSystem = {}) {
    BenchFigures f;
    f.Executables.push_back({"i686 product", bytes, {"KERNEL32.dll"}, std::move(notSystem)});
    return f;
}

TEST(BenchFigures, EachGoalIsMetUpToItsBoundAndMissedBeyond) {
    const GoalCase cases[] = {
        {"StartupAtGoal", With(&BenchFigures::Startup, {115, 100, 9}), "Start-up", "pass"},
        {"StartupOver", With(&BenchFigures::Startup, {116, 100, 9}), "Start-up", "MISS"},
        {"AuditAtGoal", With(&BenchFigures::Audit, {11, 10, 21}), "Audit", "pass"},
        {"AuditOver", With(&BenchFigures::Audit, {11.2, 10, 21}), "Audit", "MISS"},
        {"RepairAtGoal", With(&BenchFigures::Repair, {6386, 6200, 3}), "Repair", "pass"},
        {"RepairOver", With(&BenchFigures::Repair, {6400, 6200, 3}), "Repair", "MISS"},
        {"MemoryAtGoal", With(&BenchFigures::PeakWorkingSet, {13, 10, 9}), "Peak", "pass"},
        {"MemoryOver", With(&BenchFigures::PeakWorkingSet, {14, 10, 9}), "Peak", "MISS"},
        {"SizeAtGoal", WithExe(512 * 1024), "Quendry.exe", "pass, stretch missed"},
        {"SizeOver", WithExe(512 * 1024 + 1), "Quendry.exe", "MISS, stretch missed"},
        {"SizeAtStretch", WithExe(300 * 1024), "Quendry.exe", "pass, stretch met"},
        {"SystemImports", WithExe(1000), "  imports", "pass"},
        {"ForeignImport", WithExe(1000, {"libwinpthread-1.dll"}), "  imports", "MISS"},
        {"InventoryAtGoal", With(&BenchFigures::Inventory, {30, 0, 21}), "Data-access", "pass"},
        {"InventoryOver", With(&BenchFigures::Inventory, {30.5, 0, 21}), "Data-access", "MISS"},
    };
    for (const auto& c : cases) {
        const std::string row = RowOf(FormatTable(c.Figures), c.Row);
        EXPECT_TRUE(EndsWith(row, c.Result)) << c.Name << ": " << row;
    }
}

TEST(BenchFigures, FiguresNotMeasuredAreSaidSo) {
    BenchFigures f;
    f.Notes.push_back("the repair page was not reached");
    const std::string table = FormatTable(f);
    for (const char* row : {"Start-up", "Audit", "Repair", "Peak", "Data-access"})
        EXPECT_TRUE(EndsWith(RowOf(table, row), "not measured")) << row;
    EXPECT_NE(RowOf(table, "Console report").find("not built"), std::string::npos);
    EXPECT_NE(table.find("Note: the repair page was not reached"), std::string::npos);
    f.CliBuilt = true;
    EXPECT_TRUE(EndsWith(RowOf(FormatTable(f), "Console report"), "not measured"));
}

TEST(BenchFigures, RowsShowTheMediansAndTheirRatio) {
    BenchFigures f;
    f.Repair = Measured{6510, 6200, 3};
    f.Startup = Measured{250.5, 200.25, 9};
    f.Executables.push_back({"x86_64 twin", 463000, {"KERNEL32.dll", "USER32.dll"}, {}});
    const std::string table = FormatTable(f);
    const std::string repair = RowOf(table, "Repair run");
    EXPECT_NE(repair.find("6.510 s"), std::string::npos) << repair;
    EXPECT_NE(repair.find("+5.0 %"), std::string::npos) << repair;
    const std::string startup = RowOf(table, "Start-up");
    EXPECT_NE(startup.find("(9 runs)"), std::string::npos) << startup;
    EXPECT_NE(startup.find("250.50 ms"), std::string::npos) << startup;
    EXPECT_NE(startup.find("1.25"), std::string::npos) << startup;
    EXPECT_NE(RowOf(table, "Quendry.exe, x86_64 twin").find("453 KB"), std::string::npos);
    EXPECT_NE(table.find("Imports, x86_64 twin: KERNEL32.dll USER32.dll"), std::string::npos);
}

} // namespace
