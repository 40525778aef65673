#pragma once
// The report's part on which programs can open databases here: the inventory read, the 32-bit
// classes of the engine created where the provider check creates its classes, and the answer.
#include <vector>

#include "bitness/data_access_inventory.h"
#include "bitness/database_answer.h"
#include "bitness/file_probe.h"
#include "bitness/machine_facts.h"
#include "registry/registry_api.h"
#include "repair/provider_check.h"

struct ReportedProvider;

struct DataAccessReport {
    Inventory Facts;
    std::vector<BitnessAnswer> Answers;
};

// Reads the inventory and creates the engine's 32-bit classes through `providers` (before the
// provider check ends its checks: its host goes with ChecksDone).
DataAccessReport ReadDataAccess(IRegistryApi& registry, IFileProbe& files, IMachineFacts& machine,
                                IProviderChecker& providers);

// Takes Jet's creation from the provider check, which already made it, and answers.
void AnswerDataAccess(DataAccessReport& report, const std::vector<ReportedProvider>& checked);
