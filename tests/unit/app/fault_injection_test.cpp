// Each platform call of start-up, the version check and the table build fails in turn: the
// scenario runs once to count the calls one fake receives, then once for every N with its call N
// failing (the registry with several result codes, the form by raising as a failing statement
// would). No registry key stays open, no thread input stays attached, and every case ends in one of
// these states:
//
// - Start-up (create, load, activate), a system, registry or version call failing: step 1, pic1
//   on top, no message. A form call failing: the same, except that when the failing call is the one
//   bringing pic1 up the pages keep the order they were made in, and a failing activation
//   statement ends the activation (the window procedure drops it).
// - Version check (Next on step 1), a system, registry or version call failing: step 2, pic2 on
//   top, no message; a failed read counts as unknown (no MDAC version, Jet text 102). A form call
//   failing: step 2 with pic1 still on top and the Next error box (first line text 107).
// - Repair (the repair button), a system call failing: the run ends repaired. A library call
//   failing: repaired, and when a library that is there could not be registered, the one message
//   naming it; every loaded library is freed again unless freeing it is the call that failed. A
//   form call failing before the run began: the page as it was before the click (repair button
//   shown, Back and Cancel enabled); later: the run ends repaired, the one failing step undone.
// - Table build (Next on step 2), a system or version call failing: step 3, pic3 on top, the list
//   filled, the watch on; a failed folder lookup adds the notice box (text 140). A form call
//   failing before the step moves: step 2, pic2 on top, the Next error box (first line text 140);
//   after the step moved: step 3, pic3 on top, the error box, Back, Next and Cancel enabled.
//
// A failing language query gives that one text in English (the user here reads German).
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "wizard_fixture.h"

namespace {

using C = ControlId;

enum class Fake { System, Registry, Versions, Form, Libraries };

const char* FakeName(Fake fake) {
    switch (fake) {
    case Fake::System:
        return "system";
    case Fake::Registry:
        return "registry";
    case Fake::Versions:
        return "versions";
    case Fake::Libraries:
        return "libraries";
    default:
        return "form";
    }
}

size_t CallsSoFar(const Wizard& w, Fake fake) {
    switch (fake) {
    case Fake::System:
        return w.system.CallNumber;
    case Fake::Registry:
        return w.registry.CallCount();
    case Fake::Versions:
        return w.versions.CallNumber;
    default:
        return w.form.CallNumber;
    case Fake::Libraries:
        return w.libraries.CallNumber;
    }
    return 0;
}

// Makes the fake's n-th call from now on fail.
void FailCall(Wizard& w, Fake fake, size_t n, int32_t registryCode) {
    const size_t at = CallsSoFar(w, fake) + n;
    switch (fake) {
    case Fake::System:
        w.system.FailCallNumber = at;
        break;
    case Fake::Registry:
        w.registry.FailCall(at, registryCode);
        break;
    case Fake::Versions:
        w.versions.FailCallNumber = at;
        break;
    case Fake::Form:
        w.form.FailCallNumber = at;
        break;
    case Fake::Libraries:
        w.libraries.FailCallNumber = at;
        break;
    }
}

// Runs an event handler as the window procedure does: nothing leaves it. True when something
// tried to.
bool Deliver(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        return true;
    }
    return false;
}

constexpr uint16_t kGerman = 0x0407;

// The user reads German, and the foreground window belongs to another thread, so that activation
// attaches to its input.
void Prepare(Wizard& w) {
    w.system.UiLanguage = kGerman;
    w.system.Foreground = 0x5000;
    w.system.ThreadOf = [](WindowHandle hwnd) { return hwnd == 0x5000 ? 9u : 7u; };
}

// The text in either language: a failing language query picks English for that one text.
bool IsText(const std::string& text, uint16_t id) {
    return text == LoadText(id, Language::German) || text == LoadText(id, Language::English);
}
bool StartsWithText(const std::string& text, uint16_t id) {
    for (Language lang : {Language::German, Language::English}) {
        const std::string first = LoadText(id, lang) + "\r";
        if (text.rfind(first, 0) == 0)
            return true;
    }
    return false;
}

struct Scenario {
    const char* Name;
    // What runs without failures first, to reach the scenario's starting point.
    std::function<void(Wizard&)> Arrange;
    // The events under test; true when an error left a handler.
    std::function<bool(Wizard&)> Act;
    // Checks the end state against the documented ones, given which fake failed, and names it.
    std::function<std::string(Wizard&, Fake, bool escaped)> Check;
};

void Load(Wizard& w) {
    w.frm.Form_Initialize();
    w.frm.Form_Load();
}

std::string CheckStartUp(Wizard& w, Fake fake, bool escaped) {
    // Only a failing statement of the window can end the activation early.
    EXPECT_TRUE(!escaped || fake == Fake::Form);
    EXPECT_EQ(w.frm.Step(), 1);
    EXPECT_TRUE(w.form.MessageBoxes.empty());
    EXPECT_FALSE(w.form.Unloaded);
    EXPECT_FALSE(w.form.Enabled(C::cmdZurück));
    EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
    EXPECT_TRUE(w.form.Enabled(C::cmdAbbrechen));
    EXPECT_TRUE(w.frm.SystemDir() == w.system.SystemDir || w.frm.SystemDir().empty());
    EXPECT_TRUE(w.frm.WinVersion() == 6 || w.frm.WinVersion() == 0);
    if (w.form.FailedCall == "BringToFront(pic1)") {
        EXPECT_EQ(w.form.TopPage(), C::pic5); // the page made last stays on top
        return "pages as made";
    }
    EXPECT_EQ(w.form.TopPage(), C::pic1);
    return escaped ? "welcome, activation ended" : "welcome";
}

std::string CheckVersionCheck(Wizard& w, Fake fake, bool escaped) {
    EXPECT_FALSE(escaped);
    EXPECT_EQ(w.frm.Step(), 2);
    EXPECT_FALSE(w.form.Unloaded);
    EXPECT_TRUE(w.frm.MDACVersion() == "2.81" || w.frm.MDACVersion().empty());
    EXPECT_TRUE(w.frm.Url().empty() || IsText(w.frm.Url(), 117));
    if (fake != Fake::Form) {
        EXPECT_TRUE(w.form.MessageBoxes.empty());
        EXPECT_EQ(w.form.TopPage(), C::pic2);
        EXPECT_TRUE(w.form.Enabled(C::cmdZurück));
        EXPECT_TRUE(IsText(w.form.Caption(C::cmdAbbrechen), 149));
        const std::string jet = w.form.Caption(C::lblJetVerDescr);
        EXPECT_TRUE(jet.find("4.0.8015") != std::string::npos ||
                    jet.find(LoadText(102, Language::German)) != std::string::npos ||
                    jet.find(LoadText(102, Language::English)) != std::string::npos)
            << jet;
        return w.frm.MDACVersion().empty() ? "versions, MDAC unknown" : "versions";
    }
    EXPECT_EQ(w.form.MessageBoxes.size(), 1u) << w.form.FailedCall;
    if (w.form.MessageBoxes.empty())
        return "no error box";
    EXPECT_TRUE(StartsWithText(w.form.MessageBoxes[0].Text, 107)) << w.form.MessageBoxes[0].Text;
    EXPECT_EQ(w.form.MessageBoxes[0].Icon, MessageBoxIcon::Information);
    EXPECT_EQ(w.form.TopPage(), C::pic1) << w.form.FailedCall;
    return "error box on welcome";
}

std::string CheckTableBuild(Wizard& w, Fake fake, bool escaped) {
    EXPECT_FALSE(escaped);
    EXPECT_FALSE(w.form.Unloaded);
    std::vector<RecordingForm::Box> errors;
    bool notice = false;
    for (const auto& box : w.form.MessageBoxes) {
        if (box.Icon == MessageBoxIcon::None) {
            // The notice that the common files folder can't be named: only when its lookup
            // failed, and the build goes on.
            EXPECT_EQ(fake, Fake::System);
            EXPECT_TRUE(IsText(box.Text, 140));
            notice = true;
        } else {
            errors.push_back(box);
        }
    }
    if (fake != Fake::Form) {
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(w.frm.Step(), 3);
        EXPECT_EQ(w.form.TopPage(), C::pic3);
        EXPECT_EQ(w.form.ListCount(C::lvwMDACFiles), 27);
        EXPECT_TRUE(w.form.TimerEnabled(C::tmrTooltipRemoveCheck));
        EXPECT_FALSE(w.form.Enabled(C::cmdWeiter));
        return notice ? "repair page, notice" : "repair page";
    }
    EXPECT_EQ(errors.size(), 1u) << w.form.FailedCall;
    if (errors.empty())
        return "no error box";
    EXPECT_TRUE(StartsWithText(errors[0].Text, 140)) << errors[0].Text;
    EXPECT_EQ(errors[0].Icon, MessageBoxIcon::Information);
    if (w.frm.Step() == 2) {
        EXPECT_EQ(w.form.TopPage(), C::pic2) << w.form.FailedCall;
        return "error box on versions";
    }
    // The step had moved on: the repair page, ready to be used again.
    EXPECT_EQ(w.frm.Step(), 3) << w.form.FailedCall;
    EXPECT_EQ(w.form.TopPage(), C::pic3);
    EXPECT_TRUE(w.form.Visible(C::cmdRepairMDAC));
    EXPECT_TRUE(w.form.Visible(C::Label4));
    for (C button : {C::cmdZurück, C::cmdWeiter, C::cmdAbbrechen})
        EXPECT_TRUE(w.form.Enabled(button)) << RecordingForm::Name(button);
    EXPECT_EQ(w.form.Pointer, MousePointer::Default);
    return "error box on repair page";
}

// Every library of the table is there and registers.
void LayOutLibraries(Wizard& w) {
    w.versions.files.clear();
    for (const ComponentRow& row : kComponentRows) {
        const std::string path =
            (row.base == ComponentBase::CommonFiles ? std::string("C:\\Program Files\\Common Files")
                                                    : w.system.SystemDir) +
            row.appendedPath;
        w.versions.Add(path, 2, 81, 1117, 0);
        w.libraries.Add(path, FakeLibraryApi::Kind::Registering);
    }
}

std::string CheckRepair(Wizard& w, Fake fake, bool escaped) {
    EXPECT_FALSE(escaped);
    EXPECT_FALSE(w.form.Unloaded);
    EXPECT_EQ(w.frm.Step(), 3);
    EXPECT_EQ(w.form.TopPage(), C::pic3);
    // Every library that was loaded is freed again, unless freeing it is the call that failed.
    const bool freeFailed =
        fake == Fake::Libraries && w.libraries.Log.size() >= 1 && w.libraries.LoadedNow() == 1 &&
        std::any_of(w.libraries.Log.begin(), w.libraries.Log.end(),
                    [](const std::string& e) { return e.rfind("Free(", 0) == 0; });
    EXPECT_TRUE(w.libraries.LoadedNow() == 0 || freeFailed);
    EXPECT_EQ(w.libraries.LiveBlocks(), 0u);
    EXPECT_EQ(w.libraries.badFrees, 0);
    // A failing statement of the closing steps leaves that one step undone and no other.
    const std::string& failed = w.form.FailedCall;
    if (failed.rfind("SetMousePointer", 0) != 0) {
        EXPECT_EQ(w.form.Pointer, MousePointer::Default) << failed;
    }
    for (C button : {C::cmdZurück, C::cmdAbbrechen}) {
        if (failed != "SetEnabled(" + RecordingForm::Name(button) + ")") {
            EXPECT_TRUE(w.form.Enabled(button)) << RecordingForm::Name(button);
        }
    }
    if (!w.frm.RepairDone()) {
        // A failing statement before the run began: the page is as it was before the click.
        EXPECT_EQ(fake, Fake::Form);
        EXPECT_TRUE(w.form.Visible(C::cmdRepairMDAC));
        EXPECT_FALSE(w.form.Visible(C::imgRepairing));
        return "not started, page restored";
    }
    EXPECT_FALSE(w.form.Visible(C::cmdRepairMDAC));
    if (fake != Fake::Form) {
        EXPECT_TRUE(w.form.Visible(C::optFurtherProblems));
        EXPECT_TRUE(w.form.Enabled(C::cmdWeiter));
    }
    if (w.form.MessageBoxes.empty())
        return "repaired";
    // A library that is there and failed is named in the one message at the end.
    EXPECT_EQ(w.form.MessageBoxes.size(), 1u);
    EXPECT_EQ(w.form.MessageBoxes[0].Icon, MessageBoxIcon::Warning);
    return "repaired, failure named";
}

const Scenario kScenarios[] = {
    {"StartUp", [](Wizard&) {},
     [](Wizard& w) {
         bool escaped = Deliver([&] { Load(w); });
         EXPECT_FALSE(escaped) << "start-up reports nothing";
         return Deliver([&] { w.frm.OnActivate(); }) || escaped;
     },
     CheckStartUp},
    {"VersionCheck", Load, [](Wizard& w) { return Deliver([&] { w.frm.OnClick(C::cmdWeiter); }); },
     CheckVersionCheck},
    {"TableBuild",
     [](Wizard& w) {
         Load(w);
         w.frm.OnClick(C::cmdWeiter);
         ASSERT_EQ(w.frm.Step(), 2);
     },
     [](Wizard& w) { return Deliver([&] { w.frm.OnClick(C::cmdWeiter); }); }, CheckTableBuild},
    {"Repair",
     [](Wizard& w) {
         LayOutLibraries(w);
         Load(w);
         w.frm.OnClick(C::cmdWeiter);
         w.frm.OnClick(C::cmdWeiter);
         w.EndWatch();
         ASSERT_EQ(w.frm.Step(), 3);
     },
     [](Wizard& w) { return Deliver([&] { w.frm.OnClick(C::cmdRepairMDAC); }); }, CheckRepair},
};

// A scenario with one fake failing, and every end state its loop reaches.
struct Case {
    const Scenario* S;
    Fake F;
    std::set<std::string> States;
    friend void PrintTo(const Case& c, std::ostream* os) {
        *os << c.S->Name << "/" << FakeName(c.F);
    }
};

const Case kCases[] = {
    {&kScenarios[0], Fake::System, {"welcome"}},
    {&kScenarios[0], Fake::Registry, {}},
    {&kScenarios[0], Fake::Versions, {}},
    {&kScenarios[0], Fake::Form, {"welcome", "pages as made", "welcome, activation ended"}},
    {&kScenarios[1], Fake::System, {"versions"}},
    {&kScenarios[1], Fake::Registry, {"versions", "versions, MDAC unknown"}},
    {&kScenarios[1], Fake::Versions, {"versions"}},
    {&kScenarios[1], Fake::Form, {"error box on welcome"}},
    {&kScenarios[2], Fake::System, {"repair page", "repair page, notice"}},
    {&kScenarios[2], Fake::Registry, {}},
    {&kScenarios[2], Fake::Versions, {"repair page"}},
    {&kScenarios[2], Fake::Form, {"error box on versions", "error box on repair page"}},
    {&kScenarios[3], Fake::System, {"repaired"}},
    {&kScenarios[3], Fake::Libraries, {"repaired", "repaired, failure named"}},
    {&kScenarios[3], Fake::Form, {"not started, page restored", "repaired"}},
};

class FailEachCall : public testing::TestWithParam<Case> {};

// Every AttachThreadInput that attached is followed by one that detaches the same threads.
void ExpectInputDetached(const FakeSystem& system) {
    std::vector<std::string> attached;
    for (const std::string& call : system.Calls) {
        if (call.rfind("AttachThreadInput(", 0) != 0)
            continue;
        const std::string threads = call.substr(0, call.size() - 3);
        if (call.ends_with(",1)")) {
            attached.push_back(threads);
        } else {
            auto it = std::find(attached.begin(), attached.end(), threads);
            if (it != attached.end())
                attached.erase(it);
        }
    }
    EXPECT_TRUE(attached.empty());
}

TEST_P(FailEachCall, EndsInADocumentedState) {
    const Case& c = GetParam();
    size_t calls = 0;
    {
        Wizard w;
        Prepare(w);
        c.S->Arrange(w);
        const size_t before = CallsSoFar(w, c.F);
        EXPECT_FALSE(c.S->Act(w));
        calls = CallsSoFar(w, c.F) - before;
    }
    const std::vector<int32_t> codes =
        c.F == Fake::Registry
            ? std::vector<int32_t>{kRegErrFileNotFound, kRegErrAccessDenied, kRegErrMoreData}
            : std::vector<int32_t>{0};
    std::set<std::string> states;
    for (size_t n = 1; n <= calls; ++n) {
        for (int32_t code : codes) {
            SCOPED_TRACE(std::string(FakeName(c.F)) + " call " + std::to_string(n) + " of " +
                         std::to_string(calls) + ", code " + std::to_string(code));
            Wizard w;
            Prepare(w);
            c.S->Arrange(w);
            FailCall(w, c.F, n, code);
            const bool escaped = c.S->Act(w);
            // Nothing else fails while the end state is looked at.
            w.form.FailCallNumber = w.system.FailCallNumber = w.versions.FailCallNumber = 0;
            w.libraries.FailCallNumber = 0;
            w.registry.ClearFailures();
            states.insert(c.S->Check(w, c.F, escaped));
            EXPECT_EQ(w.registry.OpenKeyCount(), 0u);
            ExpectInputDetached(w.system);
        }
    }
    EXPECT_EQ(states, c.States);
}

INSTANTIATE_TEST_SUITE_P(Wizard, FailEachCall, testing::ValuesIn(kCases), [](const auto& info) {
    return std::string(info.param.S->Name) + "_" + FakeName(info.param.F);
});

// The loops above must reach every fake that the scenarios use.
TEST(FailEachCall, ScenariosReachEachFake) {
    Wizard w;
    Prepare(w);
    Load(w);
    w.frm.OnActivate();
    EXPECT_GT(w.system.CallNumber, 0u);
    EXPECT_EQ(std::count(w.system.Calls.begin(), w.system.Calls.end(), "AttachThreadInput(9,7,1)"),
              1);
    EXPECT_GT(w.form.CallNumber, 0u);
    w.frm.OnClick(C::cmdWeiter);
    EXPECT_GT(w.registry.CallCount(), 0u);
    EXPECT_GT(w.versions.CallNumber, 0u);
}

} // namespace
