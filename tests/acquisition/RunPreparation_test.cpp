#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "acquisition/RunGeometryFixture.h"
#include "acquisition/RunPreparation.h"

namespace tirmo::acquisition {
namespace {

using test::DefaultPlate;
using test::OneCellPerCamera;

PreparationSettings settings(int generation, int exposure = 20, double minutes = 30)
{
    return PreparationSettings{generation, exposure, minutes};
}

TEST(RunPreparation, DefaultPlatesGiveTheirSpeedExposureAndSizesPerGeneration)
{
    struct Case {
        const char* format;
        int generation, exposure;
        int speed, runExposure, widest, maxWindow, maxPixels;
    };
    const Case cases[] = {
        {"w6", 2, 20, 7, 20, 155, 0, (135 + 2) * (155 + 2)},
        {"w6", 1, 20, 6, 40, 155, 0, (135 + 2) * (155 + 2)},
        {"w24", 2, 28, 3, 140, 80, 1, (137 + 2) * (80 + 2)},
        {"w24", 1, 20, 3, 100, 80, 1, (137 + 2) * (80 + 2)},
    };
    for (const Case& c : cases) {
        DefaultPlate plate(c.format);
        RunTables t;
        const PreparationResult r = PrepareAcquisition(plate.geometry, settings(c.generation, c.exposure), t);
        ASSERT_TRUE(r.ok()) << c.format << ": " << r.message;
        EXPECT_EQ(r.result, 1);
        EXPECT_EQ(t.run_speed, c.speed) << c.format << " generation " << c.generation;
        EXPECT_EQ(t.run_exposure, c.runExposure) << c.format << " generation " << c.generation;
        EXPECT_EQ(t.widest_row_band, c.widest);
        EXPECT_EQ(t.max_window, c.maxWindow);
        EXPECT_EQ(t.windows(), c.maxWindow + 1);
        EXPECT_EQ(t.max_window_pixels, c.maxPixels);
        EXPECT_GT(t.pixel_slots(), c.maxPixels);
        EXPECT_GT(t.mean_well_pixels, 0);
    }
}

TEST(RunPreparation, W24WindowsNumberTheSharedLineInBothColumnBands)
{
    DefaultPlate plate("w24");
    RunTables t;
    ASSERT_TRUE(PrepareAcquisition(plate.geometry, settings(2), t).ok());
    // Window 1 of camera 0: bands 5..75 (71 lines) and 75..142 (68 lines) of 81 pixels.
    const int endOfBand0 = 71 * 81, last = 139 * 81;
    EXPECT_EQ(t.pixel_column_band(0, 1, endOfBand0), 0);
    EXPECT_EQ(t.pixel_column_offset(0, 1, endOfBand0), 70);
    EXPECT_EQ(t.pixel_row_offset(0, 1, endOfBand0), 0);
    EXPECT_EQ(t.pixel_column_band(0, 1, endOfBand0 + 1), 1);
    EXPECT_EQ(t.pixel_column_offset(0, 1, endOfBand0 + 1), 0) << "sensor line 75 again, in band 1";
    EXPECT_EQ(t.pixel_row_offset(0, 1, endOfBand0 + 1), 80);
    EXPECT_EQ(t.pixel_row_band(0, 1, 1), 1);
    EXPECT_EQ(t.pixel_well_name(0, 1, 1), "B1");
    EXPECT_EQ(t.pixel_well_name(0, 1, last), "B2");
    EXPECT_EQ(t.pixel_column_offset(0, 1, last), 67);
    EXPECT_EQ(t.pixel_well_name(0, 1, last + 1), "") << "past the numbering no cell names a pixel";
    EXPECT_EQ(t.pixel_well(0, 1, last + 1), -1);
    EXPECT_EQ(t.pixel_well(0, 1, 1), -1) << "the band's corner lies outside the well";
    // Each in-shape pixel belongs to its cell's well, and every well counts its pixels.
    int inB2 = 0;
    for (int p = 1; p <= last; ++p)
        if (t.pixel_in_well(0, 1, p)) {
            EXPECT_EQ(t.pixel_well(0, 1, p), t.pixel_column_band(0, 1, p) == 0 ? 1 : 5) << p;
            inB2 += t.pixel_well(0, 1, p) == 5;
        }
    EXPECT_EQ(t.well_pixel_total[5], inB2);
    EXPECT_EQ(t.sensor_cell_index(0, 140, 100), 2 * 1 + 1) << "window 1, column slot 1";
}

TEST(RunPreparation, ColumnSlotsAndWindowsKeepTheirOwnCellsWhereTheirCountsDiffer)
{
    DefaultPlate plate("w48");
    const RunGeometry& g = plate.geometry;
    RunTables t;
    ASSERT_TRUE(PrepareAcquisition(g, settings(2), t).ok());
    EXPECT_EQ(t.max_window, 1);
    // Camera 1: column slot s of window w holds well 6 s + 2 + w, and sensor cell 4 w + s.
    for (int w : {0, 1}) {
        std::array<int, 4> pixels{};
        for (int p = 1; p < t.pixel_slots(); ++p) {
            if (!t.pixel_in_well(1, w, p)) continue;
            const int s = t.pixel_column_band(1, w, p);
            ASSERT_EQ(t.pixel_row_band(1, w, p), w) << p;
            ASSERT_EQ(t.pixel_well(1, w, p), 6 * s + 2 + w) << p;
            const int x = g.ColumnStart(1, s) + t.pixel_column_offset(1, w, p);
            ASSERT_EQ(t.sensor_cell_index(1, x, g.RowStart(1, w) + t.pixel_row_offset(1, w, p)), 4 * w + s) << p;
            ++pixels[size_t(s)];
        }
        for (int s = 0; s < 4; ++s) EXPECT_EQ(t.well_pixel_total[size_t(6 * s + 2 + w)], pixels[size_t(s)]) << s << w;
    }
    // The upper half of a well reaches the band's first pixels; a whole well does not.
    EXPECT_TRUE(t.sensor_well_mask(1, g.ColumnStart(1, 1) + 17, g.RowStart(1, 0) + 1));
    EXPECT_FALSE(t.sensor_well_mask(1, g.ColumnStart(1, 0) + 17, g.RowStart(1, 0) + 1));
}

TEST(RunPreparation, SensorMaskMirrorsThePixelMaskAtSensorCoordinates)
{
    DefaultPlate plate("w6");
    RunTables t;
    ASSERT_TRUE(PrepareAcquisition(plate.geometry, settings(2), t).ok());
    int inside = 0;
    for (int p = 1; p <= 136 * 156; ++p) {
        const int x = 5 + t.pixel_column_offset(3, 0, p), y = 10 + t.pixel_row_offset(3, 0, p);
        ASSERT_EQ(t.sensor_well_mask(3, x, y), t.pixel_in_well(3, 0, p)) << p;
        inside += t.pixel_in_well(3, 0, p);
    }
    EXPECT_EQ(t.well_pixel_total[size_t(plate.geometry.well_table.at(3, 0, 0).dataindex)], inside);
    EXPECT_EQ(t.mean_well_pixels, inside) << "every w6 well has the same shape";
    EXPECT_FALSE(t.sensor_well_mask(3, 4, 50)) << "left of the column band";
    EXPECT_FALSE(t.sensor_well_mask(3, 193, 50)) << "outside the table reads as no well";
}

TEST(RunPreparation, AFullWellLeavesFourLinesFreeAtEitherRim)
{
    RunTables t;
    ASSERT_TRUE(PrepareAcquisition(OneCellPerCamera(0, 100, 0, 100), settings(2), t).ok());
    auto lineHasWell = [&](int x) {
        for (int p = 1; p <= 101 * 101; ++p)
            if (t.pixel_column_offset(0, 0, p) == x && t.pixel_in_well(0, 0, p)) return true;
        return false;
    };
    for (int x : {0, 1, 2, 3, 97, 98, 99, 100}) EXPECT_FALSE(lineHasWell(x)) << x;
    for (int x : {4, 50, 96}) EXPECT_TRUE(lineHasWell(x)) << x;
    EXPECT_EQ(t.sensor_cell_index(0, 50, 50), 0);
}

TEST(RunPreparation, OnlyWholeAndHalfRowCoversShapeAWell)
{
    struct Case {
        int rowIni, rowEnd;
        bool wells;
    };
    const Case cases[] = {{0, 100, true}, {0, 50, true}, {50, 100, true}, {0, 30, false}, {25, 75, false}};
    for (const Case& c : cases) {
        RunTables t;
        const PreparationResult r = PrepareAcquisition(OneCellPerCamera(0, 100, 0, 100, 0, 100, c.rowIni, c.rowEnd),
                                                       settings(2), t);
        EXPECT_EQ(r.ok(), c.wells) << c.rowIni << " to " << c.rowEnd;
        if (!c.wells) {
            EXPECT_EQ(r.result, -1);
            EXPECT_EQ(r.message, kConfigurationError) << "a plate whose cells all miss their wells";
            EXPECT_GT(t.pixel_slots(), 0) << "the tables stay sized";
        }
    }
}

TEST(RunPreparation, ScanTablesHoldTenScansAMinuteNotYetMeasured)
{
    DefaultPlate plate("w6");
    RunTables t;
    ASSERT_TRUE(PrepareAcquisition(plate.geometry, settings(1, 20, 30), t).ok());
    EXPECT_EQ(t.scans, 300);
    EXPECT_EQ(t.scan_slots(), 301);
    for (long scan : {0L, 150L, 300L}) {
        EXPECT_EQ(t.well_scan_activity(0, scan), -1.0);
        EXPECT_EQ(t.well_scan_activity(95, scan), -1.0);
        EXPECT_EQ(t.well_scan_activity(96, scan), 0.0);
        EXPECT_EQ(t.scan_temperature(scan), 0.0);
    }
    // A run that outlasts its tables grows them instead of writing past the end.
    t.well_scan_activity_ref(4, 305) = 2.0;
    EXPECT_EQ(t.scan_slots(), 306);
    EXPECT_EQ(t.well_scan_activity(4, 305), 2.0);
    EXPECT_EQ(t.well_scan_activity(4, 303), -1.0);
    // The longest acquisition time the box takes.
    ASSERT_TRUE(PrepareAcquisition(plate.geometry, settings(1, 20, 32000), t).ok());
    EXPECT_EQ(t.scan_slots(), 320001);
    EXPECT_EQ(t.well_scan_activity(7, 320000), -1.0);
    EXPECT_EQ(t.well_scan_seconds(7, 320000), 0);
    EXPECT_EQ(ScanCount(2.25), 22) << "halves to even";
    EXPECT_EQ(ScanCount(2.75), 28);
    EXPECT_EQ(ScanCount(-5), 0);
    EXPECT_EQ(ScanCount(1e9), 320000);
}

TEST(SpeedForWidth, EachGenerationSwitchesSpeedAtItsOwnWidths)
{
    struct Case {
        int width, generation, speed, factor;
    };
    const Case cases[] = {
        {50, 2, 1, 7},  {51, 2, 2, 6},  {65, 2, 2, 6},  {66, 2, 3, 5},  {90, 2, 3, 5},  {91, 2, 4, 4},
        {114, 2, 4, 4}, {115, 2, 5, 3}, {133, 2, 5, 3}, {134, 2, 6, 2}, {151, 2, 6, 2}, {152, 2, 7, 1},
        {170, 2, 7, 1}, {171, 2, 8, 1}, {50, 1, 1, 7},  {51, 1, 2, 6},  {65, 1, 2, 6},  {66, 1, 3, 5},
        {100, 1, 3, 5}, {101, 1, 4, 4}, {120, 1, 4, 4}, {121, 1, 5, 3}, {140, 1, 5, 3}, {141, 1, 6, 2},
        {160, 1, 6, 2}, {161, 1, 7, 1}, {0, 1, 1, 7},   {183, 3, 8, 1},
    };
    for (const Case& c : cases) {
        const CameraSpeed s = SpeedForWidth(c.width, c.generation);
        EXPECT_EQ(s.speed, c.speed) << "W " << c.width << " generation " << c.generation;
        EXPECT_EQ(s.factor, c.factor) << "W " << c.width << " generation " << c.generation;
    }
}

// Camera 0 with n column bands of 20 lines side by side, each cell a whole well.
void columnBands(RunGeometry& g, int n)
{
    g.column_bands.last[0] = g.column_bands.first[0] + n - 1;
    for (int s = 0; s < n && s < plate::ColumnBands::kBands; ++s) {
        g.column_bands.start[0][size_t(s)] = 20 * s;
        g.column_bands.end[0][size_t(s)] = 20 * s + 20;
        if (s < plate::kLocalColumns) g.well_table.at(0, s, 0) = g.well_table.at(0, 0, 0);
    }
}

TEST(RunPreparation, ABadGeometryIsRefusedWithWhatIsWrong)
{
    struct Case {
        const char* what;
        std::function<void(RunGeometry&)> spoil;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"equal column percentages", [](RunGeometry& g) { g.well_table.at(2, 0, 0).col_end = 0; },
         "the cell of camera 2, column slot 0, row slot 0 has column percentages 0 to 0"},
        {"equal row percentages", [](RunGeometry& g) { g.well_table.at(0, 0, 0).row_ini = 100; },
         "the cell of camera 0, column slot 0, row slot 0 has row percentages 100 to 100"},
        {"reversed percentages", [](RunGeometry& g) { g.well_table.at(1, 0, 0).col_ini = 100, g.well_table.at(1, 0, 0).col_end = 0; },
         "column percentages 100 to 0"},
        {"percent above 100", [](RunGeometry& g) { g.well_table.at(1, 0, 0).row_end = 101; }, "row percentages 0 to 101"},
        {"a cell no layout line names", [](RunGeometry& g) { g.well_table.at(4, 0, 0) = {}; },
         "column percentages 0 to 0 (no plate layout line names it)"},
        {"eight column bands", [](RunGeometry& g) { columnBands(g, 8); }, ""},
        {"nine column bands", [](RunGeometry& g) { columnBands(g, 9); },
         "camera 0 has 9 column bands; the plate table holds 8"},
        {"nine row bands", [](RunGeometry& g) { g.row_bands.last[5] = 8; }, "camera 5 has 9 row bands"},
        {"no column bands", [](RunGeometry& g) { g.column_bands.first[3] = g.column_bands.last[3] = -1; },
         "camera 3 has no column bands"},
        {"column end on the last sensor line", [](RunGeometry& g) { g.column_bands.end[0][0] = 192; }, ""},
        {"column end past the sensor", [](RunGeometry& g) { g.column_bands.end[0][0] = 193; },
         "camera 0, column band 0 (0 to 193) lies outside the sensor (0 to 192)"},
        {"row end on the last mirrored pixel", [](RunGeometry& g) { g.row_bands.end[1][0] = 183; }, ""},
        {"row end past the mirrored sensor", [](RunGeometry& g) { g.row_bands.end[1][0] = 184; },
         "camera 1, row band 0 (0 to 184) lies outside the sensor (0 to 183)"},
        {"negative start", [](RunGeometry& g) { g.row_bands.start[1][0] = -1; }, "lies outside the sensor"},
        {"band ending before its start", [](RunGeometry& g) { g.column_bands.start[2][0] = 90; g.column_bands.end[2][0] = 80; },
         "camera 2, column band 2 (90 to 80) ends before it starts"},
        {"well number 96", [](RunGeometry& g) { g.well_table.at(0, 0, 0).dataindex = 96; }, ""},
        {"well number 97", [](RunGeometry& g) { g.well_table.at(0, 0, 0).dataindex = 97; },
         "names well number 97, outside 0 to 96"},
        {"well number -1", [](RunGeometry& g) { g.well_table.at(0, 0, 0).dataindex = -1; }, "names well number -1"},
        // (192 + 2) x (166 + 2) = 32592 pixels fit, one row more (194 x 169 = 32786) does not.
        {"largest window", [](RunGeometry& g) { g.column_bands.end[0][0] = 192, g.row_bands.end[0][0] = 166; }, ""},
        {"window past 16 bits", [](RunGeometry& g) { g.column_bands.end[0][0] = 192, g.row_bands.end[0][0] = 167; },
         "window 0 of camera 0 needs 32786 pixels; at most 32767"},
    };
    for (const Case& c : cases) {
        RunGeometry g = OneCellPerCamera(0, 100, 0, 100);
        c.spoil(g);
        RunTables t;
        ASSERT_TRUE(PrepareAcquisition(OneCellPerCamera(0, 100, 0, 100), settings(2), t).ok());
        const PreparationResult r = PrepareAcquisition(g, settings(2), t);
        if (std::string(c.message).empty()) {
            EXPECT_TRUE(r.ok()) << c.what << ": " << r.message;
            continue;
        }
        EXPECT_EQ(r.result, -1) << c.what;
        EXPECT_EQ(r.message.rfind(std::string(kConfigurationError) + ": ", 0), 0u) << c.what << ": " << r.message;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.what << ": " << r.message;
        EXPECT_EQ(t.pixel_slots(), 0) << c.what << ": the old run's tables are not left to pass for this one";
        EXPECT_EQ(t.pixel_well(0, 0, 1), -1);
        EXPECT_EQ(t.scan_slots(), 0);
    }
}

}  // namespace
}  // namespace tirmo::acquisition
