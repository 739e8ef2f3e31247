#pragma once
// What a record read from the calibration memory becomes on disk: how a record is recognised
// (its name and its check byte), and the lines of the file each record restores. The files
// follow the layouts the rest of the program reads: band files, ledxy.dat, tempfactor.dat,
// intfactor_<format>.dat in its restored form, and blank_<format>.dat with the plate's wells.
#include <string>
#include <string_view>
#include <vector>

#include "devicememory/MemoryImage.h"

namespace tirmo::devicememory {

// The record (a block, or the light record's 1728 bytes) starts with the name, case included,
// and the byte after the first "/" from the fourth byte on equals the XOR of everything after
// the record line.
bool RecordFound(std::string_view record, std::string_view name);

// Data byte k (from 1) of a record: the byte after the record line.
unsigned char DataByte(std::string_view record, int k);

// <name>.dat: the quoted title "<name> format", the quoted header (camera, the band word,
// start, end) and one row per band, four bytes each: 6 rows for w6 and p35, 12 for w24. The band
// word is "column" for w6_col, "col" for p35_col and w24_col, "row" for the row records.
std::vector<std::string> WellFormatFileLines(const RecordPlace& record, std::string_view block);

// ledxy.dat: the quoted title, the quoted header and 416 rows "led,x1,x2,y1,y2".
std::vector<std::string> LedPositionFileLines(std::string_view record);

// tempfactor.dat: the quoted title, "OFFSET=" and "SLOPE=" with two decimals and ".".
std::vector<std::string> TempFactorFileLines(std::string_view block);

// intfactor_<format>.dat as restored: the quoted stamp, "well" with the well names down each
// column (A1 B1 A2 ...), "mult_factor" with each well's byte / 100 as "0.00".
std::vector<std::string> InternalFactorFileLines(std::string_view format, std::string_view block,
                                                 std::string_view stamp);

// blank_<format>.dat as restored: the quoted stamp, "acqlapse=" and the text between the first
// "[" and "]" of the record line, the quoted column header, and one row "index,value" per well
// of the plate (6, or 24 for w24).
std::vector<std::string> RestoredBlankFileLines(const RecordPlace& record, std::string_view block,
                                                std::string_view stamp);

// The stamp of the restored files: the PC's time as "yyyymmdd hh:mm".
std::string RestoreStamp();

}  // namespace tirmo::devicememory
