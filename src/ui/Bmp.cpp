#include "ui/Bmp.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tirmo::ui {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBiRgb = 0;
// 96 dpi, the screen the plots are drawn for.
constexpr int32_t kPixelsPerMetre = 3780;
// Bitmaps larger than this are not pictures this program made or can show; refusing them keeps
// a garbled size field from asking for gigabytes.
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;
constexpr int64_t kMaxSide = 1 << 20;

uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

int32_t s32(const std::vector<uint8_t>& b, size_t at) { return int32_t(u32(b, at)); }

void put16(std::vector<uint8_t>& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& b, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) b.push_back(uint8_t(v >> shift));
}

// Rows are padded to whole 32-bit words.
uint64_t rowStride(uint64_t width, uint64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

uint32_t bgr(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16); }

struct Layout {
    int64_t width = 0;
    int64_t height = 0;  // always positive here; topDown says which way the rows run
    bool topDown = false;
    uint32_t bitsPerPixel = 0;
    uint64_t paletteAt = 0;
    uint64_t paletteEntrySize = 4;
    uint64_t paletteEntries = 0;
    uint64_t dataAt = 0;
};

std::optional<Layout> readLayout(const std::vector<uint8_t>& b)
{
    if (b.size() < kFileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    Layout l;
    l.dataAt = u32(b, 10);
    const uint32_t headerSize = u32(b, kFileHeaderSize);
    if (b.size() < kFileHeaderSize + uint64_t(headerSize)) return std::nullopt;
    if (headerSize == kCoreHeaderSize) {
        l.width = u16(b, 18);
        l.height = u16(b, 20);
        if (u16(b, 22) != 1) return std::nullopt;
        l.bitsPerPixel = u16(b, 24);
        l.paletteEntrySize = 3;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= 1024) {
        // The later headers (52 to 124 bytes) begin with the 40-byte one and add colour-space
        // fields that uncompressed RGB data does not need.
        l.width = s32(b, 18);
        const int64_t height = s32(b, 22);
        l.topDown = height < 0;
        l.height = height < 0 ? -height : height;
        if (u16(b, 26) != 1) return std::nullopt;
        l.bitsPerPixel = u16(b, 28);
        if (u32(b, 30) != kBiRgb) return std::nullopt;
        l.paletteEntries = u32(b, 46);
    } else {
        return std::nullopt;
    }
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxSide || l.height > kMaxSide) return std::nullopt;
    if (uint64_t(l.width) * uint64_t(l.height) > kMaxPixels) return std::nullopt;
    switch (l.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        if (l.paletteEntries == 0 || l.paletteEntries > (uint64_t(1) << l.bitsPerPixel))
            l.paletteEntries = uint64_t(1) << l.bitsPerPixel;
        break;
    case 24:
    case 32: l.paletteEntries = 0; break;
    default: return std::nullopt;
    }
    l.paletteAt = kFileHeaderSize + headerSize;
    if (l.dataAt < l.paletteAt) return std::nullopt;
    // Some writers state no palette size and store fewer entries than the depth allows; the
    // palette is what lies between the headers and the pixels.
    l.paletteEntries = std::min(l.paletteEntries, (l.dataAt - l.paletteAt) / l.paletteEntrySize);
    if (l.paletteAt + l.paletteEntries * l.paletteEntrySize > b.size()) return std::nullopt;
    // The last row may lack its padding, as some writers leave it off; its pixels must be there.
    const uint64_t stride = rowStride(uint64_t(l.width), l.bitsPerPixel);
    const uint64_t lastRow = (uint64_t(l.width) * l.bitsPerPixel + 7) / 8;
    if (l.dataAt + stride * uint64_t(l.height - 1) + lastRow > b.size()) return std::nullopt;
    return l;
}

}  // namespace

std::optional<BmpImage> DecodeBmp(const std::vector<uint8_t>& b)
{
    const std::optional<Layout> found = readLayout(b);
    if (!found) return std::nullopt;
    const Layout& l = *found;

    std::vector<uint32_t> palette(size_t(l.paletteEntries));
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = bgr(&b[l.paletteAt + i * l.paletteEntrySize]);

    BmpImage img;
    img.width = int(l.width);
    img.height = int(l.height);
    img.rgb.resize(size_t(l.width) * size_t(l.height));
    const uint64_t stride = rowStride(uint64_t(l.width), l.bitsPerPixel);
    for (int64_t row = 0; row < l.height; ++row) {
        const uint8_t* src = &b[size_t(l.dataAt + stride * uint64_t(row))];
        const int64_t y = l.topDown ? row : l.height - 1 - row;
        uint32_t* dst = &img.rgb[size_t(y * l.width)];
        for (int64_t x = 0; x < l.width; ++x) {
            switch (l.bitsPerPixel) {
            case 24: dst[x] = bgr(src + 3 * x); break;
            case 32: dst[x] = bgr(src + 4 * x); break;
            default: {
                const uint64_t bit = uint64_t(x) * l.bitsPerPixel;
                const unsigned shift = 8 - l.bitsPerPixel - unsigned(bit % 8);
                const unsigned index = (src[bit / 8] >> shift) & ((1u << l.bitsPerPixel) - 1);
                // An index past the palette is a damaged pixel, not a damaged file: show it black.
                dst[x] = index < palette.size() ? palette[index] : 0;
            }
            }
        }
    }
    return img;
}

std::vector<uint8_t> EncodeBmp24(const BmpImage& img)
{
    if (img.width <= 0 || img.height <= 0 || img.width > kMaxSide || img.height > kMaxSide) return {};
    const uint64_t pixels = uint64_t(img.width) * uint64_t(img.height);
    if (pixels > kMaxPixels || img.rgb.size() != pixels) return {};
    const uint64_t stride = rowStride(uint64_t(img.width), 24);
    const uint64_t dataSize = stride * uint64_t(img.height);
    const uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + dataSize;

    std::vector<uint8_t> b;
    b.reserve(size_t(fileSize));
    b.push_back('B');
    b.push_back('M');
    put32(b, uint32_t(fileSize));
    put32(b, 0);  // reserved
    put32(b, uint32_t(kFileHeaderSize + kInfoHeaderSize));
    put32(b, uint32_t(kInfoHeaderSize));
    put32(b, uint32_t(img.width));
    put32(b, uint32_t(img.height));  // positive: bottom row first
    put16(b, 1);                     // planes
    put16(b, 24);
    put32(b, kBiRgb);
    put32(b, uint32_t(dataSize));
    put32(b, uint32_t(kPixelsPerMetre));
    put32(b, uint32_t(kPixelsPerMetre));
    put32(b, 0);  // palette entries
    put32(b, 0);  // important colours
    const size_t padding = size_t(stride) - size_t(img.width) * 3;
    for (int y = img.height - 1; y >= 0; --y) {
        const uint32_t* row = &img.rgb[size_t(y) * size_t(img.width)];
        for (int x = 0; x < img.width; ++x) {
            b.push_back(uint8_t(row[x]));
            b.push_back(uint8_t(row[x] >> 8));
            b.push_back(uint8_t(row[x] >> 16));
        }
        b.insert(b.end(), padding, 0);
    }
    return b;
}

bool WriteBmp24(const std::string& path, const BmpImage& img)
{
    const std::vector<uint8_t> bytes = EncodeBmp24(img);
    if (bytes.empty()) return false;

    // Unique within the process and, through the clock, across processes writing the same file.
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string temp = path + ".tmp" + std::to_string(stamp) + "-" + std::to_string(counter++);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::optional<BmpImage> ReadBmp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    // A bitmap of the largest accepted size is about 1 GiB at 32 bits; a bigger file is not one.
    if (error || size > (uint64_t(1) << 31)) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (in.gcount() != std::streamsize(bytes.size())) return std::nullopt;
    return DecodeBmp(bytes);
}

}  // namespace tirmo::ui
