#include "bitness/data_access_read.h"

#include "bitness/inventory_reader.h"

int32_t CreationOf(const ProviderCheck& check) {
    constexpr int32_t kFailed = static_cast<int32_t>(0x80004005u); // E_FAIL
    if (check.State == ProviderState::Works)
        return 0;
    return check.Status < 0 ? check.Status : kFailed;
}

DataAccessReport ReadDataAccess(IRegistryApi& registry, IFileProbe& files, IMachineFacts& machine,
                                IProviderChecker& providers, Creating creating) {
    DataAccessReport report;
    report.Facts = ReadInventory(registry, files, machine.IsWindows64(), machine.UserAccount());
    // A 32-bit process can create only the 32-bit classes.
    for (OleDbProvider& p : report.Facts.Views.front().Providers)
        if ((creating == Creating::All || ProviderEngine(p.ProgId) == Engine::Ace) &&
            p.Library.State == ComponentState::Present)
            p.Created = CreationOf(providers.CheckProvider({.ProgId = p.ProgId, .Clsid = p.Clsid}));
    if (creating == Creating::All)
        report.Answers = AnswerDatabases(report.Facts);
    return report;
}
