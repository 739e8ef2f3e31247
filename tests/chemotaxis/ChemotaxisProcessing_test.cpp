// The processing of a recorded w6 acquisition: frames, side sums, report, and how it ends when
// stopped or when a file is damaged.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "chemotaxis/ChemotaxisProcessing.h"
#include "support/TempFolder.h"

namespace tirmo::chemotaxis {
namespace {

namespace fs = std::filesystem;

// One scan of A1: 4 rows of 5 fields behind one masked field. The activity lies in the upper
// half only: 300 at the top left, 100 beside it, 40000 (past 16 bits) in the last field of the
// middle row; one pixel of the bottom row is outside the mask.
std::string A1Scan(int scan, const char* minutes, const char* last_row = "A1,13,-,-,0,0,0,0")
{
    return "scan," + std::to_string(scan) + "\r\ntime[m],\"" + minutes +
           "\"\r\nA1,10,-,0,0,0,0,300\r\nA1,11,-,0,0,0,100,0\r\nA1,12,-,0,0,0,0,40000\r\n" + last_row + "\r\n\r\n";
}

// A1's file ends after scan 2; B1's lacks the scans 1 and 2 and holds scan 3.
const std::string kA1File = A1Scan(0, "0,0") + A1Scan(1, "0.5") + A1Scan(2, "1.0");
const std::string kB1File = "scan,0\r\ntime[m],\"0.0\"\r\nB1,3,5,0\r\nB1,4,0,0\r\n\r\n"
                            "scan,3\r\ntime[m],\"1.5\"\r\nB1,3,5,0\r\nB1,4,0,0\r\n\r\n";

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Whether an index chart of scans 0..last is black at (step, index): its series passes there.
bool OnSeries(const QImage& chart, int last, double step, double index)
{
    const int x = int(std::floor((step + 0.2 * last) / (1.24 * last) * chart.width() + 0.5));
    const int y = int(std::floor((1.4 - index) / 2.8 * chart.height() + 0.5));
    return (chart.pixel(x, y) & 0xFFFFFF) == 0;
}

class ChemotaxisProcessingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        write("wellactivity00.csv", kA1File);
        write("wellactivity10.csv", kB1File);
        write("chgroup.dat", "#Well, Group, name\r\n0,1,\"Attract\"\r\n1,2,\"Ctrl\"\r\n6,3,\"Beyond\"\r\n");
        settings.folder = dir.path();
        settings.format = "w6";
        settings.kind = IndexKind::YTop;
        view.message = [this](const std::string& m) { messages.push_back(m); };
    }
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.path() + "/" + name, std::ios::binary) << text;
    }
    std::string image(const std::string& name) const { return dir.path() + "/1scans_images/" + name; }
    std::vector<std::string> reports() const
    {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path().filename().string().find("_report") != std::string::npos) found.push_back(e.path().string());
        return found;
    }

    test::TempFolder dir;
    ProcessSettings settings;
    ProcessView view;
    std::vector<std::string> messages;
};

TEST_F(ChemotaxisProcessingTest, EveryScanBecomesAFrameAndTheReportHoldsTheIndex)
{
    QImage live;  // A1's chart as its scan 1 is shown
    view.frame_done = [&](const QImage&, const QImage& chart, int next) { if (next == 2) live = chart; };
    const ProcessResult result = ProcessAcquisition(settings, view);

    ASSERT_EQ(result.end, ProcessResult::End::Done);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(result.frames, 3 + 2);
    EXPECT_FALSE(fs::exists(image("A1_0003.bmp")));
    EXPECT_TRUE(fs::exists(image("B1_0003.bmp"))) << "a file cut short does not cut the others";
    struct Cell {
        int x, y;
        QRgb colour;
    };
    const QImage frame(QString::fromStdString(image("A1_0002.bmp")));
    ASSERT_EQ(frame.size(), QSize(200, 200));
    const QRgb white = qRgb(255, 255, 255), red = qRgb(255, 0, 0);
    for (const Cell c : {Cell{25, 20, red}, Cell{75, 60, qRgb(100, 0, 0)}, Cell{175, 180, qRgb(200, 200, 200)},
                         Cell{25, 180, white}, Cell{100, 150, red}, Cell{30, 100, red}, Cell{99, 150, white},
                         Cell{30, 101, white}})
        EXPECT_EQ(frame.pixel(c.x, c.y) & 0xFFFFFF, c.colour & 0xFFFFFF) << c.x << "," << c.y;
    for (const char* chart : {"CI_XR_a1.bmp", "CI_XL_a1.bmp", "CI_YT_a1.bmp", "CI_YB_b3.bmp", "CI_QL_a3.bmp", "CI_QR_b2.bmp"})
        EXPECT_TRUE(fs::exists(image(chart))) << chart;
    // A1's top index is 1 in its scans 0 to 2 and it has no scan 3: a step from each scan to the next it has.
    const QImage saved(QString::fromStdString(image("CI_YT_a1.bmp")));
    const struct { const QImage& chart; int step; bool drawn; } steps[] = {
        {live, 1, true}, {live, 2, false}, {saved, 1, true}, {saved, 2, true}, {saved, 3, false}};
    for (const auto& c : steps)
        EXPECT_EQ(OnSeries(c.chart, 3, c.step - 0.5, 1.0), c.drawn) << (&c.chart == &live ? "live " : "saved ") << c.step;

    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(result.report, reports()[0]);
    EXPECT_EQ(Slurp(result.report).find("Beyond"), std::string::npos);
}

// A scan or a well no file holds has no value (and a scan no file holds no column); a scan takes its time from the first file holding it.
TEST_F(ChemotaxisProcessingTest, TheReportGivesNoValueWhereNoFileHoldsOne)
{
    std::string renamed = kA1File;  // rows of a well the plate lacks
    for (size_t at; (at = renamed.find("A1,")) != std::string::npos;) renamed.replace(at, 2, "Z9");
    const std::string from00 = "\"0.0\",\"0.5\",\"1.0\",\"1.5\"", from10 = "\"0.0\",\"1.5\"";
    const struct { const char* what; std::string a1_file, times, a1, top; } cases[] = {  // a1_file "-": none
        {"whole files", kA1File, from00, "1.0,1.0,1.0,", "400,0,,400,0,,400,0,,,,"},
        {"no A1 file", "-", from10, ",", ",,,,,"},
        {"an empty A1 file", "", from10, ",", ",,,,,"},
        {"rows of a well the plate lacks", renamed, from00, ",,,", ",,,,,,,,,,,"},
    };
    for (const auto& c : cases) {
        fs::remove(dir.path() + "/wellactivity00.csv");
        if (c.a1_file != "-") write("wellactivity00.csv", c.a1_file);
        const ProcessResult result = ProcessAcquisition(settings, view);
        ASSERT_EQ(result.end, ProcessResult::End::Done) << c.what;
        const std::string report = Slurp(result.report);
        for (const std::string& row : {"\"Well\",\"Group/Time[m]\"," + c.times, "\"A1_CiYtop\",\"001_Attract\"," + c.a1,
                                       "\"B1_CiYtop\",\"002_Ctrl\",-1.0," + std::string(c.times == from10 ? "" : ",,") + "-1.0", "\"A1_top\"," + c.top})
            EXPECT_NE(report.find(row + "\r\n"), std::string::npos) << c.what << ": " << row;
        fs::remove(result.report);
    }
}

TEST_F(ChemotaxisProcessingTest, AStoppedOrFailedRunLeavesWholeFramesAndNoReport)
{
    struct Case {
        const char* what;
        std::string a1_file;
        int stop_after;  // frames before the stop; -1 never
        ProcessResult::End end;
        std::vector<std::string> messages;
        int frames;
        std::string b1_file = kB1File;
        std::string status = "";  // part of it: the damaged file and line
    };
    const std::string b1 = "scan,0\r\ntime[m],\"0.0\"\r\nB1,3,5,0\r\n\r\n";
    const ProcessResult::End failed = ProcessResult::End::Failed;
    const Case cases[] = {
        {"stopped after the second frame", kA1File, 2, ProcessResult::End::Stopped, {}, 2},
        {"damaged second scan", A1Scan(0, "0.0") + A1Scan(1, "0.5", "A1,13,-,x") + A1Scan(2, "1.0"), -1, failed,
         {"File error c0b0.csv"}, 0, kB1File, "wellactivity00.csv, line 13"},
        {"no scan in any file", "", -1, failed, {kErrorFile}, 0, ""},
        // Refused before the first frame, whichever file holds what no run writes.
        {"a count past the most a run writes", kA1File, -1, failed, {"File error c1b0.csv"}, 0,
         b1 + "scan,1\r\ntime[m],\"0.5\"\r\nB1,3,1048838904,0\r\n\r\n", "wellactivity10.csv, line 7"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir.path() + "/1scans_images");
        messages.clear();
        write("wellactivity00.csv", c.a1_file);
        write("wellactivity10.csv", c.b1_file);
        int shown = 0;
        view.frame_done = [&](const QImage&, const QImage&, int) { ++shown; };
        view.running = [&] { return c.stop_after < 0 || shown < c.stop_after; };
        std::string status;
        view.status = [&](const std::string& text) { status = text; };

        const ProcessResult result = ProcessAcquisition(settings, view);

        EXPECT_EQ(result.end, c.end) << c.what;
        EXPECT_EQ(messages, c.messages) << c.what;
        EXPECT_NE(status.find(c.status), std::string::npos) << c.what << ": " << status;
        EXPECT_EQ(result.frames, c.frames) << c.what;
        EXPECT_TRUE(reports().empty()) << c.what;
        for (int s = 0; s < c.frames; ++s) {
            const std::string name = "A1_000" + std::to_string(s) + ".bmp";
            EXPECT_FALSE(QImage(QString::fromStdString(image(name))).isNull()) << c.what << " " << name;
        }
        EXPECT_FALSE(fs::exists(image("A1_000" + std::to_string(c.frames) + ".bmp"))) << c.what;
    }
}

TEST(ChemotaxisBlockTest, GeometryAndWellNames)
{
    using Line = reports::PixelActivityLine;
    const Line rows[] = {{"A1", 1, {-1, -1, -1}}, {"A1", 2, {-1, 0, 5, -1}}, {"A1", 3, {-1, -1, 0, 0, 7}}};
    const BlockGeometry g = MeasureBlock({&rows[0], &rows[1], &rows[2]});
    EXPECT_EQ((std::array<int, 4>{g.width, g.height, g.first_row, g.lead}), (std::array<int, 4>{4, 2, 1, 1}));

    struct Case {
        const char* name;
        int rows, wells, index;
    };
    for (const Case c : {Case{"A1", 2, 6, 0}, Case{"B2", 2, 6, 3}, Case{"B3", 2, 6, 5}, Case{"A4", 2, 6, -1},
                         Case{"C1", 2, 6, -1}, Case{"D6", 4, 24, 23}, Case{"A", 2, 6, -1}, Case{"A1x", 2, 6, -1},
                         Case{"P24", 16, 384, 383}, Case{"AA", 16, 384, -1}})  // "A" read as a digit: column 17
        EXPECT_EQ(WellIndexOf(c.name, c.rows, c.wells), c.index) << c.name;
}

}  // namespace
}  // namespace tirmo::chemotaxis
