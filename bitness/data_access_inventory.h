#pragma once
// What this machine holds of the data-access stack, per bitness: the OLE DB providers of Jet and
// the Access Database Engine, the ODBC drivers and data sources, and Office. Read from the
// registry views and the files they name (inventory_reader.h); judged in database_answer.h.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bitness/program_image.h"

// The database files a person asks about.
enum class FileKind { Mdb, Accdb, Xls, Xlsx };
inline constexpr FileKind kFileKinds[] = {FileKind::Mdb, FileKind::Accdb, FileKind::Xls,
                                          FileKind::Xlsx};
const char* FileKindName(FileKind kind); // "mdb", ...

enum class AccessApi { OleDb, Odbc };

// The engine behind a provider or driver, recognised by its library's file name (the names
// drivers are registered under are localised).
enum class Engine { Jet, Ace };

// How far a registered component holds up in its view: registry, file, machine type.
enum class ComponentState {
    NotRegistered, // no ProgID, CLSID, InprocServer32 or Driver value in this view
    FileMissing,   // registered, but no file at the path
    Unreadable,    // the file is there, but this account can't read it
    WrongMachine,  // the file is there, but is no library of the view's bitness
    Present,       // registered, file present, an image of the view's bitness
};

struct LibraryFile {
    std::string Path = {}; // expanded with the meanings of its view
    ComponentState State = ComponentState::NotRegistered;
    uint16_t Machine = 0; // the file's PE machine, where it could be read
};

struct OleDbProvider {
    std::string ProgId = {};
    std::string Clsid = {}; // as the ProgID names it
    LibraryFile Library = {};
    // 32-bit view only: CoCreateInstance's HRESULT where an object was made in process (the
    // registration host); nothing where it wasn't tried.
    std::optional<int32_t> Created = {};
};

struct OdbcDriver {
    std::string Name = {}; // as registered (localised)
    std::optional<Engine> Family = {};
    std::vector<FileKind> Serves = {}; // from FileExtns, else the extensions in its name
    LibraryFile Library = {};
};

struct DataSource {
    std::string Name = {};
    std::string Driver = {}; // the driver's name as the data source gives it
    bool System = true;
    Bitness View = Bitness::Bits32; // a system data source's view
    // The data source's driver is registered and present where a program of that bitness looks.
    bool DriverIn32 = false;
    bool DriverIn64 = false;
};

struct ViewInventory {
    Bitness View = Bitness::Bits32;
    std::vector<OleDbProvider> Providers = {}; // every ProgID of kEngineProgIds, in order
    std::vector<OdbcDriver> Drivers = {};      // every driver of "ODBC Drivers"
    std::vector<DataSource> SystemSources = {};
};

struct OfficeInstall {
    bool Found = false;
    bool ClickToRun = false;
    std::optional<Bitness> Bits = {};
    std::string Version = {};  // Click-to-Run's VersionToReport, or an installed release "16.0"
    std::string Products = {}; // Click-to-Run's ProductReleaseIds
    bool Volume = false;       // a volume-licensed Click-to-Run product
    // The engine's ProgIDs registered in Click-to-Run's virtual registry but in no view, i.e.
    // visible to Office's own programs only.
    std::vector<std::string> AceOnlyInClickToRun = {};
};

struct Inventory {
    bool Windows64 = false;
    std::vector<ViewInventory> Views = {}; // the 32-bit view first; one view on 32-bit Windows
    std::vector<DataSource> UserSources = {};
    std::string UserAccount = {}; // whose user data sources these are
    OfficeInstall Office = {};
};

// The OLE DB providers looked up: Jet 4.0, ACE 12.0 and ACE 16.0 (which ProgIDs a redistributable
// registers is not settled, so both of the engine's).
inline constexpr const char* kEngineProgIds[] = {
    "Microsoft.Jet.OLEDB.4.0", "Microsoft.ACE.OLEDB.12.0", "Microsoft.ACE.OLEDB.16.0"};

Engine ProviderEngine(const std::string& progId);
// What a provider of the engine opens: Jet .mdb and .xls, the Access Database Engine all four.
bool EngineOpens(Engine engine, FileKind kind);

const ViewInventory* FindView(const Inventory& inventory, Bitness view);
