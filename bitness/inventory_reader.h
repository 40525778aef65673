#pragma once
// Reads the data-access inventory: each registry view of the machine (both on 64-bit Windows,
// the one on 32-bit Windows), the user's data sources once (HKCU's are shared by both views),
// and Office. Only reads; the 32-bit providers' objects are created elsewhere (the provider
// check's host), and their results put into the inventory by the caller.
#include <string>

#include "bitness/data_access_inventory.h"
#include "bitness/file_probe.h"
#include "registry/registry_api.h"

Inventory ReadInventory(IRegistryApi& registry, IFileProbe& files, bool windows64,
                        const std::string& userAccount);
