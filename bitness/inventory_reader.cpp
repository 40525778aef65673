#include "bitness/inventory_reader.h"

#include <algorithm>
#include <cctype>

#include "bitness/view_registry.h"

namespace {

const std::string kClasses = "SOFTWARE\\Classes\\";
const std::string kDrivers = "SOFTWARE\\ODBC\\ODBCINST.INI";
const std::string kSources = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
const std::string kClickToRun = "SOFTWARE\\Microsoft\\Office\\ClickToRun";

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return Lower(slash == std::string::npos ? path : path.substr(slash + 1));
}

LibraryFile Examine(const ViewRegistry& view, IFileProbe& files,
                    const std::optional<std::string>& stored) {
    LibraryFile file;
    if (!stored || stored->empty())
        return file;
    file.Path = view.Expand(*stored);
    const ProbedFile probed = files.Probe(file.Path, view.View());
    if (!probed.Exists) {
        file.State = ComponentState::FileMissing;
        return file;
    }
    if (probed.Unreadable) {
        file.State = ComponentState::Unreadable;
        return file;
    }
    file.Machine = probed.Image.Machine;
    const bool image =
        probed.Image.Kind == ImageKind::Native || probed.Image.Kind == ImageKind::DotNet;
    const bool fits = view.View() == Bitness::Bits64 ? probed.Image.Machine == kMachineAmd64 ||
                                                           probed.Image.Machine == kMachineArm64
                                                     : probed.Image.Machine == kMachineI386;
    file.State = image && fits ? ComponentState::Present : ComponentState::WrongMachine;
    return file;
}

OleDbProvider ReadProvider(const ViewRegistry& view, IFileProbe& files, const char* progId) {
    OleDbProvider provider;
    provider.ProgId = progId;
    provider.Clsid = view.Text(kHkeyLocalMachine, kClasses + progId + "\\CLSID", "").value_or("");
    if (!provider.Clsid.empty())
        provider.Library =
            Examine(view, files,
                    view.Text(kHkeyLocalMachine,
                              kClasses + "CLSID\\" + provider.Clsid + "\\InprocServer32", ""));
    return provider;
}

// "*.mdb,*.accdb" or "Microsoft Excel Driver (*.xls, *.xlsx)": the extensions it names.
std::vector<FileKind> ExtensionsIn(const std::string& text) {
    std::vector<FileKind> kinds;
    const std::string lower = Lower(text);
    for (FileKind kind : kFileKinds) {
        const std::string ext = std::string("*.") + FileKindName(kind);
        for (size_t at = lower.find(ext); at != std::string::npos; at = lower.find(ext, at + 1)) {
            const size_t end = at + ext.size();
            // "*.xls" is not "*.xlsx": the extension ends where no letter or digit follows.
            const char next = end == lower.size() ? ' ' : lower[end];
            if (!((next >= 'a' && next <= 'z') || (next >= '0' && next <= '9'))) {
                kinds.push_back(kind);
                break;
            }
        }
    }
    return kinds;
}

OdbcDriver ReadDriver(const ViewRegistry& view, IFileProbe& files, const std::string& name) {
    OdbcDriver driver;
    driver.Name = name;
    const std::string key = kDrivers + "\\" + name;
    driver.Library = Examine(view, files, view.Text(kHkeyLocalMachine, key, "Driver"));
    const std::string file = FileNameOf(driver.Library.Path);
    if (file == "odbcjt32.dll")
        driver.Family = Engine::Jet;
    else if (file == "aceodbc.dll")
        driver.Family = Engine::Ace;
    // FileExtns is not localised; the name's extensions stand in where it is missing.
    const std::optional<std::string> extensions = view.Text(kHkeyLocalMachine, key, "FileExtns");
    driver.Serves = ExtensionsIn(extensions ? *extensions : name);
    return driver;
}

std::vector<DataSource> ReadSources(const ViewRegistry& view, int32_t root, bool system) {
    std::vector<DataSource> sources;
    for (const std::string& name : view.ValueNames(root, kSources))
        sources.push_back({.Name = name,
                           .Driver = view.Text(root, kSources, name).value_or(""),
                           .System = system,
                           .View = view.View()});
    return sources;
}

bool HasPresentDriver(const ViewInventory* view, const std::string& name) {
    if (view == nullptr)
        return false;
    return std::any_of(view->Drivers.begin(), view->Drivers.end(), [&](const OdbcDriver& d) {
        return Lower(d.Name) == Lower(name) && d.Library.State == ComponentState::Present;
    });
}

void MarkDrivers(const Inventory& inventory, std::vector<DataSource>& sources) {
    for (DataSource& source : sources) {
        source.DriverIn32 = HasPresentDriver(FindView(inventory, Bitness::Bits32), source.Driver);
        source.DriverIn64 = HasPresentDriver(FindView(inventory, Bitness::Bits64), source.Driver);
    }
}

// Click-to-Run keeps the engine in a registry of its own that only Office's processes see. The
// key names in it are literal, Wow6432Node included: they are no view of this process's.
bool InVirtualRegistry(const ViewRegistry& view, const std::string& progId) {
    const std::string classes = kClickToRun + "\\REGISTRY\\MACHINE\\Software\\Classes\\";
    const std::optional<std::string> clsid =
        view.Text(kHkeyLocalMachine, classes + progId + "\\CLSID", "");
    if (!clsid || clsid->empty())
        return false;
    return view.Text(kHkeyLocalMachine, classes + "CLSID\\" + *clsid + "\\InprocServer32", "") ||
           view.Text(kHkeyLocalMachine,
                     classes + "Wow6432Node\\CLSID\\" + *clsid + "\\InprocServer32", "");
}

OfficeInstall ReadOffice(IRegistryApi& registry, const Inventory& inventory) {
    OfficeInstall office;
    std::vector<Bitness> order = {Bitness::Bits64, Bitness::Bits32};
    if (!inventory.Windows64)
        order = {Bitness::Bits32};
    for (Bitness bits : order) {
        const ViewRegistry view(registry, bits, inventory.Windows64);
        const std::string configuration = kClickToRun + "\\Configuration";
        const std::optional<std::string> platform =
            view.Text(kHkeyLocalMachine, configuration, "Platform");
        if (!platform)
            continue;
        office.Found = true;
        office.ClickToRun = true;
        if (Lower(*platform) == "x64")
            office.Bits = Bitness::Bits64;
        else if (Lower(*platform) == "x86")
            office.Bits = Bitness::Bits32;
        office.Version =
            view.Text(kHkeyLocalMachine, configuration, "VersionToReport").value_or("");
        office.Products =
            view.Text(kHkeyLocalMachine, configuration, "ProductReleaseIds").value_or("");
        office.Volume = Lower(office.Products).find("volume") != std::string::npos;
        // The engine registered for Office alone: in the virtual registry, not in Office's view.
        if (const ViewInventory* own = FindView(inventory, office.Bits.value_or(Bitness::Bits32)))
            for (const OleDbProvider& p : own->Providers)
                if (ProviderEngine(p.ProgId) == Engine::Ace &&
                    p.Library.State == ComponentState::NotRegistered &&
                    InVirtualRegistry(view, p.ProgId))
                    office.AceOnlyInClickToRun.push_back(p.ProgId);
        return office;
    }
    // An installed (MSI) Office names its folder under its release's key, in its own view.
    for (const char* release : {"16.0", "15.0", "14.0", "12.0"})
        for (Bitness bits : order) {
            const ViewRegistry view(registry, bits, inventory.Windows64);
            const std::string key =
                std::string("SOFTWARE\\Microsoft\\Office\\") + release + "\\Common\\InstallRoot";
            if (view.Text(kHkeyLocalMachine, key, "Path").value_or("").empty())
                continue;
            office.Found = true;
            office.Bits = bits;
            office.Version = release;
            return office;
        }
    return office;
}

} // namespace

Inventory ReadInventory(IRegistryApi& registry, IFileProbe& files, bool windows64,
                        const std::string& userAccount) {
    Inventory inventory;
    inventory.Windows64 = windows64;
    inventory.UserAccount = userAccount;
    std::vector<Bitness> views = {Bitness::Bits32};
    if (windows64)
        views.push_back(Bitness::Bits64);
    for (Bitness bits : views) {
        const ViewRegistry view(registry, bits, windows64);
        ViewInventory v;
        v.View = bits;
        for (const char* progId : kEngineProgIds)
            v.Providers.push_back(ReadProvider(view, files, progId));
        for (const std::string& name :
             view.ValueNames(kHkeyLocalMachine, kDrivers + "\\ODBC Drivers"))
            v.Drivers.push_back(ReadDriver(view, files, name));
        v.SystemSources = ReadSources(view, kHkeyLocalMachine, true);
        inventory.Views.push_back(std::move(v));
    }
    for (ViewInventory& v : inventory.Views)
        MarkDrivers(inventory, v.SystemSources);
    inventory.UserSources =
        ReadSources(ViewRegistry(registry, Bitness::Bits32, false), kHkeyCurrentUser, false);
    MarkDrivers(inventory, inventory.UserSources);
    inventory.Office = ReadOffice(registry, inventory);
    return inventory;
}
