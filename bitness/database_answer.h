#pragma once
// The answer a person needs: can a 32-bit and a 64-bit program open .mdb, .accdb, .xls and .xlsx
// files through OLE DB and through ODBC, which provider or driver serves each, and for each "no"
// the one remedy that fits what the inventory found. Every remedy rests on Microsoft's published
// guidance (the README's table of situations names the pages).
#include <optional>
#include <string>
#include <vector>

#include "bitness/data_access_inventory.h"

enum class Remedy {
    None,
    RunAs32Bit,         // what serves it exists for 32-bit programs only (Jet always)
    Use64BitProgram,    // the engine here is 64-bit, like Office; a 32-bit one can't go beside it
    InstallEngine,      // nothing of the engine anywhere: its redistributable of that bitness
    InstallRuntime2013, // only inside volume-licensed Click-to-Run Office: the Access 2013 Runtime
    UpdateOffice, // only inside Click-to-Run Office: from Version 2009 on it registers it for all
    ReinstallEngine,    // registered, but its file is missing, of the wrong bitness, or won't load
    RepairJet,          // Jet, part of Windows, is broken: this program's repair
    OtherAdministrator, // a system data source of the other view: create it again in this one's
    InstallDriver,      // a data source's driver is installed for no bitness
};

// Why a route is closed, for the words around the remedy.
enum class Closed {
    Open,
    NothingInstalled,   // no provider or driver for the file in any view
    OtherBitness,       // one exists for the other bitness only
    OnlyClickToRun,     // the engine is registered only in Click-to-Run's virtual registry
    FileMissing,        // registered, its file isn't there
    Unreadable,         // registered, its file can't be read by this account
    WrongMachine,       // its file is no library of this bitness
    NotCreated,         // registered and present, but no object came into being (32-bit only)
    DriverNowhere,      // a data source's driver is installed for no bitness
    DriverOtherBitness, // a data source's driver is installed for the other bitness only
    SourceInOtherView,  // a system data source of the other view, which this bitness doesn't see
};

struct Route {
    bool Yes = false;
    std::string Via = {};  // the provider's ProgID or the driver's name that serves it (or failed)
    std::string Path = {}; // its library
    bool Created = false;  // an object was made (32-bit OLE DB); else the registry, file and image
    Closed Why = Closed::Open;
    int32_t Status = 0; // NotCreated: the HRESULT
    Remedy Fix = Remedy::None;
};

struct FileAnswer {
    FileKind Kind = FileKind::Mdb;
    Route OleDb = {};
    Route Odbc = {};
};

struct SourceAnswer {
    DataSource Source = {};
    Route Use = {};
};

struct BitnessAnswer {
    Bitness Program = Bitness::Bits32;
    std::vector<FileAnswer> Files = {}; // kFileKinds, in order
    std::vector<SourceAnswer> Sources =
        {}; // every system data source of either view, then the user's
};

// One answer per view of the inventory: 32-bit programs, then (on 64-bit Windows) 64-bit ones.
std::vector<BitnessAnswer> AnswerDatabases(const Inventory& inventory);

// Whether a program of this bitness can open the kind of file, by either route.
bool CanOpen(const BitnessAnswer& answer, FileKind kind);
