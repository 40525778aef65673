#pragma once
// The report's part on which programs can open databases here, completed with what the report's
// own provider check found.
#include <vector>

#include "bitness/data_access_read.h"

struct ReportedProvider;

// Takes Jet's creation from the provider check, which already made it, and answers.
void AnswerDataAccess(DataAccessReport& report, const std::vector<ReportedProvider>& checked);
