#pragma once
// BMP bitmap files, read and written without Qt so that the plot files the program saves are
// produced the same way whatever Qt's image plugins are on a machine, and so that pictures made
// by other programs (24-bit and palettised bitmaps) load without a plugin.
//
// Writing produces 24-bit uncompressed bottom-up bitmaps, the form every reader accepts. Reading
// takes uncompressed 1, 4, 8, 24 and 32-bit bitmaps, bottom-up or top-down, with either header
// generation. Anything else, and any file that is cut short or whose header does not add up,
// reads as nothing: a bad file must never take the program down.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tirmo::ui {

struct BmpImage {
    int width = 0;
    int height = 0;
    // width * height pixels as 0x00RRGGBB, the top row first.
    std::vector<uint32_t> rgb;
};

// Writes img to path through a temporary file in the same folder that is then renamed over path,
// so a reader never sees half a file and a failed write leaves the old file as it was. False
// when img is empty or inconsistent (rgb.size() != width * height) or the file cannot be written.
bool WriteBmp24(const std::string& path, const BmpImage& img);

std::optional<BmpImage> ReadBmp(const std::string& path);

// The same on bytes in memory; ReadBmp reads the file and decodes it with this.
std::optional<BmpImage> DecodeBmp(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> EncodeBmp24(const BmpImage& img);

}  // namespace tirmo::ui
