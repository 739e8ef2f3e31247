// The report's numbers at their bounds: spike filter, blank and factors, time bins and groups,
// and what the two layouts leave out.
#include <gtest/gtest.h>

#include "platform/Convert.h"
#include "reports/ReportEngine.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {
namespace {

// A w6 data set: scans every interval seconds, every well read at its scan's time; wells not
// given count 0.
AcquisitionData W6(const std::vector<std::vector<double>>& activity, long interval = 60)
{
    AcquisitionData d;
    d.plate_format = "w6";
    d.Resize(int(activity.empty() ? 0 : activity[0].size()) - 1);
    for (int t = 0; t <= d.scan_counter; ++t) {
        d.record_seconds[size_t(t)] = interval * t;
        d.record_temperature[size_t(t)] = 20 + t;
        for (int w = 0; w < 6; ++w) d.well_seconds[size_t(w)][size_t(t)] = interval * t;
    }
    for (size_t w = 0; w < 6; ++w)
        d.well_activity[w] = w < activity.size() ? activity[w] : std::vector<double>(size_t(d.scans()), 0.0);
    return d;
}

TEST(SpikeFilter, ReplacesOnlyValuesAboveTenAndAboveFiveTimesTheNeighbours)
{
    struct Case {
        std::vector<double> in, out;
    };
    const Case cases[] = {
        {{1, 10, 1}, {1, 10, 1}},             // 10 is not above 10
        {{1, 11, 1}, {1, 1, 1}},              // 11 > 10 and > 5 x 2: half the neighbours' sum
        {{2, 15, 1}, {2, 15, 1}},             // exactly 5 x the sum stays
        {{2, 16, 1}, {2, 1.5, 1}},            // just above
        {{40, 2, 3, 9}, {2.5, 2, 3, 9}},      // the first scan looks at scans 1 and 2
        {{9, 2, 3, 40}, {9, 2, 3, 2.5}},      // the last at the two before it
        {{1, 100, 100, 1}, {1, 100, 100, 1}}, // neighbours of a spike: no spike
        {{0, 60, 0, 60, 0}, {0, 0, 0, 0, 0}}, // a replaced value counts in the next comparison
        {{-1, 60, 1}, {-1, 60, 1}},           // beside a not-measured scan nothing is judged
        {{1, -1, 1}, {1, -1, 1}},             // a not-measured value stays
    };
    for (const Case& c : cases) {
        const WellTable out = FilterSpikes(W6({c.in}));
        EXPECT_EQ(out[0], c.out) << ::testing::PrintToString(c.in);
    }
    // Fewer than three scans: nothing to compare with.
    EXPECT_EQ(FilterSpikes(W6({{1, 100}}))[0], (std::vector<double>{1, 100}));
}

TEST(SpikeFilter, LeavesTheDataSetAsItWas)
{
    const AcquisitionData d = W6({{1, 100, 1}});
    FilterSpikes(d);
    EXPECT_EQ(d.well_activity[0], (std::vector<double>{1, 100, 1}));
}

TEST(Corrections, TheBlankOfAScanIsTheBlankRateTimesThatScansDuration)
{
    // Scans 0, 120, 240, 360 s; the blank counted 60 in 30 minutes: 2 a minute, 4 a scan.
    AcquisitionData d = W6({{10, 10, 10, 10}}, 120);
    Corrections c;
    c.blank_values[0] = 60;
    c.blank_lapse = 30;
    ReportOptions o;
    o.blank = true;
    o.intref = InternalReference::No;
    EXPECT_EQ(CorrectActivity(d, ActivityTable(d), c, o).values[0], (std::vector<double>{6, 6, 6, 6}))
        << "every scan loses its own blank, not the blank since the run began";

    EXPECT_EQ(ScanDuration(d, 0), 120);
    EXPECT_EQ(ScanDuration(d, 3), 120) << "the last scan lasts as long as the one before";
    const AcquisitionData lone = [] {
        AcquisitionData one = W6({{5}});
        one.record_seconds[0] = 42;
        return one;
    }();
    EXPECT_EQ(ScanDuration(lone, 0), 42);
}

TEST(Corrections, BlankAndFactorsApplyOnlyWhenChosenAndNeverGoBelowZero)
{
    struct Case {
        bool blank;
        int lapse;
        InternalReference intref;
        std::vector<double> out;
        bool factorCorrected;
    };
    // Counts 10, 1, -1 (not measured) over 60-second scans; a blank of 90 counts (3 a minute
    // over 30 minutes); factor 2.
    const Case cases[] = {
        {false, 30, InternalReference::No, {10, 1, -1}, false},
        {true, 30, InternalReference::No, {7, 0, -1}, false},      // 1 - 3 shows 0
        {true, 0, InternalReference::No, {10, 1, -1}, false},      // a blank of 0 minutes is none
        {true, 1, InternalReference::No, {0, 0, -1}, false},       // the last valid lapse: 90 a minute
        {true, 30, InternalReference::Apply, {14, 0, -1}, true},   // (10 - 3) x 2
        {false, 30, InternalReference::Update, {20, 2, -1}, true},
    };
    for (const Case& c : cases) {
        const AcquisitionData d = W6({{10, 1, -1}});
        Corrections k;
        k.blank_values[0] = 90;
        k.blank_lapse = c.lapse;
        k.well_factor[0] = 2;
        ReportOptions o;
        o.blank = c.blank;
        o.intref = c.intref;
        const Corrected out = CorrectActivity(d, ActivityTable(d), k, o);
        EXPECT_EQ(out.values[0], c.out) << c.blank << c.lapse << int(c.intref);
        EXPECT_EQ(out.factorCorrected, c.factorCorrected);
    }
}

TEST(TimeBins, TheBinIsHeldBetweenTenMinutesAndTheRunRoundedDownToFive)
{
    struct Case {
        int minutes;  // run length (scans every minute)
        const char* bin;
        const char* text;  // the bin box afterwards
        size_t columns;
        const char* lastHead;
    };
    const Case cases[] = {
        {60, "15", "15", 4, "60.0"},
        {60, "9", "10", 6, "60.0"},       // below 10 becomes 10
        {60, "10", "10", 6, "60.0"},      // the last valid small bin
        {60, "60", "60", 1, "60.0"},      // the whole run
        {64, "60", "60", 1, "60.0"},      // the last bin not reduced: 64 rounds down to 60
        {64, "61", "64", 1, "60.0"},      // reduced to 60; the box shows the run's minutes
        {12, "60", "12", 1, "10.0"},      // reduced to 10
        {7, "60", "10", 0, nullptr},      // reduced to 5, then to 10: no whole bin
        {60, "abc", "abc", 0, nullptr},   // no number: no well data
        {60, "0", "0", 0, nullptr},
    };
    for (const Case& c : cases) {
        std::vector<double> ones(size_t(c.minutes + 1), 1.0);
        const AcquisitionData d = W6({ones});
        const ReportColumns cols = BinColumns(d, ActivityTable(d), c.bin, ".");
        EXPECT_EQ(cols.bin_text, c.text) << c.minutes << " " << c.bin;
        EXPECT_EQ(cols.heads.size(), c.columns) << c.minutes << " " << c.bin;
        if (c.lastHead && !cols.heads.empty()) {
            EXPECT_EQ(cols.heads.back(), c.lastHead);
        }
        EXPECT_EQ(cols.activity, c.lastHead != nullptr || std::string(c.bin) == "60");
    }
}

TEST(TimeBins, EachMinuteTakesTheNearestScanAndABinSumsItsMinutes)
{
    // Scan k counts k, so a minute's value names the scan it took; 30 minutes in bins of 10.
    const std::pair<long, std::vector<double>> cases[] = {
        {20, {165, 465, 765}},  // minute m takes scan 3m: the minutes keep up with the scans
        {60, {55, 155, 255}},   // minute m takes scan m
        // Midpoints at 0.75, 2.25, 3.75 .. minutes count as 1, 2, 4, 5 ..: minutes 1-10 take
        // scans 1 2 2 3 4 4 5 6 6 7.
        {90, {40, 107, 173}},
    };
    for (const auto& [interval, bins] : cases) {
        std::vector<double> a(size_t(1800 / interval + 1));
        for (size_t k = 0; k < a.size(); ++k) a[k] = double(k);
        const AcquisitionData d = W6({a}, interval);
        EXPECT_EQ(BinColumns(d, ActivityTable(d), "10", ".").values[0], bins) << interval;
    }
}

TEST(TimeBins, MoreBinsThanScans)
{
    // Four scans 20 minutes apart make six bins of 10 minutes.
    const AcquisitionData d = W6({{1, 2, 3, 4}}, 1200);
    const ReportColumns cols = BinColumns(d, ActivityTable(d), "10", ".");
    ASSERT_EQ(cols.heads.size(), 6u);
    // Minutes 1-9 take scan 0; minute 10, the midpoint, already the next scan; and so on.
    EXPECT_EQ(cols.values[0], (std::vector<double>{9 + 2, 20, 18 + 3, 30, 27 + 4, 40}));
}

TEST(TimeBins, TheValidLengthEndsAtTheFirstScanWithAWellNotMeasured)
{
    // 40 one-minute scans; B1 is not measured from scan 25 on.
    std::vector<double> ones(41, 1.0), cut(41, 1.0);
    for (size_t t = 25; t < cut.size(); ++t) cut[t] = -1;
    const AcquisitionData d = W6({ones, cut});
    const ReportColumns cols = BinColumns(d, ActivityTable(d), "10", ".");
    EXPECT_EQ(cols.heads.size(), 2u) << "25 valid minutes hold two bins of 10";
    EXPECT_EQ(cols.values[0], (std::vector<double>{10, 10}));
    EXPECT_EQ(cols.values[1], (std::vector<double>{10, 10}));
    // In scan mode the not-measured values stay as they are.
    const ReportColumns scans = ScanColumns(d, ActivityTable(d), ".");
    EXPECT_EQ(scans.values[1][30], -1);
}

TEST(TimeBins, AMinuteNeverMovesOntoAScanWhereTheWellHasNoReading)
{
    // 40 minutes of scans; B1 lacks the last, unfinished one (its time 0 or the scan's): minute 40 keeps B1's last.
    for (const auto& [interval, timeKept] : {std::pair{60L, false}, {60L, true}, {20L, false}, {20L, true}}) {
        const size_t scans = size_t(2400 / interval + 1);
        std::vector<double> ones(scans, 1.0), cut(scans, 1.0);
        cut.back() = -1;
        AcquisitionData d = W6({ones, cut}, interval);
        if (!timeKept) d.well_seconds[1].back() = 0;
        const ReportColumns cols = BinColumns(d, ActivityTable(d), "10", ".");
        ASSERT_EQ(cols.heads.size(), 4u);
        EXPECT_EQ(cols.values[1], (std::vector<double>{10, 10, 10, 10})) << interval << " " << timeKept;
    }
}

std::string Report(const AcquisitionData& d, ReportLayout layout, const std::string& bin = kScanTime)
{
    ReportOptions o;
    o.layout = layout;
    o.bin_text = bin;
    o.intref = InternalReference::No;
    return BuildReport(d, ReportInputs{}, o).bytes;
}

TEST(Layouts, GroupsStatisticsAndWellsWithoutGroup)
{
    AcquisitionData d = W6({{4, 8}, {6, 2}, {5, 5}});
    d.groups.well_group[0] = 3;  // A1 and B1 in group 3, A2 alone in group 7
    d.groups.well_group[1] = 3;
    d.groups.group_names[3] = "Pair";
    d.groups.well_group[2] = 7;
    d.groups.group_names[7] = "Single";
    const std::string t = Report(d, ReportLayout::Rows);
    EXPECT_NE(t.find("\"003_Pair\",5,5\r\n"), std::string::npos) << t;
    EXPECT_NE(t.find("\"003_Pair\",1.0,3.0\r\n"), std::string::npos) << "sd/sqrt(n) of (4,6) and (8,2)";
    EXPECT_NE(t.find("\"007_Single\",0,0\r\n"), std::string::npos) << "one well: standard error 0";
    EXPECT_NE(t.find("\"003_Pair\",2,2\r\n"), std::string::npos);
    EXPECT_NE(t.find("\"B2\",\"-\",0,0\r"), std::string::npos) << "a well without group still lists its values";
    EXPECT_LT(t.find("\"007_Single\""), t.find("******STANDARD ERROR******"));
    EXPECT_LT(t.find("\"003_Pair\""), t.find("\"007_Single\"")) << "ascending group numbers";
}

TEST(Layouts, WhatEachLayoutLeavesOut)
{
    const AcquisitionData d = W6({{1, 2, 3}});
    const std::string table = Report(d, ReportLayout::Rows);
    EXPECT_EQ(table.find("GROUP_Average"), std::string::npos) << "no groups, no group blocks";
    EXPECT_NE(table.find("Time[m],0.0,1.0,2.0\r\nTemperature[\xB0" "C],20.0,21.0,22.0\r\n"), std::string::npos);
    const std::string plate = Report(d, ReportLayout::Array);
    EXPECT_NE(plate.find("Time[m],1.0,2.0\r\nTemperature[\xB0" "C],21.0,22.0\r\n"), std::string::npos)
        << "the plate layout skips scans at 0 seconds";
    EXPECT_NE(plate.find("0.0m\r\n\"ROW/COL\",1,2,3\r\n\"A\",1,0,0\r\n"), std::string::npos);

    const std::string noBins = Report(d, ReportLayout::Rows, "none");
    EXPECT_EQ(noBins.find("WELL ACTIVITY"), std::string::npos);
    EXPECT_NE(noBins.find("***TEMPERATURE***"), std::string::npos);
    EXPECT_EQ(Report(d, ReportLayout::Array, "none").find("WELL ACTIVITY"), std::string::npos);

    AcquisitionData odd = d;
    odd.plate_format = "x7";
    const std::string empty = Report(odd, ReportLayout::Rows);
    EXPECT_NE(empty.find("\"Well\",\"Group/Time[m]\",0.0,1.0,2.0\r\r\r\n"), std::string::npos)
        << "an unknown format has no well lines";
}

TEST(ReportNumbers, AgreeWithTheProgramsFormatAndReadEitherDecimal)
{
    for (double v = -30.0; v <= 30.0; v += 0.0125) {
        ASSERT_EQ(FixedText(v, 0, "."), platform::Format(v, "0")) << v;
        ASSERT_EQ(FixedText(v, 1, "."), platform::Format(v, "0.0")) << v;
    }
    EXPECT_EQ(FixedText(12.25, 1, ","), "12,3");
    EXPECT_EQ(FixedText(-0.04, 1, "."), "0.0");
}

TEST(ReportNumbers, ReadTheLeadingNumberToItsLastCharacterAsTypedBoxesAre)
{
    const std::string ones(40, '1'), zeros(39, '0');
    struct Case {
        std::string text;
        double value;
        size_t used;
    };
    const Case cases[] = {
        {"12,5 \"A1\"", 12.5, 4},
        {" -3.5e1x", -35, 7},
        {"x1", 0, 0},
        {"5e3", 5000, 3},  // the exponent ends the text
        {"5E+3", 5000, 4},
        {"5e", 5, 1},  // an exponent mark with nothing after it is no exponent
        {"5e-", 5, 1},
        {"1" + zeros, 1e39, 40},  // forty digits, and one more
        {"1" + zeros + "0", 1e40, 41},
        {"1" + zeros + "00e-1 7", 1e40, 45},
        {ones + ".5", 1.1111111111111111e39, 42},
        {"0." + zeros + "0" + ones, 1.1111111111111111e-41, 82},
        {"-" + zeros + "2,5", -2.5, 43},
    };
    for (const Case& c : cases) {
        size_t used = 99;
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text, &used), c.value) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
        EXPECT_DOUBLE_EQ(platform::Val(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace tirmo::reports
