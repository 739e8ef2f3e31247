#pragma once
// The instrument's calibration memory as the program lays it out, byte for byte, for both the
// backup that writes it and the reading that restores the files from it:
//   line    24 bytes; every text is cut or padded with byte 0 to 24
//   block   4 lines, 96 bytes: what the instrument buffers, commits and returns at once; a block
//           is named by its first line, a multiple of 4
//   bank    0 well format, 1 temperature and internal reference, 2 blank, 3 light
//   set     a header block at line 0, then one record block per record at lines 4, 8, ...
//   record  a record line (key, check byte, "/", zeros), then 72 data bytes; the light record
//           spans 18 blocks (record line, 70 data lines, one zero line)
// Records are found by their fixed bank and line, never by searching.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::devicememory {

inline constexpr int kLineBytes = 24;
inline constexpr int kBlockLines = 4;
inline constexpr int kBlockBytes = kLineBytes * kBlockLines;  // 96
inline constexpr int kRecordDataBytes = 72;                   // three data lines of a record block
inline constexpr int kBankCount = 4;
inline constexpr int kReadRequestBase = 240;  // a read request carries 240 + bank

inline constexpr int kWellFormatBank = 0;
inline constexpr int kTemperatureBank = 1;  // shared with the internal reference
inline constexpr int kBlankBank = 2;
inline constexpr int kLightBank = 3;

// The light record: its record line, 1680 data bytes (1664 values and 16 zeros) and one zero
// line fill the blocks at lines 4, 8, ..., 72 of bank 3.
inline constexpr int kLightFirstLine = 4;
inline constexpr int kLightBlocks = 18;
inline constexpr int kLightRecordBytes = kLightBlocks * kBlockBytes;  // 1728
inline constexpr int kLightDataBytes = 1680;
inline constexpr int kLightValueBytes = 1664;  // x1, x2, y1, y2 of 416 LEDs

// One record's place and key. For the blank records the key holds the lapse between keyHead
// and keyTail ("w6_blank:[" 0030 "]6x1/"); for the others keyHead is the whole key.
struct RecordPlace {
    std::string_view name;     // the key's part before ":", which identifies the record
    std::string_view keyHead;
    std::string_view keyTail;  // empty but for the blank records
    int bank = 0;
    int line = 0;              // first line of its (first) block
    int values = 0;            // meaningful data bytes
};

// Every record, in the order the sets are written: well format (6), temperature, internal
// reference (3), blank (3), light.
const std::vector<RecordPlace>& Records();
// The record of that name (exact, case included); nullptr for another name.
const RecordPlace* FindRecord(std::string_view name);

// The record key: keyHead, for the blank records the lapse in four digits and keyTail.
std::string RecordKey(const RecordPlace& record, int lapse = 0);

// Header block line 0 and 1, and the end block of the well-format set.
inline constexpr std::string_view kHeaderVersion = "TIRMO2019v001f001//";
inline constexpr std::string_view kHeaderMaker = "Dravolinex VOSTRELIA//";
inline constexpr std::string_view kEndLine = "END//";
inline constexpr int kWellFormatEndLine = 28;

// Set titles (header line 2). The temperature set carries the blank set's title.
inline constexpr std::string_view kWellFormatTitle = "Well Format Files//";
inline constexpr std::string_view kTemperatureTitle = "Blank_measure//";
inline constexpr std::string_view kInternalFactorTitle = "Internal_factor//";
inline constexpr std::string_view kBlankTitle = "Blank_measure//";
inline constexpr std::string_view kLightTitle = "ledxy//";

// text cut or padded with byte 0 to n bytes.
std::string Padded(std::string_view text, size_t n);
// The XOR of every byte.
unsigned char CheckByte(std::string_view data);

// The header block: version, maker, title, and "//" or, for the temperature set, the writing
// time "yyyymmddhhmm" followed by "//" (give the whole line).
std::string HeaderBlock(std::string_view title, std::string_view lastLine = "//");
// Four "END//" lines.
std::string EndBlock();
// The record line: key, check byte of data, "/", zeros up to 24 (a longer key is cut).
std::string RecordLine(std::string_view key, std::string_view data);
// The record block: record line and the first 72 bytes of data (zero-padded); the check byte is
// that of the 72 bytes stored.
std::string RecordBlock(std::string_view key, std::string_view data);
// The light record as its 18 blocks side by side (1728 bytes): record line, data cut or padded
// to 1680 bytes (the check byte theirs), one zero line.
std::string LightRecord(std::string_view key, std::string_view data);

// An LED rectangle coordinate of ledxy.dat: a position of the camera frame (0..192) as the light
// alignment finds it, or -1 where it found no band. The frame has no position 255, so that byte
// keeps the -1 (it is also -1 read as a signed byte).
inline constexpr int kNoBand = -1;
inline constexpr int kLastFramePosition = 192;
inline constexpr unsigned char kNoBandByte = 255;
// The coordinate's byte; nullopt for a value outside -1..192.
std::optional<char> LedCoordinateByte(long coordinate);
// The coordinate a byte holds: -1 for 255, else the byte.
int LedCoordinate(unsigned char byte);

// One byte per value; nullopt when a value lies outside 0..255 (it does not fit the memory).
std::optional<std::string> PackBytes(const std::vector<long>& values);

// Two-byte signed-magnitude hundredths: the value limited to -320..320, its magnitude in whole
// hundredths (rounded to two decimals first, then cut), high byte plus 128 when negative.
std::string EncodeHundredths(double value);
// The value in hundredths that two bytes hold (negative when the high byte is 128 or more).
long DecodeHundredths(unsigned char high, unsigned char low);
// Hundredths as "0.00" with "."; no sign for zero.
std::string HundredthsText(long hundredths);

}  // namespace tirmo::devicememory
