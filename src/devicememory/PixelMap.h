#pragma once
// The pixel-enable maps the instrument's cameras are given: which image pixels a camera
// watches. A map goes to the instrument unframed, in blocks of four sensor lines: the head "F",
// the camera number and the block's first line, answered by the instrument, then 96 bytes (24
// per line, pixel 8j + m of a line in bit m of byte j), answered again. Two sources: the per-well
// pixel masks of camera 0 (w96f_c0__<well>.dat, merged in name order and sampled on a 5-pixel
// grid), and a map file flash<camera>_<number>.dat.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/FlashWrite.h"

namespace tirmo::devicememory {

inline constexpr int kMaskLines = 140;   // camera 0's image for the masks: lines 0..139
inline constexpr int kMaskPixels = 190;  // pixels 0..189
inline constexpr int kMaskGrid = 5;
inline constexpr int kEnabled = 65535;
inline constexpr const char* kMaskPrefix = "w96f_c0__";

// A window's pixel-enable table: cameras 0..6, lines and pixels 0..192; 65535 enables a pixel.
struct PixelEnableMap {
    static constexpr int kCameras = 7, kSide = 193;
    std::vector<std::uint16_t> entries = std::vector<std::uint16_t>(size_t(kCameras * kSide * kSide), 0);
    std::uint16_t& at(int camera, int line, int pixel) { return entries[size_t((camera * kSide + line) * kSide + pixel)]; }
    std::uint16_t at(int camera, int line, int pixel) const { return entries[size_t((camera * kSide + line) * kSide + pixel)]; }
};

// The masks merged: per line and pixel "0" or the tag of the last file (in name order) that
// enabled it; files counts the mask files merged, refused names each file left out and why.
struct MaskMerge {
    std::vector<std::string> table = std::vector<std::string>(size_t(kMaskLines * kMaskPixels), "0");
    int files = 0;
    std::vector<std::string> refused;  // "w96f_c0__A2.dat (gave no pixel of a well)"
    const std::string& at(int line, int pixel) const { return table[size_t(line * kMaskPixels + pixel)]; }
};
// Every w96f_c0__*.dat of the folder, sorted by name. Rows after the header: line, pixel, value;
// a row that is empty, has fewer than two commas, a value of 0, or a place outside the image is
// skipped. A file is merged only when at least one of its rows enabled a place: one that could
// not be read, gave nothing (empty, garbled, cut before its well), or whose tag would break the
// wells file's rows (a comma or a line break in it) is refused instead.
MaskMerge MergeWellMasks(const std::string& folder);
// The grid points (lines and pixels multiples of 5) inside a well.
std::vector<bool> GridFlags(const MaskMerge& merge);

// w96f_c0_wells.dat: header, then "line,pixel,entry" for every place.
std::vector<std::string> WellsFileLines(const MaskMerge& merge);
// w96f_c0_flash.dat: header, then "line,pixel,1" or ",0" by the grid flags.
std::vector<std::string> GridFileLines(const std::vector<bool>& flags);
// flash<camera>.dat: header, then "line,pixel,1" or ",0" by the camera's entries of the table.
std::vector<std::string> FlashFileLines(const PixelEnableMap& map, int camera);

// The 96 bytes of the block of lines L..L+3 of a camera's table (lines beyond 192 off); adds the
// enabled pixels sent to `enabled`.
std::string MapBlock(const PixelEnableMap& map, int camera, int line, long& enabled);

// Uploads a camera's table, blocks L = 0, 4, ..., 140, showing the traffic in the monitor; after
// the last block "quantity activated=" and the pixels enabled. 0 when every block was answered;
// -1 when one was not ("Empty/No response Headline" or "Empty/No response flashline" and L), with
// failure (when given) saying which block and which part of it went unanswered.
int SendFlashMap(FlashWritePort& port, const PixelEnableMap& map, int camera, const MemoryNotices& notices,
                 std::string* failure = nullptr);

// Uploads the map file flash<camera>_<number>.dat of the program folder: every pixel of lines
// 0..139 on unless a row turns it off (value 0); 35 blocks, L = 0..136. 1 when every block was
// answered; -1 with no link, a missing file ("Flash<camera>_<number> not exist"), a row that is
// not three whole numbers within the map or a camera above 255 ("error", nothing sent), or a
// block without an answer.
int SendFlashFile(FlashWritePort& port, int camera, int number, const MemoryNotices& notices);

// "Apply to all": asks first, merges the masks (writing the wells and grid files when one was
// merged), names the mask files refused, asks again with the count merged, then puts the grid
// into camera 0's table, writes flash0.dat and uploads it; the status line ends with the
// upload's outcome. ask shows a Yes/No question and says whether it was Yes.
struct ApplyOutcome {
    int files = 0;
    long channels = 0;   // enabled points put into the table
    bool sent = false;   // the upload went through
};
ApplyOutcome ApplyWellMasks(FlashWritePort& port, PixelEnableMap& map, const MemoryNotices& notices,
                            const std::function<bool(const std::string&)>& ask);

}  // namespace tirmo::devicememory
