#include "cli/data_access_report.h"

#include "cli/system_report.h"

void AnswerDataAccess(DataAccessReport& report, const std::vector<ReportedProvider>& checked) {
    for (OleDbProvider& p : report.Facts.Views.front().Providers)
        for (const ReportedProvider& c : checked)
            if (c.Check.ProgId == p.ProgId && p.Library.State == ComponentState::Present)
                p.Created = CreationOf(c.Check);
    report.Answers = AnswerDatabases(report.Facts);
}
