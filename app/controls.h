#pragma once
// Every control of the main window, described once as data. The Win32 form creates real child
// windows from this table; the recording form in tests starts from it too. Positions and sizes are
// in twips (1/1440 inch) relative to the parent; pictures too, so that they grow with the
// screen's pixel density as the texts do.
#include <cstdint>
#include <span>
#include <string_view>

// Stable control ids. Next and Cancel carry the dialog ids IDOK and IDCANCEL, so that Enter and Esc
// reach them through the dialog keyboard interface.
enum class ControlId : int {
    frmMain = 0, // the window itself (caption, pointer)
    cmdWeiter = 1,
    cmdAbbrechen = 2,
    cmdZurück = 100,
    pic1,
    pic2,
    pic3,
    pic4,
    pic5,
    ShellExecuteTimer,
    tmrTooltipRemoveCheck,
    // pic1
    imgBigPicture,
    lblWillkommen,
    Label10,
    Label11,
    Label13,
    // pic2
    Label19,
    lblHeaderExplanation1,
    lblMDACVerHeader,
    imgMDACVerOK,
    imgMDACVerProb,
    lblMDACVerDescr,
    lblDownloadMDAC,
    lblJetVerHeader,
    imgJetVerOK,
    imgJetVerProb,
    lblJetVerDescr,
    lblVersionsContinue,
    Label7,
    Label20,
    // pic3
    Label6,
    lblHeaderExplanation2,
    Label1,
    imgDownArrow,
    cmdRepairMDAC,
    ProgressBar1,
    imgRepairing,
    Label2,
    Label16,
    optResolved,
    optFurtherProblems,
    Label4,
    Label8,
    // pic4
    Label5,
    lblExplanation3,
    Label3,
    lvwMDACFiles,
    lblRepairUrl,
    Label9,
    // pic5
    lblHeader4,
    Label14,
    lblHeaderExplanation4,
    Label12,
    // The button row's free left part: the way to the window on databases.
    cmdDatabases,
    Last,

    // The window that tells which programs can open databases here.
    frmDatabases = 200,
    lblAnswer,
    txtAnswer,
    lblInventory,
    lvwInventory,
    lblProgram,
    txtProgram,
    cmdChooseProgram,
    cmdCopy,
    cmdClose,
    DatabasesLast
};

enum class ControlKind {
    Window,
    Page,
    Button,
    Label,
    Image,
    Option,
    ListView,
    ProgressBar,
    Timer,
    TextBox, // read-only, several lines, scrolled
};

// What an image control shows (resource ids of the pictures in res/).
enum class Picture { None, BigPicture, OkIcon, ProblemIcon, DownArrow, Repairing };

// One row of the table. Every member but the first three has the value most controls need, so
// that a row names only what sets it apart.
struct ControlSpec {
    ControlId Id;
    std::string_view Name;
    ControlKind Kind;
    ControlId Parent = ControlId::frmMain;
    int Left = 0, Top = 0, Width = 0, Height = 0; // twips
    std::string_view FontName = "MS Sans Serif";  // design-time face; none for pictures and timers
    double FontSize = 8.25;                       // points
    bool Bold = false;
    bool AutoSize = false; // a label that sizes itself to its text
    bool Link = false;     // drawn in pure blue; reached by Tab and opened by Enter or Space
    bool Visible = true;
    bool Enabled = true;
    int TabIndex = -1;          // -1: not a tab stop
    bool DefaultButton = false; // the button Enter presses where no other button has the focus
    bool GroupStart = false;    // the first of a group of options (arrow keys move within it)
    bool Checked = false;       // an option chosen from the start
    Picture Image = Picture::None;
    std::string_view Caption = ""; // design-time caption (most are set at start-up)
    uint32_t Interval = 0;         // a timer's interval in milliseconds
};

std::span<const ControlSpec> ControlTable();
// The controls of the window on which programs can open databases.
std::span<const ControlSpec> DatabasesTable();
const ControlSpec& Describe(ControlId id);
// One of the five pages.
bool IsPage(ControlId id);
// The name as the window defines it ("cmdZurück" for the Back button).
std::string_view ControlName(ControlId id);

// Client area of the window, in twips.
inline constexpr int kClientWidthTwips = 7320;
inline constexpr int kClientHeightTwips = 4860;
// The page header: white band, separator at 696 twips.
inline constexpr int kHeaderBandLeft = -12, kHeaderBandTop = -12, kHeaderBandWidth = 7440,
                     kHeaderBandHeight = 732, kHeaderSeparatorTop = 696;
// The right edge of the pages' titles: where a page's texts may reach when it has no room.
inline constexpr int kPageTextRight = 7152;
// The etched rule above the button bar.
inline constexpr int kLine1Top = 4224, kLine2Top = 4240;

constexpr int TwipsToPixels(int twips, int dpi) {
    // Rounds half away from zero, so that negative positions mirror positive ones.
    long long v = static_cast<long long>(twips) * dpi;
    return static_cast<int>(v >= 0 ? (v + 720) / 1440 : -((-v + 720) / 1440));
}
