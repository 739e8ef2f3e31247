#include <gtest/gtest.h>

#include "link/Session.h"
#include "camera/CameraWindowFixture.h"
#include "camera/FrameTransfer.h"
#include "link/CommPort.h"
#include "platform/Clock.h"
#include "support/FakeClock.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

TEST(FrameTransferRules, RequestsAndExpectedLengths)
{
    EXPECT_EQ(CameraRequest(2, '+'), std::string({char(255), 'C', 2, '+', char(67 ^ 2 ^ 43)}));
    EXPECT_EQ(ExpectedLength('+', 183, 143), 26170);
    EXPECT_EQ(ExpectedLength('A', 183, 143), 1067);
    EXPECT_EQ(ExpectedLength('0', 183, 143), 26169);
    EXPECT_EQ(ExpectedLength('-', 10, 2, 3), 27);
    // Windows up to 256 x 256 are what the window commands allow: no 16-bit wrap.
    EXPECT_EQ(ExpectedLength('+', 256, 256), 65537);
}

TEST(FrameTransferRules, CheckAndTraceOfAReply)
{
    EXPECT_EQ(TransferTrace("", 7), "LEN(Rx) = 0/7 CRC: calc=0(byteinput=-1)");
    EXPECT_EQ(TransferTrace(std::string({1, 2, 3}), 3), "LEN(Rx) = 3/3 CRC: calc=3(byteinput=3)");
    EXPECT_TRUE(CheckOf(std::string({5, 5})).matches());
    EXPECT_FALSE(CheckOf("").matches());
}

TEST(FrameTransferRules, DumpListsEachLineAndZeroForExtraBytes)
{
    EXPECT_EQ(ReplyDump(std::string({1, 2, 3, 4, 9}), 2, 2), "1;2;\r\n3;4;\r\n9;\r\n");
    EXPECT_EQ(ReplyDump(std::string({1, 2, 7, 3}), 2, 1, 1), "1;2;0;\r\n3;\r\n");
}

TEST(FrameTransferRules, DumpStopsAtTheReplyEndWhateverTheExtraCount)
{
    // The factory window's extra count is typed; a huge one must not walk a billion columns.
    EXPECT_EQ(ReplyDump(std::string({1, 2, 3, 4, 5}), 2, 2, 1000000000), "1;2;0;0;0;\r\n\r\n\r\n");
}

TEST(FrameTransferRules, WellColumnsOfABlockBandAfterBand)
{
    plate::ColumnBands columns;
    plate::RowBands rows;
    columns.first[1] = 0;
    columns.last[1] = 1;
    columns.start[1] = {10, 50};
    columns.end[1] = {40, 80};
    rows.first[1] = rows.last[1] = 0;
    rows.start[1][0] = 5;
    rows.end[1][0] = 64;
    std::string block;
    for (int i = 0; i < 60 * 71 + 1; ++i) block += char(i * 7);
    const std::string result = ExtractWellColumns(block, columns, rows, 1, 0);
    EXPECT_EQ(result, block.substr(0, 60 * 30) + block.substr(60 * 40, 60 * 30));
    EXPECT_EQ(ExtractWellColumns(block, columns, rows, 2, 0), "") << "a camera without bands";
    EXPECT_EQ(ExtractWellColumns(block, columns, rows, 1, 9), "") << "outside the band table";
    EXPECT_EQ(ExtractWellColumns(block.substr(0, 100), columns, rows, 1, 0), block.substr(0, 100));
}

TEST(FrameTransferRules, ReducedImageDecodesEveryFifthCellAndNeverTheCheckByte)
{
    FrameStore store;
    const long pix = 23, lines = 10;  // rows of 6 bytes, 2 rows
    std::string reply = {0, 12};
    for (int i = 0; i < 12; ++i) reply += char(100 + i);
    reply += char(99);
    ASSERT_EQ((long long)reply.size(), ExpectedLength('A', pix, lines));
    store.Set(0, 3, 3, 42);
    store.Set(0, lines + 1, 0, 42);
    store.Set(0, lines + 2, 0, 42);
    store.Set(0, 1, pix, 42);
    ASSERT_TRUE(DecodeFrame('A', reply, pix, lines, 0, 0, store));
    EXPECT_EQ(store.Value(0, 1, pix - 5), 100);   // row 0, column 1 -> line 0, received pixel 5
    EXPECT_EQ(store.Value(0, 1, pix - 20), 103);  // row 0, column 4
    EXPECT_EQ(store.Value(0, 6, pix - 10), 107);  // row 1, column 2 -> line 5
    EXPECT_EQ(store.Value(0, 3, 3), -1) << "the rest of the window is emptied";
    EXPECT_EQ(store.Value(0, lines + 1, 0), -1) << "and the line position just past it";
    EXPECT_EQ(store.Value(0, lines + 2, 0), 42) << "outside the area is kept";
    EXPECT_EQ(store.Value(0, 1, pix), 42);
    int cells = 0;
    for (int x = 0; x < 193; ++x)
        for (int y = 0; y < 193; ++y) cells += store.Has(0, x, y) ? 1 : 0;
    EXPECT_EQ(cells, 2 * 4 + 2) << "4 of each row's 6 bytes fall inside 23 pixels, and the two cells outside";
}

// ---------------------------------------------------------------- against the simulator

class FrameTransferTest : public test::CameraWindowFixture {
protected:
    void SetUp() override
    {
        CameraWindowFixture::SetUp();
        clock = std::make_unique<test::FakeClock>();
    }
    void TearDown() override
    {
        clock.reset();
        CameraWindowFixture::TearDown();
    }
    std::string lastBlock()
    {
        return sim->with([](sim::SimState& s) { return s.cameras.lastBlock; });
    }
    void useWindow(int camera, int y0, int y1, int x0, int x1)
    {
        sim->with([=](sim::SimState& s) { return s.cameras.windows[size_t(camera)] = sim::SimWindow{y0, y1, x0, x1}; });
        window->camera->txt_cam->SetText(std::to_string(camera));
        window->camera->txt_xini->SetText(std::to_string(y0));
        window->camera->txt_xfin->SetText(std::to_string(y1));
        window->camera->txt_yini->SetText(std::to_string(x0));
        window->camera->txt_yfin->SetText(std::to_string(x1));
        window->camera->txt_lines->SetText(std::to_string(y1 - y0 + 1));
        window->camera->txt_pix->SetText(std::to_string(x1 - x0 + 1));
    }
    void expectDrawn(int camera, std::initializer_list<std::pair<int, int>> cells)
    {
        for (const auto& [x, y] : cells) {
            const int v = window->camera->frame_store.Value(camera, x, y);
            EXPECT_EQ(window->camera->Picact->Point(x + 0.5, y + 0.5), ui::RGB(v, v, v)) << x << "," << y;
        }
    }
    std::unique_ptr<test::FakeClock> clock;
};

TEST_F(FrameTransferTest, AGoodWindowBlockIsStoredLineAcrossAndPixelsLastFirst)
{
    window->camera->txt_cam->SetText("2");
    window->camera->Picact->SetPixelSize(143, 183);
    window->camera->AcquireCalibrationFrame();
    EXPECT_EQ(window->camera->txtprogram->Text(), "+");
    EXPECT_EQ(frameList(), (std::vector<std::string>{"C,2,43"}));
    const std::string block = lastBlock();
    ASSERT_EQ(block.size(), 26170u);
    const auto check = CheckOf(block);
    EXPECT_EQ(window->lbl_lenrx->Caption(), "LEN(Rx) = 26170/26170 CRC: calc=" + std::to_string(check.calc) +
                                                "(byteinput=" + std::to_string(check.byteinput) + ")");
    auto received = [&](int line, int column) {
        return static_cast<unsigned char>(block[size_t(183 * line + column - 1)]);
    };
    // Received column 1 of line 0 lands at x 1, y pix - 1.
    EXPECT_EQ(window->camera->frame_store.Value(2, 1, 182), received(0, 1));
    EXPECT_EQ(window->camera->frame_store.Value(2, 1, 0), received(0, 183));
    EXPECT_EQ(window->camera->frame_store.Value(2, 143, 182), received(142, 1));
    EXPECT_EQ(window->camera->frame_store.Value(2, 72, 100), received(71, 183 - 100));
    EXPECT_FALSE(window->camera->frame_store.Has(2, 144, 182)) << "the check byte is no line of the picture";
    EXPECT_FALSE(window->camera->frame_store.Has(2, 0, 0));
    // And drawn (x: line, y: pixel position) by the reader and the deferred redraw, out to the far corners.
    expectDrawn(2, {{72, 100}, {141, 181}, {141, 1}, {2, 181}});
    window->camera->Picact->Cls();
    window->camera->DrawCameraImage();
    expectDrawn(2, {{72, 100}, {141, 181}, {141, 1}, {2, 181}});
}

TEST_F(FrameTransferTest, ASmallerWindowLeavesNoCellOfTheLargerFrameInItsArea)
{
    // A set-up grab of the default window, then a grab of a window 40 lines shorter.
    useWindow(3, 0, 142, 0, 182);
    window->camera->AcquireCalibrationFrame();
    ASSERT_TRUE(window->camera->frame_store.Has(3, 102, 0));
    ASSERT_TRUE(window->camera->frame_store.Has(3, 103, 0));
    useWindow(3, 0, 100, 0, 182);
    window->camera->AcquireCalibrationFrame();
    const std::string block = lastBlock();
    ASSERT_EQ(block.size(), 101u * 183u + 1u);
    EXPECT_EQ(window->camera->frame_store.Value(3, 101, 0), static_cast<unsigned char>(block[101 * 183 - 1]))
        << "the window's last line";
    for (int y = 0; y < 183; ++y)
        ASSERT_FALSE(window->camera->frame_store.Has(3, 102, y)) << "the line position past the window, pixel " << y;
    EXPECT_TRUE(window->camera->frame_store.Has(3, 103, 0)) << "beyond the area the older frame stays, as it always did";
}

TEST_F(FrameTransferTest, TheReaderDrawsNothingOverThePlateMapOrWhenNotAsked)
{
    window->camera->Picact->SetPixelSize(50, 50);
    window->camera->Picact->SetBackColor(ui::colour::Blue);
    window->camera->plate_view_shown = true;
    window->camera->ReadCameraImage(CameraRequest(0, '+'), true);
    window->camera->plate_view_shown = false;
    window->camera->ReadCameraImage(CameraRequest(0, '+'), false);
    EXPECT_EQ(window->camera->Picact->PixelAt(25, 25), ui::colour::Blue);
    EXPECT_TRUE(window->camera->frame_store.Has(0, 1, 0));
    EXPECT_EQ(sim->framesOf('C').size(), 2u);
}

TEST_F(FrameTransferTest, AReducedImageOfTheDefaultWindowExpects1067Bytes)
{
    window->camera->Picact->SetPixelSize(50, 50);
    window->camera->Picact->SetBackColor(ui::colour::Blue);
    window->camera->txt_cam->SetText("1");
    window->camera->GrabFrame();
    EXPECT_EQ(window->camera->txtprogram->Text(), "A");
    EXPECT_EQ(frameList(), (std::vector<std::string>{"C,1,65"}));
    const std::string block = lastBlock();
    ASSERT_EQ(block.size(), 1067u);
    EXPECT_EQ(window->lbl_lenrx->Caption().substr(0, 20), "LEN(Rx) = 1067/1067 ");
    // Reduced row 1, column 2 -> full line 5, received column 10.
    EXPECT_EQ(window->camera->frame_store.Value(1, 6, 183 - 10), static_cast<unsigned char>(block[38 * 1 + 2 + 2 - 1]));
    EXPECT_FALSE(window->camera->frame_store.Has(1, 6, 183 - 11));
    EXPECT_EQ(window->camera->Picact->PixelAt(25, 25), ui::colour::Blue) << "a reduced image is not drawn";
}

TEST_F(FrameTransferTest, ABadCheckByteIsFetchedTwiceAndGivesError)
{
    sim->corruptCheckNext(2);
    EXPECT_EQ(window->camera->ReadCameraScan(0, 0), "Error");
    EXPECT_EQ(sim->framesOf('C').size(), 2u);
    EXPECT_EQ(window->lbl_lenrx->ForeColor(), ui::colour::Red);
    EXPECT_GE(clock->sleptMs(), kSecondTryPauseMs);
}

TEST_F(FrameTransferTest, OneBadBlockThenAGoodOneGivesTheGoodBlock)
{
    sim->corruptCheckNext(1);
    const std::string block = window->camera->ReadCameraActivity(0);
    EXPECT_EQ(sim->framesOf('C').size(), 2u);
    EXPECT_EQ(block, lastBlock());
    EXPECT_EQ(window->lbl_lenrx->ForeColor(), ui::colour::Black);
}

TEST_F(FrameTransferTest, AShortBlockIsFetchedTwiceAndGivesError)
{
    test::QuickTimeouts quick;
    sim->with([](sim::SimState& s) { return s.cameras.shortBlocks = 2; });
    EXPECT_EQ(window->camera->ReadCameraScan(0, 0), "Error");
    EXPECT_EQ(sim->framesOf('C').size(), 2u);
    EXPECT_EQ(window->lbl_lenrx->Caption().substr(0, 21), "LEN(Rx) = 26169/26170");
}

TEST_F(FrameTransferTest, AnEmptyReplyGivesOneRequestAndNoResult)
{
    test::QuickTimeouts quick;
    sim->with([](sim::SimState& s) { return s.cameras.silentBlocks = 1; });
    EXPECT_EQ(window->camera->ReadCameraScan(0, 0), "");
    EXPECT_EQ(sim->framesOf('C').size(), 1u);
}

TEST_F(FrameTransferTest, AScanKeepsTheLinesOfTheWellColumns)
{
    // w24 camera 3: column bands 5..75 and 75..142, first row band 10..90.
    window->plate->column_bands.first[3] = 2;
    window->plate->column_bands.last[3] = 3;
    window->plate->column_bands.start[3][0] = 5;
    window->plate->column_bands.end[3][0] = 75;
    window->plate->column_bands.start[3][1] = 75;
    window->plate->column_bands.end[3][1] = 142;
    window->plate->row_bands.first[3] = window->plate->row_bands.last[3] = 2;
    window->plate->row_bands.start[3][0] = 10;
    window->plate->row_bands.end[3][0] = 90;
    useWindow(3, 5, 142, 183 - 90, 183 - 10);
    const std::string scan = window->camera->ReadCameraScan(3, 0);
    const std::string block = lastBlock();
    ASSERT_EQ(block.size(), 81u * 138 + 1);
    EXPECT_EQ(scan, block.substr(0, 81 * 70) + block.substr(81 * 70, 81 * 67));
}

TEST_F(FrameTransferTest, WithoutALinkTheFetchersShowAMessageAndTheReaderAStatus)
{
    session.port_open = false;
    boxes.expectMessage(link::kNotConnected);
    EXPECT_EQ(window->camera->ReadCameraActivity(0), "");
    window->camera->ReadCameraImage(CameraRequest(0, '+'), true);
    EXPECT_EQ(window->txt_status->Text(), link::kNotConnected);
    session.port_open = true;
    session.dummy_mode = 1;
    EXPECT_EQ(window->camera->ReadCameraScan(0, 0), "") << "dummy mode: no result at once";
    EXPECT_TRUE(sim->rawReceived().empty());
}

TEST_F(FrameTransferTest, ALinkClosedDuringTheRequestEndsTheReadAtOnce)
{
    test::WriteRecorder recorder;
    int characters = 0;
    platform::setEventPump([&] {
        if (++characters == 3) session.port_open = false;
    });
    window->lbl_lenrx->SetCaption("");
    window->camera->ReadCameraImage(CameraRequest(0, '+'), true);
    platform::setEventPump({});
    EXPECT_EQ(recorder.writes.size(), 2u) << "the reader lets events run before each character";
    sim->expectFramingErrors(1);  // the request stopped after two of its five bytes
    EXPECT_EQ(window->lbl_lenrx->Caption(), "Reading...") << "no trace";
}

TEST_F(FrameTransferTest, AWindowLargerThanTheFrameTableIsNotRead)
{
    useWindow(0, 0, 199, 1, 183);
    window->camera->ReadCameraImage(CameraRequest(0, '+'), true);
    EXPECT_TRUE(sim->rawReceived().empty());
    EXPECT_EQ(window->txt_status->Text(),
              "Camera window of 200 lines x 183 pixels does not fit the frame table (1 to 192 lines, 1 to 193 "
              "pixels): not read");
    // The run's fetch holds no table and takes it whole: 200 x 183 + 1 bytes.
    EXPECT_EQ(window->camera->ReadCameraActivity(0).size(), 36601u);
}

TEST_F(FrameTransferTest, ALengthPrefixedBlockIsReadToTheLengthItAnnounces)
{
    useWindow(4, 0, 9, 1, 20);
    ASSERT_TRUE(SendRequest(session, CameraRequest(4, '0'), YieldPoint::AfterEach));
    long long expected = ExpectedLength('0', 20, 10);
    const std::string reply = ReadReply(session, '0', expected);
    EXPECT_EQ(expected, 203);
    EXPECT_EQ(reply, lastBlock());
    EXPECT_TRUE(CheckOf(reply).matches());
}

TEST_F(FrameTransferTest, DummyModeFillsTheWindowWithRandomGreysWithoutThePort)
{
    session.dummy_mode = 1;
    window->camera->txt_cam->SetText("5");
    window->camera->Picact->SetPixelSize(143, 183);
    window->camera->GrabFrame();
    window->camera->AcquireCalibrationFrame();
    EXPECT_TRUE(sim->rawReceived().empty());
    int low = 255, high = 0;
    for (int x = 1; x <= 143; ++x) {
        for (int y = 0; y < 183; ++y) {
            const int v = window->camera->frame_store.Value(5, x, y);
            ASSERT_GE(v, 0);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    EXPECT_LE(high, 100);
    EXPECT_GT(high - low, 50);
    EXPECT_FALSE(window->camera->frame_store.Has(5, 144, 0));
    expectDrawn(5, {{10, 10}, {141, 181}, {2, 181}});  // the dummy frame is drawn
}

}  // namespace
}  // namespace tirmo::camera

namespace tirmo::camera {
namespace {

TEST(FrameTransferRules, ExtraBytesOfALineAreSkippedByTheDecode)
{
    FrameStore store;
    // Two lines of 2 pixels, each followed by one extra byte, then the check byte.
    const std::string reply = {10, 11, 0, 20, 21, 0, 5};
    ASSERT_EQ((long long)reply.size(), ExpectedLength('-', 2, 2, 1));
    ASSERT_TRUE(DecodeFrame('-', reply, 2, 2, 1, 6, store));
    EXPECT_EQ(store.Value(6, 1, 1), 10);
    EXPECT_EQ(store.Value(6, 1, 0), 11);
    EXPECT_EQ(store.Value(6, 2, 1), 20);
    EXPECT_EQ(store.Value(6, 2, 0), 21);
    EXPECT_FALSE(DecodeFrame('0', reply, 2, 2, 1, 6, store));
}

class FactoryFrameTest : public test::CameraWindowFixture {
protected:
    test::FakeClock clock;
};

TEST_F(FactoryFrameTest, TheFactoryReaderAlwaysDrawsAndColoursItsTrace)
{
    auto& f = factoryWindow();
    // Several pixels to a cell, so the sampled point lies inside one cell.
    f.Picact->SetPixelSize(330, 500);
    f.camera->txt_cam->SetText("0");
    f.camera->ReadCameraImage(CameraRequest(0, '+'));
    EXPECT_EQ(f.lbl_lenrx->ForeColor(), ui::colour::Black);
    EXPECT_EQ(f.lbl_lenrx->Caption().substr(0, 22), "LEN(Rx) = 26170/26170 ");
    const int v = f.camera->frame_store.Value(0, 20, 30);
    ASSERT_GE(v, 0);
    EXPECT_EQ(f.Picact->Point(20.5, 30.5), ui::RGB(v, v, v));

    sim->corruptCheckNext(1);
    f.camera->GrabFrame();
    EXPECT_EQ(f.lbl_lenrx->ForeColor(), ui::colour::Red);
    EXPECT_EQ(f.lbl_lenrx->Caption().substr(0, 20), "LEN(Rx) = 1067/1067 ");
    EXPECT_EQ(frameList(), (std::vector<std::string>{"C,0,43", "C,0,65"}));
}

}  // namespace
}  // namespace tirmo::camera
