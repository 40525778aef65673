#pragma once
// The part of a report on which programs can open databases here: the inventory read, the 32-bit
// classes of the providers created where the provider check creates its classes, and the answer.
#include <vector>

#include "bitness/data_access_inventory.h"
#include "bitness/database_answer.h"
#include "bitness/file_probe.h"
#include "bitness/machine_facts.h"
#include "registry/registry_api.h"
#include "repair/provider_check.h"

struct DataAccessReport {
    Inventory Facts;
    std::vector<BitnessAnswer> Answers;
};

// Which of the 32-bit providers that are present get an object made.
enum class Creating {
    Engine, // the Access Database Engine's: the caller's own provider check makes Jet's
    All,
};

// Reads the inventory and creates the 32-bit classes through `providers` (before the provider
// check ends its checks: its host goes with ChecksDone). Answers too, where `creating` is All.
DataAccessReport ReadDataAccess(IRegistryApi& registry, IFileProbe& files, IMachineFacts& machine,
                                IProviderChecker& providers, Creating creating);

// What a provider check's result says of creating its class: 0 where an object was made, else a
// failing HRESULT.
int32_t CreationOf(const ProviderCheck& check);
