#include "plate/PlateState.h"

#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "plate/ReadReport.h"

namespace tirmo::plate {

void ReadPlateSpec(PlateState& plate, const std::string& format, link::Console& console)
{
    const ReadReport report = ReadPlateSpec(format, plate.well_table);
    if (!report.clean()) console.SetStatus(report.Text());
}

void ReadFormatFiles(PlateState& plate, const std::string& format, link::Console& console)
{
    const FormatTables tables{plate.column_bands, plate.row_bands, plate.column_labels, plate.row_labels};
    const std::string problems = JoinReports(ReadFormatFiles(format, console.session().serial_number, tables));
    plate.bands_format = format;
    if (!problems.empty()) console.SetStatus(problems);
}

}  // namespace tirmo::plate
