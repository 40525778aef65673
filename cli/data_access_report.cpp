#include "cli/data_access_report.h"

#include "bitness/inventory_reader.h"
#include "cli/system_report.h"

namespace {

constexpr int32_t kFailed = static_cast<int32_t>(0x80004005u); // E_FAIL

int32_t CreationOf(const ProviderCheck& check) {
    if (check.State == ProviderState::Works)
        return 0;
    return check.Status < 0 ? check.Status : kFailed;
}

} // namespace

DataAccessReport ReadDataAccess(IRegistryApi& registry, IFileProbe& files, IMachineFacts& machine,
                                IProviderChecker& providers) {
    DataAccessReport report;
    report.Facts = ReadInventory(registry, files, machine.IsWindows64(), machine.UserAccount());
    // A 32-bit process can create only the 32-bit classes; Jet is in the provider check's table.
    for (OleDbProvider& p : report.Facts.Views.front().Providers)
        if (ProviderEngine(p.ProgId) == Engine::Ace && p.Library.State == ComponentState::Present)
            p.Created = CreationOf(providers.CheckProvider({.ProgId = p.ProgId, .Clsid = p.Clsid}));
    return report;
}

void AnswerDataAccess(DataAccessReport& report, const std::vector<ReportedProvider>& checked) {
    for (OleDbProvider& p : report.Facts.Views.front().Providers)
        for (const ReportedProvider& c : checked)
            if (c.Check.ProgId == p.ProgId && p.Library.State == ComponentState::Present)
                p.Created = CreationOf(c.Check);
    report.Answers = AnswerDatabases(report.Facts);
}
