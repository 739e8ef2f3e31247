#include <gtest/gtest.h>

#include <QAction>
#include <QImageReader>
#include <QListWidget>
#include <QScrollBar>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/HeatMapAreaFile.h"
#include "reports/HeatMapControls.h"
#include "reports/HeatMapPicture.h"
#include "reports/PixelActivityFile.h"
#include "app/Frrm_offline.h"
#include "chemotaxis/ChemotaxisProcessing.h"
#include "chemotaxis/Frm_bmpexport.h"
#include "support/FileSizeLimit.h"
#include "reports/RecordingBrowser.h"
#include "support/AppFixture.h"
#include "support/FakeClock.h"
#include "support/W6Recording.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/Colour.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

namespace tirmo::reports {
namespace {

using ui::RGB;

// A w6 recording of three scans. A1 (camera 0) spans the rows 4 to 6, four pixels from the
// row's first field, seven of them in the well; B1 (camera 1) one row of two pixels, its file
// ending in a block a killed run cut. The other wells have no file.
//   A1 active points (y, x) = count: scan 0 (0,2)=1 (1,1)=2 (1,3)=3 (2,2)=5; scan 1 (1,1)=40000;
//   scan 2 (2,2)=1.
const char* const kA1Rows[3] = {"A1,4,-,0,1,-\r\nA1,5,0,2,0,3\r\nZ9,5,8,8\r\nA1,6,-,-,5,-\r\n",
                                "A1,4,-,0,0,-\r\nA1,5,0,40000,0,0\r\nA1,6,-,-,0,-\r\n",
                                "A1,4,-,0,0,-\r\nA1,5,0,0,0,0\r\nA1,6,-,-,1,-\r\n"};
const char* const kTimes[3] = {"0,5", "1.5", "2.5"};

std::string block(int scan, const std::string& rows)
{
    return "scan," + std::to_string(scan) + "\r\ntime[m],\"" + kTimes[scan] + "\"\r\n" + rows + "\r\n";
}

// Writes the recording's pixel files into folder.
void WritePixelFiles(const std::string& folder)
{
    std::string a1, b1;
    for (int s = 0; s < 3; ++s) {
        a1 += block(s, kA1Rows[s]);
        b1 += block(s, s == 0 ? "B1,9,0,7\r\n" : "B1,9,0,0\r\n");
    }
    std::ofstream(folder + "/" + PixelActivityFileName(0, 0), std::ios::binary) << a1;
    std::ofstream(folder + "/" + PixelActivityFileName(1, 0), std::ios::binary)
        << b1 << "scan,3\r\ntime[m],\"3.5\"\r\nB1,9,4";
}

class HeatMapTest : public ::testing::Test {
protected:
    void SetUp() override { WritePixelFiles(folder.path()); }
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(folder.path() + "/" + name, std::ios::binary) << text;
    }
    HeatMapStore load()
    {
        std::atomic<bool> stop{false};
        HeatMapLoad l = LoadHeatMap(folder.path(), "w6", stop);
        EXPECT_EQ(l.outcome, HeatMapOutcome::Loaded) << l.message;
        return std::move(l.store);
    }
    test::TempFolder folder;
};

TEST_F(HeatMapTest, TheLoaderKeepsEachWellsDiscActivePixelsAndWideSums)
{
    const HeatMapStore store = load();
    EXPECT_EQ(store.last_scan, 2);
    EXPECT_EQ(store.max_value, 40000);
    EXPECT_EQ(store.max_sum, 40002);
    EXPECT_EQ(store.Minutes(0), 0.5);
    const HeatMapWell& a1 = store.wells.at(0);
    ASSERT_EQ(a1.height(), 3);
    ASSERT_EQ(a1.width(), 4);
    EXPECT_EQ(a1.points(), 7);
    const struct {
        int y, x;
        bool inside;
        int64_t sum;
    } points[] = {{0, 0, false, 0}, {0, 1, true, 0}, {0, 2, true, 1}, {0, 3, false, 0}, {1, 1, true, 40002},
                  {1, 3, true, 3},  {2, 1, false, 0}, {2, 2, true, 6}, {2, 3, false, 0}};
    for (const auto& p : points) {
        EXPECT_EQ(a1.inside(p.y, p.x), p.inside) << p.y << "," << p.x;
        EXPECT_EQ(a1.sum(p.y, p.x), p.sum) << p.y << "," << p.x;
    }
    std::vector<std::tuple<int, int, int32_t>> scan0;
    EXPECT_EQ(a1.ForEachActive(0, [&](const HeatMapPoint& p) { scan0.emplace_back(p.y, p.x, p.count); }), 4);
    EXPECT_EQ(scan0, (std::vector<std::tuple<int, int, int32_t>>{{0, 2, 1}, {1, 1, 2}, {1, 3, 3}, {2, 2, 5}}));
    EXPECT_EQ(store.wells.at(1).points(), 2) << "B1";
    EXPECT_EQ(store.wells.at(1).sum(0, 1), 7) << "the cut block of scan 3 is left out";
    EXPECT_EQ(store.wells.at(2).points(), 0) << "A2 has no file";
}

// w6 and p35 share one plate, w24 has its own, other formats (and "W6") none and load nothing.
TEST_F(HeatMapTest, EveryFormatHasItsPlateOrNone)
{
    const struct { const char* format; int rows, columns, windows; } cases[] = {
        {"w6", 2, 3, 1}, {"p35", 2, 3, 1}, {"w24", 4, 6, 2}, {"w12", 0, 0, 0}, {"w48", 0, 0, 0},
        {"w96f", 0, 0, 0}, {"w96u", 0, 0, 0}, {"W6", 0, 0, 0}, {"", 0, 0, 0}};
    std::atomic<bool> stop{false};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const auto plate = HeatMapPlateOf(c.format);
        ASSERT_EQ(plate.has_value(), c.rows > 0);
        const HeatMapLoad l = LoadHeatMap(folder.path(), c.format, stop);
        EXPECT_EQ(l.outcome == HeatMapOutcome::Loaded, c.rows > 0) << l.message;
        if (!plate) continue;
        EXPECT_EQ(std::tuple(plate->rows, plate->columns, plate->windows), std::tuple(c.rows, c.columns, c.windows));
        EXPECT_EQ(l.store.wells.size(), size_t(c.rows * c.columns));
        // The files name A1 and B1: the first two wells of any plate's first column.
        EXPECT_EQ(std::pair(l.store.wells.at(0).points(), l.store.wells.at(1).points()), std::pair(7L, 2L));
    }
}

TEST_F(HeatMapTest, ALoadThatFailsOrIsStoppedLeavesNothingLoaded)
{
    const std::string b1 = PixelActivityFileName(1, 0);
    const struct {
        const char* what;
        std::string file, text;
        bool stop;
        HeatMapOutcome outcome;
        std::string message;
        std::string where = "";  // part of it
    } cases[] = {
        {"whole files", "", "", false, HeatMapOutcome::Loaded, ""},
        {"damaged row", PixelActivityFileName(1, 0), block(0, "B1,9,0,x\r\n"), false, HeatMapOutcome::Failed,
         "File error c1b0.csv"},
        {"scans out of order", PixelActivityFileName(1, 0), block(1, "B1,9,0,1\r\n") + block(0, "B1,9,0,1\r\n"), false,
         HeatMapOutcome::Failed, "File error c1b0.csv"},
        {"stopped", "", "", true, HeatMapOutcome::Stopped, ""},
        {"a count past the most", b1, block(0, "B1,9,0,1048838904\r\n"), false, HeatMapOutcome::Failed, "File error c1b0.csv",
         "wellactivity10.csv, line 3"},
        {"an empty file: a camera without data", b1, "", false, HeatMapOutcome::Loaded, ""},
    };
    for (const auto& c : cases) {
        SetUp();
        if (!c.file.empty()) write(c.file, c.text);
        std::atomic<bool> stop{c.stop};
        const HeatMapLoad l = LoadHeatMap(folder.path(), "w6", stop);
        EXPECT_EQ(l.outcome, c.outcome) << c.what;
        EXPECT_EQ(l.message, c.message) << c.what;
        EXPECT_EQ(l.store.empty(), c.outcome != HeatMapOutcome::Loaded) << c.what;
        EXPECT_NE(l.where.find(c.where), std::string::npos) << c.what << ": " << l.where;
    }
    test::TempFolder none;
    std::atomic<bool> stop{false};
    EXPECT_EQ(LoadHeatMap(none.path(), "w6", stop).message, kHeatMapNoScan);
}

TEST(HeatMapColours, ScalesRunFromTheirFirstColourToTheMaximumAndClamp)
{
    const struct {
        int64_t value, maximum;
        uint32_t heat, grey;
    } cases[] = {{0, 100, RGB(0, 0, 255), RGB(200, 200, 200)},   {-5, 100, RGB(0, 0, 255), RGB(200, 200, 200)},
                 {25, 100, RGB(128, 128, 128), RGB(150, 150, 150)}, {50, 100, RGB(255, 255, 0), RGB(100, 100, 100)},
                 {75, 100, RGB(255, 128, 0), RGB(50, 50, 50)},     {100, 100, RGB(255, 0, 0), RGB(0, 0, 0)},
                 {40000, 100, RGB(255, 0, 0), RGB(0, 0, 0)}};
    for (const auto& c : cases) {
        EXPECT_EQ(HeatColorScale(c.value, c.maximum), c.heat) << c.value;
        EXPECT_EQ(GrayColorScale(c.value, c.maximum), c.grey) << c.value;
    }
}

TEST_F(HeatMapTest, MapsPaintEachActivePixelOfTheDiscWhereItsRowAndPlaceFall)
{
    const HeatMapStore store = load();
    HeatMapStore bare;  // the same plate without activity: outlines, crosses and labels
    bare.plate = store.plate;
    bare.wells.resize(store.wells.size());
    const QSize size(300, 200);  // a unit a pixel
    const uint32_t low = HeatColorScale(1, 40002);
    const struct {
        const char* what;
        HeatMapFrame frame;
        // Top left (X, Y) of each painted 3 x 3 square and its colour. A1 point (y, x) lies at
        // X = y / 3 x 100, Y = 100 - x / 4 x 100; B1 (0, 1) at X = 0, Y = 150.
        std::vector<std::tuple<int, int, uint32_t>> squares;
    } cases[] = {
        {"summed, colour",
         {true, 0, HeatMapColours::Colour, {}},
         {{0, 50, low}, {33, 75, RGB(255, 0, 0)}, {33, 25, low}, {67, 50, low}, {0, 150, low}}},
        {"scan 1, black and white", {false, 1, HeatMapColours::BlackWhite, {}}, {{33, 75, 0}}},
        {"scan 0, grey",
         {false, 0, HeatMapColours::Grey, {}},
         {{0, 50, RGB(200, 200, 200)}, {33, 75, RGB(200, 200, 200)}, {33, 25, RGB(200, 200, 200)},
          {67, 50, RGB(200, 200, 200)}, {0, 150, RGB(200, 200, 200)}}},
    };
    for (const auto& c : cases) {
        QImage expected = DrawHeatMap(bare, c.frame, size);
        for (const auto& [X, Y, colour] : c.squares)
            for (int dy = 0; dy <= 2; ++dy)
                for (int dx = 0; dx <= 2; ++dx) expected.setPixel(X + dx, Y + dy, ui::toQColor(colour).rgb());
        const QImage image = DrawHeatMap(store, c.frame, size);
        int wrong = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (image.pixel(x, y) != expected.pixel(x, y) && ++wrong < 5)
                    ADD_FAILURE() << c.what << ": pixel " << x << "," << y;
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

TEST(HeatMapPicture, EveryWellsCircleTouchesTheFourSidesOfItsOwnCellInsideThePicture)
{
    for (const auto& [format, size] : {std::pair{"w6", QSize(300, 200)}, {"w6", QSize(667, 248)}, {"w24", QSize(301, 199)}}) {
        HeatMapStore store;
        store.plate = *HeatMapPlateOf(format);
        store.wells.resize(size_t(store.plate.wells()));
        const QImage image = DrawHeatMap(store, {false, 0, HeatMapColours::Colour, {}}, size);
        const auto red = [&](int x, int y) { return image.valid(x, y) && image.pixel(x, y) == qRgb(255, 0, 0); };
        // A cell's first pixel: its units mapped to pixels, halves upward.
        const auto at = [](int n, int cells, int pixels) { return int(std::floor(n * double(pixels) / cells + 0.5)); };
        for (int c = 0; c < store.plate.columns; ++c)
            for (int r = 0; r < store.plate.rows; ++r) {
                const int x0 = at(c, store.plate.columns, size.width()), x1 = at(c + 1, store.plate.columns, size.width()) - 1;
                const int y0 = at(r, store.plate.rows, size.height()), y1 = at(r + 1, store.plate.rows, size.height()) - 1;
                EXPECT_TRUE(red((x0 + x1) / 2, y0) && red((x0 + x1) / 2, y1) && red(x0, (y0 + y1) / 2) && red(x1, (y0 + y1) / 2))
                    << format << " " << size.width() << " well " << c << "," << r;
            }
    }
}

TEST_F(HeatMapTest, TheAreaFileGivesEachScansShareOfTheDiscWithActivity)
{
    const HeatMapStore store = load();
    const auto when = test::LocalTime(2025, 3, 4, 9, 8, 7);
    // Slider positions 1 and 2 give the scans 0 and 1: A1 4 of 7 points, then 1 of 7; B1 1 of 2,
    // then none; wells without a disc have no share. Times to whole minutes, halves to even.
    EXPECT_EQ(AreaFileLines(store, {"/r/acq", "proj", "Run 1", when}),
              (std::vector<std::string>{"Folder:,/r/acq", "Report Date:,2025-03-04 09:08.07", "Project:,proj",
                                        "Acquisition:,Run 1", "", "WELL AREA OCCUPIED BY ACTIVITY[%]",
                                        "Time[m],A1,B1,A2,B2,A3,B3", "0,57,50,,,,", "2,14,0,,,,"}));
    // A scan B1's file lacks has no share; a negative count is a point without activity.
    for (const auto& [b1, lines] : {std::pair{block(0, "B1,9,0,7\r\n"), std::vector<std::string>{"0,57,50,,,,", "2,14,,,,,"}},
                                    std::pair{block(0, "B1,9,0,-7\r\n") + block(1, "B1,9,0,0\r\n"),
                                              std::vector<std::string>{"0,57,0,,,,", "2,14,0,,,,"}}}) {
        write(PixelActivityFileName(1, 0), b1);
        const auto all = AreaFileLines(load(), {"/r/acq", "proj", "Run 1", when});
        EXPECT_EQ(std::vector<std::string>(all.begin() + 7, all.end()), lines) << b1;
    }
}

// The saved-data window opened from the main window on a w6 recording with these pixel files,
// its picture 300 x 200 pixels: a unit of the plate a pixel.
class HeatMapControlsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        recording = platform::ProgramPath("reports/proj/20250131_140000_mix1");
        platform::MakeFolder(recording);
        test::WriteW6Recording(recording);
        WritePixelFiles(recording);
        platform::setLauncher([this](const std::vector<std::string>& argv, const platform::ExitHandler&) {
            launched.push_back(argv.back());
            return true;
        });
        window->cmd_load_recording->Click();
        saved = window->offline.get();
        for (const char* row : {"+ 2025.0131\tproj", "  > 2025.0131\t ACQ14:00 \"mix 1\""}) {
            auto* list = saved->browser->Listpj;
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->data(RecordingBrowser::kRowRole).toString().toStdString() == row) list->setCurrentRow(i);
            saved->browser->Listpj_DblClick();
        }
        controls = saved->heatmap.get();
        picture = saved->Picreal;
        picture->SetPixelSize(300, 200);
    }
    void TearDown() override
    {
        platform::setLauncher({});
        AppFixture::TearDown();
    }
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(recording + "/" + name, std::ios::binary) << text;
    }
    bool blank() const { return picture->image().pixel(34, 76) == QColor(Qt::white).rgb(); }

    std::string recording;
    app::Frrm_offline* saved = nullptr;
    HeatMapControls* controls = nullptr;
    ui::PictureBox* picture = nullptr;
    std::vector<std::string> launched;
};

TEST_F(HeatMapControlsTest, LoadDrawsTheSumOnlyWhenItEnds)
{
    // A plate without a heat-map layout is refused before anything is read.
    saved->browser->recording.data.plate_format = "w12";
    boxes.expectMessage(kHeatMapFormats);
    controls->cmd_plotheat->Click();
    boxes.verifyAllShown();
    EXPECT_TRUE(blank() && !controls->heatmap_loading);
    saved->browser->recording.data.plate_format = "w6";

    // Stop clicked while the first file is read: nothing drawn, the views stay hidden.
    controls->process_events = [this] { controls->cmd_plotheat->Click(); };
    controls->cmd_plotheat->Click();
    EXPECT_TRUE(blank());
    EXPECT_TRUE(controls->frame_heatmap->isHidden());
    EXPECT_TRUE(controls->store.empty());
    EXPECT_EQ(controls->cmd_plotheat->Caption(), "Load Heatmap");

    controls->process_events = {};
    write(PixelActivityFileName(1, 0), block(0, "B1,9,-,x\r\n"));
    boxes.expectMessage("File error c1b0.csv");
    controls->cmd_plotheat->Click();
    EXPECT_TRUE(blank()) << "a failed load draws nothing";
    EXPECT_TRUE(controls->frame_heatmap->isHidden());
    EXPECT_NE(saved->txt_status->Text().find("wellactivity10.csv, line 3"), std::string::npos) << saved->txt_status->Text();
    // With nothing loaded, then with a single scan: [KINETICS] and the exports write nothing and say why.
    write(kAreaFileName, "older");
    for (const char* message : {kHeatMapNotLoaded, kNoScanToExport}) {
        for (QAction* entry : {(QAction*)nullptr, controls->bmpexporta_seq, controls->bmpexporta_csvseq, controls->bmpexporta}) {
            if (message == kNoScanToExport && entry == controls->bmpexporta) continue;  // its picture is shown
            saved->txt_status->SetText("");
            entry ? entry->trigger() : controls->cmd_plotheatkin->Click();
            EXPECT_EQ(saved->txt_status->Text(), entry || message == kHeatMapNotLoaded ? message : "");
        }
        EXPECT_TRUE(platform::ReadFileBytes(recording + "/" + kAreaFileName) == "older" && launched.empty() && !std::filesystem::exists(recording + "/bmpseq") &&
                    !std::filesystem::exists(platform::ProgramPath(kPictureFileName)) && controls->HScroll_time->isHidden() == (message == kHeatMapNotLoaded)) << message;
        write(PixelActivityFileName(0, 0), block(0, kA1Rows[0]));
        write(PixelActivityFileName(1, 0), block(0, "B1,9,0,7\r\n"));
        controls->cmd_plotheat->Click();
    }
    EXPECT_EQ(saved->txt_status->Text(), "") << "the load that ended replaces the export's refusal";

    WritePixelFiles(recording);
    write(PixelActivityFileName(1, 0), block(0, "B1,9,-2,7\r\n"));
    controls->cmd_plotheat->Click();
    EXPECT_EQ(saved->txt_status->Text(), "1 negative pixel count read as no activity");
    EXPECT_FALSE(blank());
    EXPECT_FALSE(controls->frame_heatmap->isHidden());
    EXPECT_FALSE(controls->heatmap_running);
    EXPECT_EQ(saved->barplot->plot_shown, 2);
    // The bar plot takes the picture back and the heat map's views step aside.
    saved->barplot->cmd_plotbar->Click();
    EXPECT_TRUE(controls->frame_heatmap->isHidden());
    EXPECT_EQ(saved->barplot->plot_shown, 1);
}

TEST_F(HeatMapControlsTest, KineticPlaybackAndExportsStepSliderPositionsOneToTheLastScan)
{
    controls->cmd_plotheat->Click();
    controls->cmd_plotheatkin->Click();
    EXPECT_EQ(controls->cmd_plotheatkin->Caption(), "[STOP]");
    EXPECT_EQ(controls->HScroll_time->maximum(), 2);
    controls->kinetic_timer->Tick();
    EXPECT_EQ(controls->lbl_scan->Caption(), "Scan(1) 0m");
    controls->kinetic_timer->Tick();
    EXPECT_EQ(controls->lbl_scan->Caption(), "Scan(2) 2m") << "position 2 shows scan 1";
    EXPECT_EQ(picture->image().pixel(34, 76), ui::toQColor(RGB(255, 0, 0)).rgb()) << "its one count, the maximum";
    controls->kinetic_timer->Tick();
    EXPECT_EQ(controls->cmd_plotheatkin->Caption(), "[Kinetic]");
    EXPECT_FALSE(controls->kinetic_timer->Enabled());

    controls->bmpexporta_seq->trigger();
    for (const char* n : {"1", "2"})
        EXPECT_EQ(QImageReader(QString::fromStdString(recording + "/bmpseq/" + n + ".bmp")).read().size(),
                  QSize(300, 200)) << n;
    EXPECT_FALSE(std::filesystem::exists(recording + "/bmpseq/3.bmp"));
    controls->opt_hetmap_color[2]->SetValue(true);
    controls->bmpexporta_csvseq->trigger();
    EXPECT_EQ(picture->image().pixel(34, 76), QColor(Qt::black).rgb()) << "left on the last position in B&W";
    EXPECT_TRUE(std::filesystem::exists(recording + "/" + kAreaFileName));
    controls->bmpexporta->trigger();
    EXPECT_EQ(launched, (std::vector<std::string>{recording + "/bmpseq/", recording + "/" + kAreaFileName,
                                                  platform::ProgramPath(kPictureFileName)}));

    // The summed view takes the sequence exports away again.
    controls->cmd_plotheatsum->Click();
    EXPECT_FALSE(controls->bmpexporta_seq->isVisible());
    EXPECT_TRUE(controls->HScroll_time->isHidden());
    for (const long jump : {2L, 3L, 500L, kLastBlockScan}) {  // A1's last scan: the next, one left out, far, the bound
        write(PixelActivityFileName(0, 0), block(0, kA1Rows[0]) + block(1, kA1Rows[1]) + "scan," + std::to_string(jump) +
                                               "\r\ntime[m],\"2.5\"\r\n" + kA1Rows[2] + "\r\n");
        const int n = jump > 2 ? 3 : 2;  // slider positions: only scans the files hold (B1's 2 among them)
        const auto report = platform::ReadFileBytes(chemotaxis::ProcessAcquisition({recording, "w6", false, true, true, chemotaxis::IndexKind::YTop}, {}).report);
        EXPECT_NE(report.value_or("").find("[m]\",\"0.5\",\"1.5\",\"2.5\"" + std::string(n > 2 ? ",\"2.5\"\r\n" : "\r\n")), std::string::npos) << jump;
        controls->cmd_plotheat->Click(), controls->cmd_plotheatkin->Click();
        ASSERT_EQ(controls->HScroll_time->maximum(), n) << jump;
        controls->bmpexporta_seq->trigger(), controls->bmpexporta_csvseq->trigger();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(recording + "/bmpseq"), {}), n) << jump;
        const auto area = platform::ReadLines(recording + "/" + kAreaFileName).value();
        EXPECT_EQ(std::pair(area.size(), area.back()), std::pair(size_t(7 + n), std::string(n > 2 ? "2,,0,,,," : "2,14,0,,,,")));
    }
}

// Every export tells where its files are, also when no program opened them; a picture not written keeps the old.
TEST_F(HeatMapControlsTest, EveryExportSaysWhereItsFilesAreAndWhenNoProgramOpenedThem)
{
    std::ofstream(recording + "/lastread00.csv", std::ios::binary) << "x,,,1,,,2\r\n";
    chemotaxis::Frm_bmpexport* chemo = chemotaxis::OpenChemotaxisWindow(saved, saved->session(), "w6", {});
    controls->cmd_plotheat->Click();
    controls->cmd_plotheatkin->Click();
    int exitStatus = 0;  // -1: the opener does not start
    platform::setLauncher([&](const std::vector<std::string>& argv, platform::ExitHandler onExit) {
        launched.push_back(argv.back());
        if (exitStatus >= 0) std::thread(std::move(onExit), exitStatus).join();
        return exitStatus >= 0;
    });
    const std::string picture = platform::ProgramPath(kPictureFileName);
    const std::tuple<QAction*, ui::TextBox*, std::string, ui::ExportTexts> exports[] = {
        {controls->bmpexporta, saved->txt_status, picture, {kPictureSaved, kPictureNotOpened}},
        {controls->bmpexporta_seq, saved->txt_status, recording + "/bmpseq/", {kSequenceSaved, kSequenceNotOpened}},
        {controls->bmpexporta_csvseq, saved->txt_status, recording + "/" + kAreaFileName, {kAreaSaved, kAreaNotOpened}},
        {chemo->mn_export_rawbmp, chemo->txt_status, recording + "/bmp_last/", {chemotaxis::kRawSaved, chemotaxis::kRawNotOpened}},
    };
    for (const auto& [entry, status, path, texts] : exports)
        for (const int exit : {0, -1, 1}) {
            exitStatus = exit;
            launched.clear();
            if (entry == chemo->mn_export_rawbmp) boxes.expectMessage(chemotaxis::kExportDone);
            entry->trigger();
            QCoreApplication::processEvents();  // the opener's end
            EXPECT_EQ(launched, std::vector<std::string>{path});
            EXPECT_EQ(status->Text(), (exit == 0 ? texts.opened : texts.not_opened) + path) << exit;
        }
    std::ofstream(picture) << "older";
    launched.clear();
    if (test::ScopedFileSizeLimit full(100); full.ok()) controls->bmpexporta->trigger();
    EXPECT_TRUE(saved->txt_status->Text() == kPictureNotWritten + picture && launched.empty());
    EXPECT_EQ(std::filesystem::file_size(picture), 5u);
}

}  // namespace
}  // namespace tirmo::reports
