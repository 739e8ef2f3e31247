#include <gtest/gtest.h>

#include "plate/PlateFormat.h"

namespace tirmo::plate {
namespace {

TEST(PlateFormat, SizesAndLastWellsOfEveryFormat)
{
    EXPECT_EQ(FormatSize("w96f").rows, 8);
    EXPECT_EQ(FormatSize("w96f").columns, 12);
    EXPECT_EQ(FormatSize("w48").wells(), 48);
    EXPECT_EQ(FormatSize("w12").rows, 3);
    EXPECT_EQ(FormatSize("p35").columns, 3);
    EXPECT_FALSE(IsPlateFormat("w7"));
    EXPECT_EQ(FormatSize("W6").rows, 0) << "codes are lower case";
    EXPECT_EQ(LastWell("w6"), "B3");
    EXPECT_EQ(LastWell("p35"), "B3");
    EXPECT_EQ(LastWell("w12"), "C4");
    EXPECT_EQ(LastWell("w24"), "D6");
    EXPECT_EQ(LastWell("w48"), "F8");
    EXPECT_EQ(LastWell("w96f"), "H12");
    EXPECT_EQ(LastWell("w96u"), "");
}

TEST(PlateFormat, WellsAreNumberedDownEachColumnFirst)
{
    EXPECT_EQ(WellNumber(0, 0, 2), 0);    // A1
    EXPECT_EQ(WellNumber(1, 0, 2), 1);    // B1
    EXPECT_EQ(WellNumber(0, 1, 2), 2);    // A2 on a 2 x 3 plate
    EXPECT_EQ(WellNumber(3, 0, 4), 3);    // D1 on w24
    EXPECT_EQ(WellNumber(0, 1, 4), 4);    // A2 on w24
    EXPECT_EQ(WellNumber(3, 5, 4), 23);   // D6
    EXPECT_EQ(WellNumber(7, 11, 8), 95);  // H12
}

TEST(PlateFormat, WellNamesRoundTrip)
{
    EXPECT_EQ(WellName(0, 0), "A1");
    EXPECT_EQ(WellName(7, 11), "H12");
    EXPECT_EQ(ParseWellName("H12"), std::make_pair(7, 11));
    EXPECT_FALSE(ParseWellName("A0"));
    EXPECT_FALSE(ParseWellName("a1"));
    EXPECT_FALSE(ParseWellName("A"));
    EXPECT_FALSE(ParseWellName("A1x"));
}

TEST(PlateFormat, DefaultCameraFieldsOfW24)
{
    const PlateSize w24 = FormatSize("w24");
    // Camera 1 holds C1, D1, C2, D2; camera 4 holds A5, B5, A6, B6.
    auto c1 = DefaultField(w24, 2, 0);
    EXPECT_EQ(c1.camera, 1);
    EXPECT_EQ(c1.localRow, 0);
    auto d2 = DefaultField(w24, 3, 1);
    EXPECT_EQ(d2.camera, 1);
    EXPECT_EQ(d2.localColumn, 1);
    EXPECT_EQ(d2.localRow, 1);
    EXPECT_EQ(DefaultField(w24, 1, 5).camera, 4);
    EXPECT_EQ(DefaultField(FormatSize("w6"), 1, 2).camera, 5);  // B3
}

}  // namespace
}  // namespace tirmo::plate
