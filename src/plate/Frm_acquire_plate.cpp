// The main window's plate format and its tables: the plate specification, the band files and
// the well labels of the format in use.
#include "app/Frm_acquire.h"
#include "app/ModuleState.h"
#include "plate/BandFiles.h"
#include "plate/PlateFormat.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"

namespace tirmo::app {

void Frm_acquire::buildPlateControls() {}

void Frm_acquire::SetCurrentFormat(const std::string& format)
{
    current_format = format;
    const plate::PlateSize size = plate::FormatSize(format);
    plate_rows = size.rows;
    plate_columns = size.columns;
}

void Frm_acquire::ReadPlateSpec(const std::string& format)
{
    const plate::ReadReport report = plate::ReadPlateSpec(format, well_table);
    if (!report.clean()) SetStatus(report.Text());
}

void Frm_acquire::ReadFormatFiles(const std::string& format)
{
    const plate::FormatTables tables{column_bands, row_bands, column_labels, row_labels};
    const std::string problems = plate::JoinReports(plate::ReadFormatFiles(format, mod::serial_number, tables));
    if (!problems.empty()) SetStatus(problems);
}

void Frm_acquire::WriteFormatFiles(const std::string& format)
{
    if (!plate::WriteFormatFiles(format, mod::serial_number, column_bands, row_bands))
        SetStatus("Could not write the band files of " + format + " in " + plate::BandFolder(mod::serial_number));
}

void Frm_acquire::WriteMissingSpecFiles()
{
    struct Default {
        const char* format;
        bool (*writer)(const std::string&);
    };
    for (const Default& d : {Default{"p35", plate::WriteP35SpecFile}, Default{"w6", plate::WriteW6SpecFile},
                             Default{"w24", plate::WriteW24SpecFile}}) {
        if (platform::FileExists(plate::SpecFilePath("\\config", d.format))) continue;
        if (!d.writer("\\config")) SetStatus(std::string("Could not write config\\") + d.format + "_spc.dat");
    }
}

}  // namespace tirmo::app
