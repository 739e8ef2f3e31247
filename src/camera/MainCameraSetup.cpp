// The main window's camera set-up sequence and its well-calibration panel: the six camera
// buttons, the band selectors, and the resend of the camera settings that the run and the
// calibrations use.
#include "camera/MainCameraControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>


#include "link/Exchange.h"
#include "platform/Clock.h"
#include "plate/BandTables.h"
#include "platform/Convert.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::camera {
namespace {

constexpr uint32_t kChosenCameraButton = 0x808080;
constexpr int kYieldPauseMs = 100;
constexpr int kLedSetupLevel = 7;

// Lets the window breathe between commands: pause, events, pause.
void yieldToWindow()
{
    platform::Sleep(kYieldPauseMs);
    platform::DoEvents();
    platform::Sleep(kYieldPauseMs);
}

void put(ui::TextBox* box, const std::string& value)
{
    box->SetText(value);
    box->Refresh();
}

}  // namespace

void MainCameraControls::buildCalibrationPanel(QWidget* client)
{
    Frame_calibration = new QGroupBox("Well Calibration", client);
    Frame_calibration->setObjectName("Frame_calibration");
    auto* grid = new QGridLayout(Frame_calibration);
    // A narrow column beside the well-area list, on the grid it shares with the band editor.
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(4);
    // The camera buttons in two rows of three, each as wide as a third of the column.
    auto* cameras = new QGridLayout;
    cameras->setSpacing(3);
    grid->addLayout(cameras, 0, 0, 1, plate::kCalibrationColumns);
    for (int i = 0; i < 6; ++i) {
        auto* b = ui::MakeButton(Frame_calibration, QString("cmd_camselect_%1").arg(i), "C" + std::to_string(i),
                                 [this, i] { cmd_camselect_Click(i); });
        b->SetBackColor(kCameraButton);
        b->setMinimumWidth(1);
        cameras->addWidget(b, i / 3, i % 3);
        cmd_camselect[size_t(i)] = b;
    }
    cmb_column = ui::MakeComboBox(Frame_calibration, "cmb_column");
    cmb_column->onClick([this] { cmb_column_Click(); });
    cmb_row = ui::MakeComboBox(Frame_calibration, "cmb_row");
    cmb_row->onClick([this] { cmb_row_Click(); });
    txt_column_start = ui::MakeTextBox(Frame_calibration, "txt_column_start");
    txt_column_end = ui::MakeTextBox(Frame_calibration, "txt_column_end");
    txt_row_start = ui::MakeTextBox(Frame_calibration, "txt_row_start");
    txt_row_end = ui::MakeTextBox(Frame_calibration, "txt_row_end");
    for (QWidget* box : {txt_column_start, txt_column_end, txt_row_start, txt_row_end}) box->setMinimumWidth(1);
    for (QWidget* list : {cmb_column, cmb_row}) list->setMinimumWidth(1);
    grid->addWidget(new QLabel("Column", Frame_calibration), plate::kColumnListRow, 0, 1, 2);
    grid->addWidget(cmb_column, plate::kColumnListRow, 2, 1, 4);
    grid->addWidget(txt_column_start, plate::kColumnListRow + 1, 1);
    grid->addWidget(txt_column_end, plate::kColumnListRow + 1, 4);
    grid->addWidget(new QLabel("Row", Frame_calibration), plate::kRowListRow, 0, 1, 2);
    grid->addWidget(cmb_row, plate::kRowListRow, 2, 1, 4);
    grid->addWidget(txt_row_start, plate::kRowListRow + 1, 1);
    grid->addWidget(txt_row_end, plate::kRowListRow + 1, 4);
    for (int column : {1, 4}) grid->setColumnStretch(column, 1);
    Frame_calibration->setVisible(false);
    placePanel(Frame_calibration);
}

void MainCameraControls::cmd_camselect_Click(int Index)
{
    // The sequence lets the window run between its commands; a camera chosen meanwhile would
    // start a second sequence whose frames mix with this one's on the port.
    if (camselect_running_ || Index < 0 || Index > 5) return;
    // Chosen while another exchange holds the port: nothing starts (each command of the
    // sequence holds the port in turn, so timer work can run between them).
    if (link::PortBusy()) {
        console().SetStatus(link::kBusy);
        return;
    }
    ui::RunningFlag running(camselect_running_);
    setup_notice.clear();
    // A click refused while the sequence ran is said once more when it ends, where the
    // sequence's own status lines no longer cover it.
    struct NoticeAtEnd {
        MainCameraControls& w;
        ~NoticeAtEnd()
        {
            if (!w.setup_notice.empty()) w.console().SetStatus(w.setup_notice);
        }
    } noticeAtEnd{*this};

    const std::string format = needs_.take_editor_format();
    camera_index = Index;
    for (ui::CommandButton* b : cmd_camselect) b->SetBackColor(kCameraButton);
    cmd_camselect[size_t(Index)]->SetBackColor(kChosenCameraButton);
    for (ui::CommandButton* b : cmd_camselect) b->Refresh();

    platform::Sleep(50);
    needs_.all_leds(kLedSetupLevel);
    platform::Sleep(100);
    put(txt_cam, std::to_string(camera_index));
    console().SetStatus("Selecting camera number=" + std::to_string(camera_index));
    cmd_camera_Click();
    yieldToWindow();

    console().SetStatus("Setting Gain/Exposure");
    SendGain(session().default_gain * 2);
    yieldToWindow();
    const int exposure = session().hardware_generation < 2
                             ? session().default_exposure * 2
                             : int(platform::RoundHalfEven(session().default_exposure * 1.5));
    SendExposure(exposure);
    yieldToWindow();

    console().SetStatus("Setting Well-coordinates");
    cmd_camspeed_Click();
    yieldToWindow();
    cmd_xy_Click();
    yieldToWindow();

    if (!plate_view_shown) {
        console().SetStatus("Acquiring...");
        bool draw = false;
        GrabCameraImage(draw);
        if (!plate_view_shown) {
            console().SetStatus("Auto-adjusting...");
            platform::Sleep(100);
            draw = true;
            GrabCameraImage(draw);
        }
    }
    console().SetStatus("Ready");
    if (!plate_view_shown) {
        platform::Sleep(50);
        needs_.all_leds(0);
        platform::Sleep(100);
    }
    platform::DoEvents();
    if (plate_view_shown) return;

    plate::ReadFormatFiles(plate_, format, console());
    int camera = camera_index, column = 0, row = 0;
    InitRowColumnSelectors(camera, column, row);
    DrawCameraGrid(camera_index);
}

void MainCameraControls::ApplyCameraSettings() { SendCameraSettings(session().camera, console()); }

std::string MainCameraControls::InitRowColumnSelectors(int& camera, int& column, int& row)
{
    if (camera < 0 || camera >= plate::kBandCameras) return "ok";
    const GridTables tables = bandTables();
    const plate::ColumnBands& column_bands = tables.column_bands;
    const plate::RowBands& row_bands = tables.row_bands;
    const size_t c = size_t(camera);
    cmb_column->Clear();
    if (column_bands.first[c] >= 0)
        for (int pos = 0; pos <= column_bands.last[c] - column_bands.first[c] && pos < plate::ColumnBands::kBands; ++pos)
            cmb_column->AddItem(tables.column_labels[c][size_t(pos)]);
    cmb_column->SetListIndex(column);
    put(txt_column_start, std::to_string(column_bands.startOf(camera, column)));
    put(txt_column_end, std::to_string(column_bands.endOf(camera, column)));

    cmb_row->Clear();
    if (row_bands.first[c] >= 0)
        for (int pos = 0; pos <= row_bands.last[c] - row_bands.first[c] && pos < plate::RowBands::kBands; ++pos)
            cmb_row->AddItem(tables.row_labels[c][size_t(pos)]);
    cmb_row->SetListIndex(row);
    put(txt_row_start, std::to_string(row_bands.startOf(camera, row)));
    put(txt_row_end, std::to_string(row_bands.endOf(camera, row)));
    return "ok";
}

void MainCameraControls::SetColumnRange(int& camera, int& column)
{
    if (!plate::ColumnBands::InBounds(camera, column)) return;
    const plate::ColumnBands& column_bands = bandTables().column_bands;
    put(txt_column_start, std::to_string(column_bands.startOf(camera, column)));
    put(txt_column_end, std::to_string(column_bands.endOf(camera, column)));
}

void MainCameraControls::SetRowRange(int& camera, int& row)
{
    if (!plate::RowBands::InBounds(camera, row)) return;
    const plate::RowBands& row_bands = bandTables().row_bands;
    put(txt_row_start, std::to_string(row_bands.startOf(camera, row)));
    put(txt_row_end, std::to_string(row_bands.endOf(camera, row)));
}

void MainCameraControls::cmb_column_Click()
{
    int column = cmb_column->ListIndex();
    if (column < 0) return;
    int camera = camera_index;
    SetColumnRange(camera, column);
}

void MainCameraControls::cmb_row_Click()
{
    int row = cmb_row->ListIndex();
    if (row < 0) return;
    int camera = camera_index;
    SetRowRange(camera, row);
}

}  // namespace tirmo::camera
