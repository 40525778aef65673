#include "controls.h"

#include <array>

namespace {
using C = ControlId;
using K = ControlKind;

// Creation order is z-order: the page created last lies on top until start-up brings pic1 forward.
// One control a row, every member named; what a row leaves out has the value the struct gives.
// clang-format off
constexpr auto kTable = std::to_array<ControlSpec>({
    {.Id = C::frmMain, .Name = "frmMain", .Kind = K::Window, .Width = kClientWidthTwips,
     .Height = kClientHeightTwips},
    {.Id = C::pic1, .Name = "pic1", .Kind = K::Page, .Width = 7368, .Height = 4224},
    {.Id = C::pic2, .Name = "pic2", .Kind = K::Page, .Width = 7368, .Height = 4224},
    {.Id = C::pic3, .Name = "pic3", .Kind = K::Page, .Width = 7368, .Height = 4224},
    {.Id = C::pic4, .Name = "pic4", .Kind = K::Page, .Top = -15, .Width = 7368, .Height = 4224},
    {.Id = C::pic5, .Name = "pic5", .Kind = K::Page, .Width = 7368, .Height = 4224},
    // Made before Back, so that Tab reaches it first, as it lies left of Back.
    {.Id = C::cmdDatabases, .Name = "cmdDatabases", .Kind = K::Button, .Left = 120, .Top = 4404,
     .Width = 3120, .Height = 336, .Visible = false, .TabIndex = 0},
    {.Id = C::cmdZurück, .Name = "cmdZur\xC3\xBC" "ck", .Kind = K::Button, .Left = 3372,
     .Top = 4404, .Width = 1200, .Height = 336, .Enabled = false, .TabIndex = 1},
    {.Id = C::cmdWeiter, .Name = "cmdWeiter", .Kind = K::Button, .Left = 4575, .Top = 4410,
     .Width = 1200, .Height = 336, .TabIndex = 2, .DefaultButton = true},
    {.Id = C::cmdAbbrechen, .Name = "cmdAbbrechen", .Kind = K::Button, .Left = 5940, .Top = 4404,
     .Width = 1200, .Height = 336, .TabIndex = 3},
    {.Id = C::ShellExecuteTimer, .Name = "ShellExecuteTimer", .Kind = K::Timer, .FontName = "",
     .FontSize = 0, .Visible = false, .Enabled = false, .Interval = 4},
    {.Id = C::tmrTooltipRemoveCheck, .Name = "tmrTooltipRemoveCheck", .Kind = K::Timer,
     .FontName = "", .FontSize = 0, .Visible = false, .Enabled = false, .Interval = 5},

    // Welcome page.
    {.Id = C::imgBigPicture, .Name = "imgBigPicture", .Kind = K::Image, .Parent = C::pic1,
     .Width = 2460, .Height = 4680, .FontName = "", .FontSize = 0, .Image = Picture::BigPicture},
    {.Id = C::lblWillkommen, .Name = "lblWillkommen", .Kind = K::Label, .Parent = C::pic1,
     .Left = 2664, .Top = 204, .Width = 4356, .Height = 696, .FontName = "Arial", .FontSize = 12,
     .Bold = true},
    {.Id = C::Label10, .Name = "Label10", .Kind = K::Label, .Parent = C::pic1, .Left = 2670,
     .Top = 1050, .Width = 3915, .Height = 2445},
    {.Id = C::Label11, .Name = "Label11", .Kind = K::Label, .Parent = C::pic1, .Left = 2670,
     .Top = 3825, .Width = 2565, .Height = 165, .FontName = "Small Fonts", .FontSize = 6.75,
     .Caption = "Quendry 1.0  \xC2\xA9 2026 Velmora GmbH"},
    {.Id = C::Label13, .Name = "Label13", .Kind = K::Label, .Parent = C::pic1, .Left = 2670,
     .Top = 3600},

    // Version page. (The titles end above the subtitles, whose text would lie under them else.)
    {.Id = C::Label19, .Name = "Label19", .Kind = K::Label, .Parent = C::pic2, .Left = 252,
     .Top = 132, .Width = 6900, .Height = 225, .Bold = true},
    {.Id = C::lblHeaderExplanation1, .Name = "lblHeaderExplanation1", .Kind = K::Label,
     .Parent = C::pic2, .Left = 420, .Top = 360, .Width = 6720, .Height = 315},
    {.Id = C::lblMDACVerHeader, .Name = "lblMDACVerHeader", .Kind = K::Label, .Parent = C::pic2,
     .Left = 405, .Top = 1095, .Bold = true, .AutoSize = true},
    {.Id = C::imgMDACVerOK, .Name = "imgMDACVerOK", .Kind = K::Image, .Parent = C::pic2,
     .Left = 435, .Top = 1440, .Width = 240, .Height = 240, .FontName = "",
     .FontSize = 0, .Image = Picture::OkIcon},
    {.Id = C::imgMDACVerProb, .Name = "imgMDACVerProb", .Kind = K::Image, .Parent = C::pic2,
     .Left = 405, .Top = 1440, .Width = 480, .Height = 480, .FontName = "",
     .FontSize = 0, .Visible = false, .Image = Picture::ProblemIcon},
    {.Id = C::lblMDACVerDescr, .Name = "lblMDACVerDescr", .Kind = K::Label, .Parent = C::pic2,
     .Left = 780, .Top = 1455, .Width = 5760, .Height = 675},
    {.Id = C::lblDownloadMDAC, .Name = "lblDownloadMDAC", .Kind = K::Label, .Parent = C::pic2,
     .Left = 780, .Top = 2115, .AutoSize = true, .Link = true},
    {.Id = C::lblJetVerHeader, .Name = "lblJetVerHeader", .Kind = K::Label, .Parent = C::pic2,
     .Left = 420, .Top = 2505, .Bold = true, .AutoSize = true},
    {.Id = C::imgJetVerOK, .Name = "imgJetVerOK", .Kind = K::Image, .Parent = C::pic2, .Left = 450,
     .Top = 2835, .Width = 240, .Height = 240, .FontName = "", .FontSize = 0,
     .Image = Picture::OkIcon},
    {.Id = C::imgJetVerProb, .Name = "imgJetVerProb", .Kind = K::Image, .Parent = C::pic2,
     .Left = 420, .Top = 2835, .Width = 480, .Height = 480, .FontName = "",
     .FontSize = 0, .Visible = false, .Image = Picture::ProblemIcon},
    {.Id = C::lblJetVerDescr, .Name = "lblJetVerDescr", .Kind = K::Label, .Parent = C::pic2,
     .Left = 780, .Top = 2835, .Width = 5760, .Height = 1335},
    {.Id = C::lblVersionsContinue, .Name = "lblVersionsContinue", .Kind = K::Label,
     .Parent = C::pic2, .Left = 435, .Top = 3660, .Width = 6360, .Height = 555, .Visible = false},
    {.Id = C::Label7, .Name = "Label7", .Kind = K::Label, .Parent = C::pic2, .Left = 435,
     .Top = 4200},
    {.Id = C::Label20, .Name = "Label20", .Kind = K::Label, .Parent = C::pic2, .Left = 435,
     .Top = 4200},

    // Repair page.
    {.Id = C::Label6, .Name = "Label6", .Kind = K::Label, .Parent = C::pic3, .Left = 252,
     .Top = 132, .Width = 6900, .Height = 225, .Bold = true},
    {.Id = C::lblHeaderExplanation2, .Name = "lblHeaderExplanation2", .Kind = K::Label,
     .Parent = C::pic3, .Left = 420, .Top = 360, .Width = 6720, .Height = 315},
    {.Id = C::Label1, .Name = "Label1", .Kind = K::Label, .Parent = C::pic3, .Left = 435,
     .Top = 1095, .Width = 6525, .Height = 1155},
    {.Id = C::imgDownArrow, .Name = "imgDownArrow", .Kind = K::Image, .Parent = C::pic3,
     .Left = 2070, .Top = 1350, .Width = 240, .Height = 240, .FontName = "",
     .FontSize = 0, .Image = Picture::DownArrow},
    {.Id = C::cmdRepairMDAC, .Name = "cmdRepairMDAC", .Kind = K::Button, .Parent = C::pic3,
     .Left = 690, .Top = 1695, .Width = 3135, .Height = 375, .TabIndex = 4},
    {.Id = C::ProgressBar1, .Name = "ProgressBar1", .Kind = K::ProgressBar, .Parent = C::pic3,
     .Left = 435, .Top = 1755, .Width = 6390, .Height = 255, .FontName = "", .FontSize = 0,
     .Visible = false},
    {.Id = C::imgRepairing, .Name = "imgRepairing", .Kind = K::Image, .Parent = C::pic3,
     .Left = 6420, .Top = 1110, .Width = 480, .Height = 480, .FontName = "",
     .FontSize = 0, .Visible = false, .Image = Picture::Repairing},
    {.Id = C::Label2, .Name = "Label2", .Kind = K::Label, .Parent = C::pic3, .Left = 435,
     .Top = 2130, .Width = 6390, .Height = 1200, .Visible = false},
    {.Id = C::Label16, .Name = "Label16", .Kind = K::Label, .Parent = C::pic3, .Left = 435,
     .Top = 2505, .Width = 5565, .Height = 435, .Visible = false},
    {.Id = C::optResolved, .Name = "optResolved", .Kind = K::Option, .Parent = C::pic3, .Left = 735,
     .Top = 3075, .Width = 5730, .Height = 285, .Visible = false, .TabIndex = 5,
     .GroupStart = true, .Checked = true},
    {.Id = C::optFurtherProblems, .Name = "optFurtherProblems", .Kind = K::Option,
     .Parent = C::pic3, .Left = 735, .Top = 3375, .Width = 5730, .Height = 285, .Visible = false,
     .TabIndex = 6},
    {.Id = C::Label4, .Name = "Label4", .Kind = K::Label, .Parent = C::pic3, .Left = 435,
     .Top = 4200},
    {.Id = C::Label8, .Name = "Label8", .Kind = K::Label, .Parent = C::pic3, .Left = 435,
     .Top = 4200},

    // File versions page.
    {.Id = C::Label5, .Name = "Label5", .Kind = K::Label, .Parent = C::pic4, .Left = 252,
     .Top = 132, .Width = 6900, .Height = 225, .Bold = true},
    {.Id = C::lblExplanation3, .Name = "lblExplanation3", .Kind = K::Label, .Parent = C::pic4,
     .Left = 420, .Top = 360, .Width = 6720, .Height = 315},
    // Three lines high, where the German explanation needs them.
    {.Id = C::Label3, .Name = "Label3", .Kind = K::Label, .Parent = C::pic4, .Left = 285,
     .Top = 780, .Width = 6525, .Height = 660},
    {.Id = C::lvwMDACFiles, .Name = "lvwMDACFiles", .Kind = K::ListView, .Parent = C::pic4,
     .Left = 255, .Top = 1470, .Width = 6765, .Height = 2355, .TabIndex = 7},
    {.Id = C::lblRepairUrl, .Name = "lblRepairUrl", .Kind = K::Label, .Parent = C::pic4,
     .Left = 285, .Top = 3930, .AutoSize = true, .Link = true},
    {.Id = C::Label9, .Name = "Label9", .Kind = K::Label, .Parent = C::pic4, .Left = 285,
     .Top = 4200},

    // Closing page.
    {.Id = C::lblHeader4, .Name = "lblHeader4", .Kind = K::Label, .Parent = C::pic5, .Left = 252,
     .Top = 132, .Width = 6900, .Height = 225, .Bold = true},
    {.Id = C::Label14, .Name = "Label14", .Kind = K::Label, .Parent = C::pic5, .Left = 285,
     .Top = 885, .Width = 6525, .Height = 2895},
    {.Id = C::lblHeaderExplanation4, .Name = "lblHeaderExplanation4", .Kind = K::Label,
     .Parent = C::pic5, .Left = 420, .Top = 360},
    {.Id = C::Label12, .Name = "Label12", .Kind = K::Label, .Parent = C::pic5, .Left = 285,
     .Top = 4200},
});
// clang-format on

static_assert(kTable.size() == static_cast<size_t>(C::Last) - 100 + 3,
              "every control id has exactly one row");
} // namespace

std::span<const ControlSpec> ControlTable() {
    return kTable;
}

const ControlSpec& Describe(ControlId id) {
    for (const auto table : {ControlTable(), DatabasesTable()})
        for (const auto& s : table)
            if (s.Id == id)
                return s;
    return kTable[0];
}

bool IsPage(ControlId id) {
    return Describe(id).Kind == ControlKind::Page;
}

std::string_view ControlName(ControlId id) {
    return Describe(id).Name;
}
