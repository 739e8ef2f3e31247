#include "ui/Bmp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace tirmo::ui;
namespace fs = std::filesystem;

namespace {

class BmpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tirmo-bmp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

BmpImage pattern(int width, int height)
{
    BmpImage img{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) img.rgb.push_back(uint32_t((x * 37 + y * 101) << 16 | (x * 13) << 8 | (y * 29 + 7)) & 0xFFFFFFu);
    return img;
}

std::vector<uint8_t> readFile(const std::string& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& p, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

}  // namespace

// Widths 1, 2 and 3 need 1, 2 and 3 bytes of padding per row; 4 needs none.
TEST_F(BmpTest, RoundTripsEveryRowPadding)
{
    for (int width : {1, 2, 3, 4, 5, 7}) {
        const BmpImage img = pattern(width, 3);
        const std::string p = path("w" + std::to_string(width) + ".bmp");
        ASSERT_TRUE(WriteBmp24(p, img));
        const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(fs::file_size(p), 54 + stride * 3) << "width " << width;
        const auto back = ReadBmp(p);
        ASSERT_TRUE(back) << "width " << width;
        EXPECT_EQ(back->width, width);
        EXPECT_EQ(back->height, 3);
        EXPECT_EQ(back->rgb, img.rgb) << "width " << width;
    }
}

// The file stores the bottom row first and blue before red; both must be undone on reading.
TEST_F(BmpTest, WritesBottomRowFirstInBlueGreenRedOrder)
{
    BmpImage img{1, 2, {0x112233u, 0xAABBCCu}};
    ASSERT_TRUE(WriteBmp24(path("a.bmp"), img));
    const std::vector<uint8_t> b = readFile(path("a.bmp"));
    ASSERT_EQ(b.size(), 54u + 2 * 4);
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.begin() + 57), (std::vector<uint8_t>{0xCC, 0xBB, 0xAA}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 58, b.begin() + 61), (std::vector<uint8_t>{0x33, 0x22, 0x11}));
}

TEST_F(BmpTest, ReadsTopDownRows)
{
    const BmpImage img = pattern(3, 4);
    std::vector<uint8_t> b = EncodeBmp24(img);
    // Reverse the rows and mark the height negative: the same picture stored top row first.
    const size_t stride = 12;
    std::vector<uint8_t> flipped(b.begin(), b.begin() + 54);
    for (int row = 3; row >= 0; --row)
        flipped.insert(flipped.end(), b.begin() + 54 + long(row * stride), b.begin() + 54 + long((row + 1) * stride));
    put32(flipped, 22, uint32_t(-4));
    const auto back = DecodeBmp(flipped);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rgb, img.rgb);
}

TEST_F(BmpTest, ReadsEightBitPalettisedBitmaps)
{
    // 3 x 2 pixels, palette of 2 entries (stated), rows padded to 4 bytes, bottom-up.
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, 54 + 2 * 4);
    put32(b, 14, 40);
    put32(b, 18, 3);
    put32(b, 22, 2);
    b[26] = 1;
    b[28] = 8;
    put32(b, 46, 2);
    const uint8_t palette[] = {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0};  // red, blue (as B,G,R,x)
    b.insert(b.end(), std::begin(palette), std::end(palette));
    const uint8_t rows[] = {1, 1, 1, 0, /* top: */ 0, 1, 0, 0};
    b.insert(b.end(), std::begin(rows), std::end(rows));
    const auto img = DecodeBmp(b);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->rgb, (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF, 0x0000FF}));
}

TEST_F(BmpTest, TruncatedFilesReadAsNothing)
{
    const std::vector<uint8_t> whole = EncodeBmp24(pattern(5, 4));
    // Short of the last row's pixels, at every length: headers, palette-free gap, pixel rows.
    const size_t lastPixelByte = 54 + 16 * 3 + 15;
    for (size_t length = 0; length < lastPixelByte; ++length) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(length));
        EXPECT_FALSE(DecodeBmp(cut)) << "cut to " << length << " bytes";
    }
    writeFile(path("cut.bmp"), std::vector<uint8_t>(whole.begin(), whole.begin() + 80));
    EXPECT_FALSE(ReadBmp(path("cut.bmp")));
    EXPECT_FALSE(ReadBmp(path("missing.bmp")));
}

// Damaged headers must be refused or read, never crash or ask for absurd memory.
TEST_F(BmpTest, GarbledHeadersNeverCrash)
{
    const std::vector<uint8_t> whole = EncodeBmp24(pattern(6, 5));
    std::mt19937 random(42);
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<uint8_t> b = whole;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) b[2 + random() % 52] = uint8_t(random());
        const auto img = DecodeBmp(b);
        if (img) {
            EXPECT_EQ(img->rgb.size(), size_t(img->width) * size_t(img->height));
        }
    }
    std::vector<uint8_t> huge = whole;
    put32(huge, 18, 0x7FFFFFFF);
    put32(huge, 22, 0x7FFFFFFF);
    EXPECT_FALSE(DecodeBmp(huge));
    std::vector<uint8_t> compressed = whole;
    put32(compressed, 30, 1);
    EXPECT_FALSE(DecodeBmp(compressed));
}

TEST_F(BmpTest, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    const std::string p = path("plot.bmp");
    ASSERT_TRUE(WriteBmp24(p, pattern(2, 2)));
    const std::vector<uint8_t> before = readFile(p);

    BmpImage inconsistent{3, 3, std::vector<uint32_t>(5)};
    EXPECT_FALSE(WriteBmp24(p, inconsistent));
    EXPECT_FALSE(WriteBmp24(path("no-such-folder/x.bmp"), pattern(2, 2)));
    EXPECT_EQ(readFile(p), before);

    ASSERT_TRUE(WriteBmp24(p, pattern(3, 1)));  // replaces in place
    EXPECT_EQ(ReadBmp(p)->width, 3);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 1);
}
