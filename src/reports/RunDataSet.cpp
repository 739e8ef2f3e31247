#include "reports/RunDataSet.h"

namespace tirmo::reports {

AcquisitionData RunDataSet(const acquisition::RunTables& tables, long scanCounter, const std::string& plateFormat)
{
    AcquisitionData d;
    d.plate_format = plateFormat;
    d.Resize(int(scanCounter));
    for (int t = 0; t <= d.scan_counter; ++t) {
        d.record_seconds[size_t(t)] = tables.scan_start_seconds(t);
        d.record_temperature[size_t(t)] = tables.scan_temperature(t);
        for (int w = 0; w < kReportWells; ++w) {
            d.well_activity[size_t(w)][size_t(t)] = tables.well_scan_activity(w, t);
            d.well_seconds[size_t(w)][size_t(t)] = tables.well_scan_seconds(w, t);
        }
    }
    return d;
}

}  // namespace tirmo::reports
