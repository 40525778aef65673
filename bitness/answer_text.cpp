#include "bitness/answer_text.h"

#include <cstdio>

#include "bitness/bitness_texts.h"
#include "text/printf.h"
#include "text/result_words.h"
#include "text/string_table.h"

namespace {

using namespace bitness_text;

std::string T(uint16_t id, Language lang, std::vector<std::string> values = {}) {
    std::vector<Variant> args(values.begin(), values.end());
    return modAPI::printf(LoadText(id, lang), args);
}

std::string Bits(Bitness b) {
    return b == Bitness::Bits64 ? "64" : "32";
}

Bitness Other(Bitness b) {
    return b == Bitness::Bits32 ? Bitness::Bits64 : Bitness::Bits32;
}

std::string Hex(uint32_t value, int digits) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// An object's status as 0xXXXXXXXX, after the words of a well-known result.
std::string StatusText(int32_t status, Language lang) {
    const std::string hex = Hex(static_cast<uint32_t>(status), 8);
    const auto words = KnownResultText(static_cast<uint32_t>(status), lang);
    return words ? hex + ": " + *words : hex;
}

// The administrator that manages the data sources of a bitness, as Windows names its path.
std::string Administrator(Bitness b, bool windows64) {
    return windows64 && b == Bitness::Bits32 ? "%windir%\\SysWOW64\\odbcad32.exe"
                                             : "%windir%\\System32\\odbcad32.exe";
}

std::string RemedyText(const Route& r, Bitness b, bool windows64, Language lang) {
    if (r.Fix == Remedy::None)
        return {};
    const auto id = static_cast<uint16_t>(kRemedies + static_cast<int>(r.Fix) -
                                          static_cast<int>(Remedy::RunAs32Bit));
    const std::string detail =
        r.Fix == Remedy::OtherAdministrator ? Administrator(b, windows64) : r.Via;
    return " " + T(id, lang, {Bits(b), detail});
}

std::string SourceKind(const DataSource& s, const std::string& account, Language lang) {
    return s.System ? T(kSystemSource, lang, {Bits(s.View)}) : T(kUserSource, lang, {account});
}

void Line(std::string& out, const std::string& text) {
    out += text + "\n";
}

} // namespace

std::string EngineText(const std::optional<Engine>& family, Language lang) {
    return !family ? T(kOtherEngine, lang) : *family == Engine::Jet ? "Jet" : "ACE";
}

std::string OfficeText(const OfficeInstall& o, Language lang) {
    const std::string officeBits = o.Bits ? Bits(*o.Bits) : "?";
    if (!o.Found)
        return T(kNoOffice, lang);
    if (o.ClickToRun)
        return T(kOfficeC2R, lang,
                 {o.Version, officeBits, o.Products.empty() ? T(kNone, lang) : o.Products});
    return T(kOfficeInstalled, lang, {o.Version, officeBits});
}

std::string ComponentStateText(const LibraryFile& f, Bitness view, Language lang) {
    switch (f.State) {
    case ComponentState::NotRegistered:
        return T(kStateNotRegistered, lang);
    case ComponentState::FileMissing:
        return T(kStateFileMissing, lang, {f.Path});
    case ComponentState::Unreadable:
        return T(kStateUnreadable, lang, {f.Path});
    case ComponentState::WrongMachine:
        return T(kStateWrongImage, lang, {f.Path});
    case ComponentState::Present:
        break;
    }
    return T(kStatePresent, lang, {f.Path, Bits(view)});
}

std::string ClosedText(const Route& r, Bitness b, bool windows64, Language lang) {
    std::string why;
    switch (r.Why) {
    case Closed::Open:
        return {};
    case Closed::NothingInstalled:
        why = T(kNothing, lang, {Bits(b)});
        break;
    case Closed::OtherBitness:
        why = T(kOtherBits, lang, {Bits(Other(b))});
        break;
    case Closed::OnlyClickToRun:
        why = T(kOnlyC2R, lang);
        break;
    case Closed::FileMissing:
        why = T(kFileMissing, lang, {r.Via, r.Path});
        break;
    case Closed::Unreadable:
        why = T(kUnreadable, lang, {r.Via, r.Path});
        break;
    case Closed::WrongMachine:
        why = T(kWrongImage, lang, {r.Via, Bits(b), r.Path});
        break;
    case Closed::NotCreated:
        why = T(kNotCreated, lang, {r.Via, StatusText(r.Status, lang)});
        break;
    case Closed::DriverNowhere:
        why = T(kDriverNowhere, lang, {r.Via});
        break;
    case Closed::DriverOtherBitness:
        why = T(kDriverOtherBits, lang, {r.Via, Bits(Other(b))});
        break;
    case Closed::SourceInOtherView:
        why = T(kSourceOtherView, lang, {Bits(Other(b)), Bits(b)});
        break;
    }
    return why + RemedyText(r, b, windows64, lang);
}

std::string AnswerSectionText(const Inventory& inv, const std::vector<BitnessAnswer>& answers,
                              Language lang) {
    std::string out;
    Line(out, T(kTitle, lang));
    Line(out, T(inv.Windows64 ? kWindows64 : kWindows32, lang));
    for (const BitnessAnswer& a : answers) {
        Line(out, T(kPrograms, lang, {Bits(a.Program)}));
        for (const FileAnswer& f : a.Files)
            for (const auto& [api, route] : {std::pair{"OLE DB", &f.OleDb}, {"ODBC", &f.Odbc}}) {
                if (route->Yes)
                    Line(out, T(kRouteYes, lang,
                                {FileKindName(f.Kind), api, route->Via,
                                 route->Created ? T(kCreated, lang)
                                                : T(kChecked, lang, {Bits(a.Program)})}));
                else
                    Line(out, T(kRouteNo, lang,
                                {FileKindName(f.Kind), api,
                                 ClosedText(*route, a.Program, inv.Windows64, lang)}));
            }
        if (a.Program == Bitness::Bits64)
            Line(out, T(kJet64, lang));
        for (const SourceAnswer& s : a.Sources) {
            const std::string kind = SourceKind(s.Source, inv.UserAccount, lang);
            if (s.Use.Yes)
                Line(out, T(kSourceYes, lang, {s.Source.Name, kind, s.Source.Driver}));
            else
                Line(out,
                     T(kSourceNo, lang,
                       {s.Source.Name, kind, ClosedText(s.Use, a.Program, inv.Windows64, lang)}));
        }
    }
    Line(out, T(kOdbcRests, lang));
    return out;
}

std::string DatabaseAnswerText(const Inventory& inv, const std::vector<BitnessAnswer>& answers,
                               Language lang) {
    std::string out = AnswerSectionText(inv, answers, lang) + "\n";
    Line(out, T(kInventory, lang));
    for (const ViewInventory& v : inv.Views) {
        Line(out, T(kView, lang, {Bits(v.View)}));
        for (const OleDbProvider& p : v.Providers)
            Line(out,
                 T(kProviderLine, lang, {p.ProgId, ComponentStateText(p.Library, v.View, lang)}));
        for (const OdbcDriver& d : v.Drivers)
            Line(out, T(kDriverLine, lang,
                        {d.Name, EngineText(d.Family, lang),
                         ComponentStateText(d.Library, v.View, lang)}));
        for (const DataSource& s : v.SystemSources)
            Line(out, T(kSourceLine, lang, {s.Name, s.Driver}));
    }
    Line(out, T(kUserSources, lang, {inv.UserAccount}));
    for (const DataSource& s : inv.UserSources)
        Line(out, T(kSourceLine, lang, {s.Name, s.Driver}));
    const OfficeInstall& o = inv.Office;
    Line(out, OfficeText(o, lang));
    if (!o.AceOnlyInClickToRun.empty()) {
        std::string ids;
        for (const std::string& id : o.AceOnlyInClickToRun)
            ids += (ids.empty() ? "" : ", ") + id;
        Line(out, T(kAceOnlyC2R, lang, {ids}));
    }
    return out;
}

std::string ProgramAnswerText(const std::string& path, const ProgramAnswer& program,
                              const BitnessAnswer* a, bool windows64, Language lang) {
    std::string out;
    Line(out, T(kProgram, lang, {path}));
    switch (program.Verdict) {
    case ProgramVerdict::NotFound:
        Line(out, T(kNoFile, lang, {path}));
        return out;
    case ProgramVerdict::Unreadable:
        Line(out, T(kProgramUnreadable, lang, {path, std::to_string(program.SystemError)}));
        return out;
    case ProgramVerdict::NotAProgram:
        Line(out, T(kNotAProgram, lang, {path}));
        return out;
    case ProgramVerdict::Damaged:
        Line(out, T(kDamaged, lang, {path}));
        return out;
    case ProgramVerdict::Library:
        Line(out, T(kLibrary, lang, {path}));
        return out;
    case ProgramVerdict::OtherMachine:
        Line(out, T(kOtherMachine, lang, {path, Hex(program.Machine, 4)}));
        return out;
    case ProgramVerdict::Runs:
        break;
    }
    Line(out, T(kRunsAs, lang, {Bits(program.RunsAs)}));
    if (a == nullptr)
        return out;
    for (const FileAnswer& f : a->Files) {
        const std::string ext = FileKindName(f.Kind);
        if (f.OleDb.Yes)
            Line(out, T(kCanOpen, lang, {ext, f.OleDb.Via, Bits(a->Program)}));
        else if (f.Odbc.Yes)
            Line(out, T(kCanOpenOdbc, lang, {ext, f.Odbc.Via, Bits(a->Program)}));
        else
            Line(out,
                 T(kCannotOpen, lang, {ext, ClosedText(f.OleDb, a->Program, windows64, lang)}));
    }
    if (a->Program == Bitness::Bits64)
        Line(out, T(kJet64, lang).substr(2));
    return out;
}
