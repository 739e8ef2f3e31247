#pragma once
// The acquisition data set of the run the main window recorded last, as its report reads it:
// scans 0..the run's scan counter with the per-scan tables the window completions filled.
#include <string>

#include "acquisition/RunTables.h"
#include "reports/ReportData.h"

namespace tirmo::reports {

// The run's tables for scans 0..scanCounter (none for a negative counter) on the given plate.
AcquisitionData RunDataSet(const acquisition::RunTables& tables, long scanCounter, const std::string& plateFormat);

}  // namespace tirmo::reports
