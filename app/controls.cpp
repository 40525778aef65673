#include "controls.h"

#include <array>

namespace {
using C = ControlId;
using K = ControlKind;
constexpr std::string_view kSans = "MS Sans Serif";
constexpr double kPt = 8.25;

// Shorthands for the rows below.
constexpr ControlSpec Page(C id, std::string_view name, int top) {
    return {id,  name,  K::Page, C::frmMain, 0,    top,  7368, 4224,          false, kSans,
            kPt, false, false,   false,      true, true, -1,   Picture::None, ""};
}
constexpr ControlSpec Lbl(C id, std::string_view name, C parent, int l, int t, int w, int h,
                          bool visible = true) {
    return {id,      name,  K::Label, parent,        l,     t,     w,
            h,       false, kSans,    kPt,           false, false, false,
            visible, true,  -1,       Picture::None, ""};
}
constexpr ControlSpec Title(C id, std::string_view name, C parent) {
    return {id,  name, K::Label, parent, 252,  132,  6900, 240,           false, kSans,
            kPt, true, false,    false,  true, true, -1,   Picture::None, ""};
}
constexpr ControlSpec Subtitle(C id, std::string_view name, C parent) {
    return {id,  name,  K::Label, parent, 420,  360,  6720, 315,           false, kSans,
            kPt, false, false,    false,  true, true, -1,   Picture::None, ""};
}
constexpr ControlSpec Auto(C id, std::string_view name, C parent, int l, int t, bool bold,
                           bool link) {
    return {id,   name, K::Label, parent,        l, t, 0, 0, false, kSans, kPt, bold, true, link,
            true, true, -1,       Picture::None, ""};
}
constexpr ControlSpec Img(C id, std::string_view name, C parent, int l, int t, int px, Picture p,
                          bool visible) {
    return {id, name,  K::Image, parent, l,       t,    px, px, true, "",
            0,  false, false,    false,  visible, true, -1, p,  ""};
}
constexpr ControlSpec Btn(C id, std::string_view name, C parent, int l, int t, int w, int h,
                          bool enabled, int tab) {
    return {id,   name,    K::Button, parent,        l,     t,     w,
            h,    false,   kSans,     kPt,           false, false, false,
            true, enabled, tab,       Picture::None, ""};
}
constexpr ControlSpec Opt(C id, std::string_view name, int t, int tab) {
    return {id,  name,  K::Option, C::pic3, 735,   t,    5730, 285,           false, kSans,
            kPt, false, false,     false,   false, true, tab,  Picture::None, ""};
}
constexpr ControlSpec Tmr(C id, std::string_view name) {
    return {id,    name,  K::Timer, C::frmMain,    0, 0, 0, 0, false, "", 0, false, false, false,
            false, false, -1,       Picture::None, ""};
}

// Creation order is z-order: the page created last lies on top until start-up brings pic1 forward.
constexpr std::array kTable{
    ControlSpec{C::frmMain, "frmMain", K::Window, C::frmMain, 0, 0, kClientWidthTwips,
                kClientHeightTwips, false, kSans, kPt, false, false, false, true, true, -1,
                Picture::None, ""},
    Page(C::pic1, "pic1", 0),
    Page(C::pic2, "pic2", 0),
    Page(C::pic3, "pic3", 0),
    Page(C::pic4, "pic4", -15),
    Page(C::pic5, "pic5", 0),
    Btn(C::cmdZurück,
        "cmdZur\xC3\xBC"
        "ck",
        C::frmMain, 3372, 4404, 1200, 336, false, 0),
    Btn(C::cmdWeiter, "cmdWeiter", C::frmMain, 4575, 4410, 1200, 336, true, 1),
    Btn(C::cmdAbbrechen, "cmdAbbrechen", C::frmMain, 5940, 4404, 1200, 336, true, 2),
    Tmr(C::ShellExecuteTimer, "ShellExecuteTimer"),
    Tmr(C::tmrTooltipRemoveCheck, "tmrTooltipRemoveCheck"),

    // Welcome page.
    ControlSpec{C::imgBigPicture, "imgBigPicture", K::Image, C::pic1, 0, 0, 2460, 4680, false, "",
                0, false, false, false, true, true, -1, Picture::BigPicture, ""},
    ControlSpec{C::lblWillkommen, "lblWillkommen", K::Label, C::pic1, 2664, 204, 4356, 696, false,
                "Arial", 12, true, false, false, true, true, -1, Picture::None, ""},
    Lbl(C::Label10, "Label10", C::pic1, 2670, 1050, 3915, 2445),
    ControlSpec{C::Label11, "Label11", K::Label, C::pic1, 2670, 3825, 2565, 165, false,
                "Small Fonts", 6.75, false, false, false, true, true, -1, Picture::None,
                "Quendry 1.0  \xC2\xA9 2026 Velmora GmbH"},
    Lbl(C::Label13, "Label13", C::pic1, 2670, 3600, 0, 0),

    // Version page.
    Title(C::Label19, "Label19", C::pic2),
    Subtitle(C::lblHeaderExplanation1, "lblHeaderExplanation1", C::pic2),
    Auto(C::lblMDACVerHeader, "lblMDACVerHeader", C::pic2, 405, 1095, true, false),
    Img(C::imgMDACVerOK, "imgMDACVerOK", C::pic2, 435, 1440, 16, Picture::OkIcon, true),
    Img(C::imgMDACVerProb, "imgMDACVerProb", C::pic2, 405, 1440, 32, Picture::ProblemIcon, false),
    Lbl(C::lblMDACVerDescr, "lblMDACVerDescr", C::pic2, 780, 1455, 5760, 675),
    Auto(C::lblDownloadMDAC, "lblDownloadMDAC", C::pic2, 780, 2115, false, true),
    Auto(C::lblJetVerHeader, "lblJetVerHeader", C::pic2, 420, 2505, true, false),
    Img(C::imgJetVerOK, "imgJetVerOK", C::pic2, 450, 2835, 16, Picture::OkIcon, true),
    Img(C::imgJetVerProb, "imgJetVerProb", C::pic2, 420, 2835, 32, Picture::ProblemIcon, false),
    Lbl(C::lblJetVerDescr, "lblJetVerDescr", C::pic2, 780, 2835, 5760, 1335),
    Lbl(C::lblVersionsContinue, "lblVersionsContinue", C::pic2, 435, 3660, 6360, 555, false),
    Lbl(C::Label7, "Label7", C::pic2, 435, 4200, 0, 0),
    Lbl(C::Label20, "Label20", C::pic2, 435, 4200, 0, 0),

    // Repair page.
    Title(C::Label6, "Label6", C::pic3),
    Subtitle(C::lblHeaderExplanation2, "lblHeaderExplanation2", C::pic3),
    Lbl(C::Label1, "Label1", C::pic3, 435, 1095, 6525, 1155),
    Img(C::imgDownArrow, "imgDownArrow", C::pic3, 2070, 1350, 16, Picture::DownArrow, true),
    Btn(C::cmdRepairMDAC, "cmdRepairMDAC", C::pic3, 690, 1695, 3135, 375, true, 3),
    ControlSpec{C::ProgressBar1, "ProgressBar1", K::ProgressBar, C::pic3, 435, 1755, 6390, 255,
                false, "", 0, false, false, false, false, true, -1, Picture::None, ""},
    Img(C::imgRepairing, "imgRepairing", C::pic3, 6420, 1110, 32, Picture::Repairing, false),
    Lbl(C::Label2, "Label2", C::pic3, 435, 2130, 6390, 1200, false),
    Lbl(C::Label16, "Label16", C::pic3, 435, 2505, 5565, 435, false),
    Opt(C::optResolved, "optResolved", 3075, 4),
    Opt(C::optFurtherProblems, "optFurtherProblems", 3375, 5),
    Lbl(C::Label4, "Label4", C::pic3, 435, 4200, 0, 0),
    Lbl(C::Label8, "Label8", C::pic3, 435, 4200, 0, 0),

    // File versions page.
    Title(C::Label5, "Label5", C::pic4),
    Subtitle(C::lblExplanation3, "lblExplanation3", C::pic4),
    Lbl(C::Label3, "Label3", C::pic4, 285, 900, 6525, 465),
    ControlSpec{C::lvwMDACFiles, "lvwMDACFiles", K::ListView, C::pic4, 255, 1470, 6765, 2355, false,
                kSans, kPt, false, false, false, true, true, 6, Picture::None, ""},
    Auto(C::lblRepairUrl, "lblRepairUrl", C::pic4, 285, 3930, false, true),
    Lbl(C::Label9, "Label9", C::pic4, 285, 4200, 0, 0),

    // Closing page.
    Title(C::lblHeader4, "lblHeader4", C::pic5),
    Lbl(C::Label14, "Label14", C::pic5, 285, 885, 6525, 2895),
    ControlSpec{C::lblHeaderExplanation4, "lblHeaderExplanation4", K::Label, C::pic5, 420, 360, 0,
                0, false, kSans, kPt, false, false, false, true, true, -1, Picture::None, ""},
    Lbl(C::Label12, "Label12", C::pic5, 285, 4200, 0, 0),
};

static_assert(kTable.size() == static_cast<size_t>(C::Last) - 100 + 3,
              "every control id has exactly one row");
} // namespace

std::span<const ControlSpec> ControlTable() {
    return kTable;
}

const ControlSpec& Describe(ControlId id) {
    for (const auto& s : kTable)
        if (s.Id == id)
            return s;
    return kTable[0];
}

std::string_view ControlName(ControlId id) {
    return Describe(id).Name;
}
