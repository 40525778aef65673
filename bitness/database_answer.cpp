#include "bitness/database_answer.h"

#include <algorithm>

namespace {

Bitness Other(Bitness b) {
    return b == Bitness::Bits32 ? Bitness::Bits64 : Bitness::Bits32;
}

bool Works(const OleDbProvider& p) {
    return p.Library.State == ComponentState::Present && (!p.Created || *p.Created >= 0);
}

bool Serves(const OdbcDriver& d, FileKind kind) {
    return d.Family && std::find(d.Serves.begin(), d.Serves.end(), kind) != d.Serves.end();
}

bool ViewServes(const ViewInventory* v, FileKind kind, AccessApi api) {
    if (v == nullptr)
        return false;
    if (api == AccessApi::OleDb)
        return std::any_of(v->Providers.begin(), v->Providers.end(), [&](const OleDbProvider& p) {
            return EngineOpens(ProviderEngine(p.ProgId), kind) && Works(p);
        });
    return std::any_of(v->Drivers.begin(), v->Drivers.end(), [&](const OdbcDriver& d) {
        return Serves(d, kind) && d.Library.State == ComponentState::Present;
    });
}

// The one remedy where nothing in this view serves the file and nothing here is broken.
Route Missing(const Inventory& inv, Bitness b, FileKind kind, AccessApi api) {
    Route r;
    const bool aceOnly = kind == FileKind::Accdb || kind == FileKind::Xlsx;
    if (ViewServes(FindView(inv, Other(b)), kind, api)) {
        r.Why = Closed::OtherBitness;
        r.Fix = b == Bitness::Bits64 ? Remedy::RunAs32Bit : Remedy::Use64BitProgram;
        return r;
    }
    const OfficeInstall& office = inv.Office;
    if (!office.AceOnlyInClickToRun.empty() && office.Bits.value_or(b) == b) {
        r.Why = Closed::OnlyClickToRun;
        r.Fix = office.Volume ? Remedy::InstallRuntime2013 : Remedy::UpdateOffice;
        return r;
    }
    r.Why = Closed::NothingInstalled;
    if (!aceOnly && b == Bitness::Bits32) {
        r.Fix = Remedy::RepairJet; // Jet comes with Windows
    } else if (office.Found && office.Bits && *office.Bits != b) {
        // The engine follows Office's bitness; its installer refuses the other one.
        r.Fix = b == Bitness::Bits64 ? Remedy::RunAs32Bit : Remedy::Use64BitProgram;
    } else {
        r.Fix = Remedy::InstallEngine;
    }
    return r;
}

// Jet exists for 32-bit programs only: a 64-bit registration of it is no install to repair.
Remedy RepairOf(Engine engine, Bitness b) {
    if (engine == Engine::Ace)
        return Remedy::ReinstallEngine;
    return b == Bitness::Bits32 ? Remedy::RepairJet : Remedy::RunAs32Bit;
}

Route Broken(const LibraryFile& file, const std::string& via, Engine engine, Bitness b) {
    Route r;
    r.Via = via;
    r.Path = file.Path;
    r.Why = file.State == ComponentState::FileMissing  ? Closed::FileMissing
            : file.State == ComponentState::Unreadable ? Closed::Unreadable
                                                       : Closed::WrongMachine;
    r.Fix = RepairOf(engine, b);
    return r;
}

Route OleDbRoute(const Inventory& inv, const ViewInventory& v, FileKind kind) {
    const OleDbProvider* broken = nullptr;
    for (const OleDbProvider& p : v.Providers) {
        if (!EngineOpens(ProviderEngine(p.ProgId), kind))
            continue;
        if (Works(p))
            return {.Yes = true,
                    .Via = p.ProgId,
                    .Path = p.Library.Path,
                    .Created = p.Created.has_value()};
        if (p.Library.State != ComponentState::NotRegistered && broken == nullptr)
            broken = &p;
    }
    if (broken == nullptr)
        return Missing(inv, v.View, kind, AccessApi::OleDb);
    const Engine engine = ProviderEngine(broken->ProgId);
    if (broken->Library.State == ComponentState::Present) {
        Route r{.Via = broken->ProgId, .Path = broken->Library.Path, .Why = Closed::NotCreated};
        r.Status = broken->Created.value_or(0);
        r.Fix = RepairOf(engine, v.View);
        return r;
    }
    return Broken(broken->Library, broken->ProgId, engine, v.View);
}

Route OdbcRoute(const Inventory& inv, const ViewInventory& v, FileKind kind) {
    const OdbcDriver* broken = nullptr;
    for (const OdbcDriver& d : v.Drivers) {
        if (!Serves(d, kind))
            continue;
        if (d.Library.State == ComponentState::Present)
            return {.Yes = true, .Via = d.Name, .Path = d.Library.Path};
        if (broken == nullptr)
            broken = &d;
    }
    if (broken == nullptr || broken->Library.State == ComponentState::NotRegistered)
        return Missing(inv, v.View, kind, AccessApi::Odbc);
    return Broken(broken->Library, broken->Name, *broken->Family, v.View);
}

Route SourceRoute(const DataSource& s, Bitness b, bool windows64) {
    Route r;
    r.Via = s.Driver;
    const bool driverHere = b == Bitness::Bits32 ? s.DriverIn32 : s.DriverIn64;
    const bool driverThere = windows64 && (b == Bitness::Bits32 ? s.DriverIn64 : s.DriverIn32);
    if (s.System && s.View != b) {
        r.Why = Closed::SourceInOtherView;
        r.Fix = driverHere ? Remedy::OtherAdministrator
                           : (b == Bitness::Bits64 ? Remedy::RunAs32Bit : Remedy::Use64BitProgram);
        return r;
    }
    if (driverHere) {
        r.Yes = true;
        return r;
    }
    if (driverThere) {
        r.Why = Closed::DriverOtherBitness;
        r.Fix = b == Bitness::Bits64 ? Remedy::RunAs32Bit : Remedy::Use64BitProgram;
    } else {
        r.Why = Closed::DriverNowhere;
        r.Fix = Remedy::InstallDriver;
    }
    return r;
}

} // namespace

std::vector<BitnessAnswer> AnswerDatabases(const Inventory& inventory) {
    std::vector<BitnessAnswer> answers;
    for (const ViewInventory& v : inventory.Views) {
        BitnessAnswer a;
        a.Program = v.View;
        for (FileKind kind : kFileKinds)
            a.Files.push_back({.Kind = kind,
                               .OleDb = OleDbRoute(inventory, v, kind),
                               .Odbc = OdbcRoute(inventory, v, kind)});
        for (const ViewInventory& w : inventory.Views)
            for (const DataSource& s : w.SystemSources)
                a.Sources.push_back({s, SourceRoute(s, v.View, inventory.Windows64)});
        for (const DataSource& s : inventory.UserSources)
            a.Sources.push_back({s, SourceRoute(s, v.View, inventory.Windows64)});
        answers.push_back(std::move(a));
    }
    return answers;
}

bool CanOpen(const BitnessAnswer& answer, FileKind kind) {
    for (const FileAnswer& f : answer.Files)
        if (f.Kind == kind)
            return f.OleDb.Yes || f.Odbc.Yes;
    return false;
}
