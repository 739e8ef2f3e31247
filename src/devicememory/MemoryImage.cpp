#include "devicememory/MemoryImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "camera/FrameStore.h"
#include "platform/Convert.h"

namespace tirmo::devicememory {

const std::vector<RecordPlace>& Records()
{
    static const std::vector<RecordPlace> records{
        {"w6_col", "w6_col:1L_06x4/", "", kWellFormatBank, 4, 24},
        {"w6_row", "w6_row:1L_06x4/", "", kWellFormatBank, 8, 24},
        {"p35_col", "p35_col:1L_06x4/", "", kWellFormatBank, 12, 24},
        {"p35_row", "p35_row:1L_06x4/", "", kWellFormatBank, 16, 24},
        {"w24_col", "w24_col:2L_12x4/", "", kWellFormatBank, 20, 48},
        {"w24_row", "w24_row:2L_12x4/", "", kWellFormatBank, 24, 48},
        {"Tempfactor", "Tempfactor:1L_2x1i/", "", kTemperatureBank, 4, 4},
        {"w6_intfactor", "w6_intfactor:1L_6x1/", "", kTemperatureBank, 8, 6},
        {"p35_intfactor", "p35_intfactor:1L_6x1/", "", kTemperatureBank, 12, 6},
        {"w24_intfactor", "w24_intfactor:1L_24x1/", "", kTemperatureBank, 16, 24},
        {"w6_blank", "w6_blank:[", "]6x1/", kBlankBank, 4, 6},
        {"p35_blank", "p35_blank:[", "]6x1/", kBlankBank, 8, 6},
        {"w24_blank", "w24_blank:[", "]24x1/", kBlankBank, 12, 24},
        {"ledxy", "ledxy:70L416x4/", "", kLightBank, kLightFirstLine, kLightValueBytes},
    };
    return records;
}

const RecordPlace* FindRecord(std::string_view name)
{
    for (const RecordPlace& r : Records())
        if (r.name == name) return &r;
    return nullptr;
}

std::string RecordKey(const RecordPlace& record, int lapse)
{
    std::string key(record.keyHead);
    if (!record.keyTail.empty()) key += platform::Format(lapse, "0000") + std::string(record.keyTail);
    return key;
}

std::string Padded(std::string_view text, size_t n)
{
    std::string out(text.substr(0, std::min(text.size(), n)));
    out.resize(n, '\0');
    return out;
}

unsigned char CheckByte(std::string_view data)
{
    unsigned char x = 0;
    for (char c : data) x ^= static_cast<unsigned char>(c);
    return x;
}

std::string HeaderBlock(std::string_view title, std::string_view lastLine)
{
    return Padded(kHeaderVersion, kLineBytes) + Padded(kHeaderMaker, kLineBytes) + Padded(title, kLineBytes) +
           Padded(lastLine, kLineBytes);
}

std::string EndBlock()
{
    std::string block;
    for (int i = 0; i < kBlockLines; ++i) block += Padded(kEndLine, kLineBytes);
    return block;
}

std::string RecordLine(std::string_view key, std::string_view data)
{
    std::string line(key);
    line += char(CheckByte(data));
    line += '/';
    return Padded(line, kLineBytes);
}

std::string RecordBlock(std::string_view key, std::string_view data)
{
    // The check covers what is stored: a reader can only check the bytes it gets back, so a
    // check over bytes beyond the 72nd would make a record that reads back equal but can never
    // be restored.
    const std::string stored = Padded(data, kRecordDataBytes);
    return RecordLine(key, stored) + stored;
}

std::string LightRecord(std::string_view key, std::string_view data)
{
    const std::string stored = Padded(data, kLightDataBytes);
    return RecordLine(key, stored) + stored + std::string(kLineBytes, '\0');
}

// The light alignment walks the frame store's positions and no further.
static_assert(kLastFramePosition == camera::FrameStore::kSize - 1);

std::optional<char> LedCoordinateByte(long coordinate)
{
    if (coordinate == kNoBand) return char(kNoBandByte);
    if (coordinate < 0 || coordinate > kLastFramePosition) return std::nullopt;
    return char(coordinate);
}

int LedCoordinate(unsigned char byte) { return byte == kNoBandByte ? kNoBand : int(byte); }

std::optional<std::string> PackBytes(const std::vector<long>& values)
{
    std::string out;
    out.reserve(values.size());
    for (long v : values) {
        if (v < 0 || v > 255) return std::nullopt;
        out += char(v);
    }
    return out;
}

std::string EncodeHundredths(double value)
{
    const double limited = std::clamp(value, -320.0, 320.0);
    // Rounding to two decimals first absorbs binary noise (16.34 x 100 = 1633.9999...), the cut
    // then drops what is left below a hundredth (16.349 gives 1634).
    const double hundredths = double(platform::RoundHalfEven(std::fabs(limited) * 100.0 * 100.0)) / 100.0;
    const long n = long(std::floor(hundredths));
    std::string out(2, '\0');
    out[0] = char(n / 256 + (limited < 0 ? 128 : 0));
    out[1] = char(n % 256);
    return out;
}

long DecodeHundredths(unsigned char high, unsigned char low)
{
    if (high >= 128) return -(long(high - 128) * 256 + low);
    return long(high) * 256 + low;
}

std::string HundredthsText(long hundredths)
{
    const long magnitude = std::labs(hundredths);
    std::string fraction = std::to_string(magnitude % 100);
    if (fraction.size() < 2) fraction.insert(0, "0");
    return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + fraction;
}

}  // namespace tirmo::devicememory
