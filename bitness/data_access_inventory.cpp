#include "bitness/data_access_inventory.h"

#include <string_view>

const char* FileKindName(FileKind kind) {
    switch (kind) {
    case FileKind::Mdb:
        return "mdb";
    case FileKind::Accdb:
        return "accdb";
    case FileKind::Xls:
        return "xls";
    case FileKind::Xlsx:
        break;
    }
    return "xlsx";
}

Engine ProviderEngine(const std::string& progId) {
    return std::string_view(progId).starts_with("Microsoft.Jet.") ? Engine::Jet : Engine::Ace;
}

bool EngineOpens(Engine engine, FileKind kind) {
    return engine == Engine::Ace || kind == FileKind::Mdb || kind == FileKind::Xls;
}

const ViewInventory* FindView(const Inventory& inventory, Bitness view) {
    for (const ViewInventory& v : inventory.Views)
        if (v.View == view)
            return &v;
    return nullptr;
}
