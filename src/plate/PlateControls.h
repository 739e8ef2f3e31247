#pragma once
// The main window's plate: the format in use and its tables (layout file, band files, well
// labels: the shared plate state), the plate map on the camera's picture, the well groups with their list, block menu and
// chgroup.dat, the band editor of the well-calibration panel and the plate-format change. What it
// needs of the camera (its pictures, the calibration panel and band selectors, the set-up
// sequence), of the run panel, of the project and of the run comes through PlateNeeds, handed
// over at construction.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/Protocol.h"
#include "plate/BandTables.h"
#include "plate/PlateMap.h"
#include "plate/PlateState.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"
#include "ui/FilterHandle.h"
#include "ui/Forward.h"

class QAction;
class QMenu;
class QWidget;

namespace tirmo::plate {

struct PlateNeeds {
    // Camera: the picture the plate map is drawn on and the one of the activity chart, the
    // calibration panel (its grid) the band editor goes in, and that panel's band selectors.
    ui::PictureBox* map_picture = nullptr;
    ui::PictureBox* chart_picture = nullptr;
    QWidget* calibration_panel = nullptr;
    ui::ComboBox* cmb_column = nullptr;
    ui::ComboBox* cmb_row = nullptr;
    ui::TextBox* txt_column_start = nullptr;
    ui::TextBox* txt_column_end = nullptr;
    ui::TextBox* txt_row_start = nullptr;
    ui::TextBox* txt_row_end = nullptr;
    // Camera: the camera shown (0..5), the set-up sequence (run, running, its notice), the band
    // selectors filled for a camera, and the camera picture with its grid drawn again. The lines
    // and pixels of its read-out window are the session's camera set-up.
    std::function<int()> camera_index;
    std::function<void(int camera)> set_camera_index;
    std::function<void(int camera)> camera_setup;
    std::function<bool()> setup_running;
    std::function<void(const std::string& notice)> set_setup_notice;
    std::function<void(int& camera, int& column, int& row)> init_band_selectors;
    std::function<void()> redraw_camera_view;
    // The window: the run panel's format box and the menu the camera entries go in.
    ui::ComboBox* cmb_well = nullptr;
    QMenu* menu_view = nullptr;
    // Project: the blank shown for a format.
    std::function<void(const std::string& format)> show_blank_of;
    // The run and the project: the counted window's tables and the blank and reference terms of
    // an activity picture (camera 0..5, window 0..8; the window's tables only in range).
    std::function<void(WindowActivity& run, int camera, int window)> fill_activity;
};

class PlateControls {
public:
    // The group controls and the timer go on client. The cameras in use are the session's run
    // settings: the map reads them and the camera entries change them. The panel shows and edits
    // the shared plate state.
    PlateControls(link::Console& console, PlateState& plate, QWidget* client, PlateNeeds needs);
    ~PlateControls();

    link::Console& console() const { return console_; }
    // The plate format the run is set to (the session's run settings, shown in cmb_well).
    const std::string& runFormat() const { return console_.session().run_settings.PlateFormat(); }
    void SetStatus(const std::string& text) { console_.SetStatus(text); }
    const PlateNeeds& needs() const { return needs_; }

    // The lines and pixels of the camera's read-out window, as the session's camera set-up has
    // them.
    long FrameLines() const;
    long FramePixels() const;

    // Plate format in use and its tables; readers report what they skipped in txt_status.
    void SetCurrentFormat(const std::string& format);
    void ReadPlateSpec(const std::string& format);
    void ReadFormatFiles(const std::string& format);
    void WriteFormatFiles(const std::string& format);
    // Start-up: the default plate layout files (_spc.dat) missing in config.
    void WriteMissingSpecFiles();

    // Plate map on Picact (and the camera window chart on Picact2).
    void DrawPlateLayout(const std::string& format);
    void DrawDisabledWells(int well);
    void DrawWell(int well);
    void RedrawAllWells();
    void DrawPlateWells(int camera, int window);
    void DrawPlateActivity(double minutes, int camera, int window, int mode);
    void BuildColorScale();
    void ResetPlatePicture();
    void DrawActivityChart(int camera, int window);

    // Well groups: the shared tables, chgroup.dat, the group list, the block menu and the
    // mouse selection on the map.
    void LoadWellGroups(const std::string& folder);
    void ReadWellGroups(const std::string& folder);
    bool SaveWellGroups(const std::string& folder);
    void BuildGroupList(int group);
    void BuildGroupOptionMenu();
    // False, with the groups left alone and a status line, for a block that does not divide
    // the plate.
    bool GroupWellsInBlocks(const std::string& caption);
    void ClearGroups();
    void Picact_MouseDown(int button, int shift, double x, double y);
    void Picact_MouseUp(int button, int shift, double x, double y);
    void combogrup_DblClick();
    void combogrup_KeyPress(int key);
    void Cmd_clear_Click();
    void mnopciongrup_Click(int index);

    // Band editing, the well-area check, saving and the plate-format change.
    void col_start_menos_Click();
    void col_start_mas_Click();
    void col_end_menos_Click();
    void col_end_mas_Click();
    void row_start_menos_Click();
    void row_start_mas_Click();
    void row_end_menos_Click();
    void row_end_mas_Click();
    // Typed entry of the selected column band's start: Enter (13) applies it; leaving the box
    // applies it, or shows the stored start again when the box is empty.
    void txt_column_start_KeyPress(int key);
    void txt_column_start_LostFocus();
    void ShowWellAreaPercent();
    void cmd_grabarconfig_Click();
    void cmb_formatplate_Click();
    void cmb_well_Click();
    void cam_disabled_Click(int Index);
    void cmd_goset_Click();
    void Timer5_Timer();

    // The shared plate state, under the names the panel's code uses.
    plate::PlateState& state;
    std::string& current_format;
    plate::WellTable& well_table;
    plate::ColumnBands& column_bands;
    plate::RowBands& row_bands;
    plate::ColumnLabels& column_labels;
    plate::RowLabels& row_labels;
    std::string& bands_format;
    plate::WellGroups& groups;
    int plate_rows = 2;
    int plate_columns = 3;
    // The report panel's group tables, read from a saved acquisition.
    plate::WellGroups report_groups;
    std::unique_ptr<plate::PlateMap> plate_map;
    int colour_count = 6;
    std::array<uint32_t, 7> colour_table{};
    bool drag_active = false;
    int drag_start_row = 0;
    int drag_start_column = 0;
    std::array<std::string, 25> block_options;

    ui::ComboBox* cmb_formatplate = nullptr;  // format of the band editor
    ui::TextArea* txt_well_percent = nullptr;
    ui::CommandButton* col_start_menos = nullptr;
    ui::CommandButton* col_start_mas = nullptr;
    ui::CommandButton* col_end_menos = nullptr;
    ui::CommandButton* col_end_mas = nullptr;
    ui::CommandButton* row_start_menos = nullptr;
    ui::CommandButton* row_start_mas = nullptr;
    ui::CommandButton* row_end_menos = nullptr;
    ui::CommandButton* row_end_mas = nullptr;
    ui::CommandButton* cmd_grabarconfig = nullptr;  // "Save->Next Area"
    ui::Timer* Timer5 = nullptr;                    // one-shot redraw of the camera view
    ui::TextBox* txt_nrow = nullptr;
    ui::TextBox* txt_ncol = nullptr;
    QWidget* frame_group = nullptr;
    ui::SimpleComboBox* combogrup = nullptr;         // "Group Names:"
    ui::CommandButton* Cmd_clear = nullptr;          // "CLEAR LIST"
    ui::CommandButton* cmd_goset = nullptr;          // "AUTO-ARRANGE"
    QMenu* mngroup = nullptr;
    std::array<QAction*, 24> mnopciongrup{};
    std::array<QAction*, 6> cam_disabled{};          // "DISABLE CAM0 (A1)" ..


private:
    ui::FilterHandle column_start_events_;
    ui::FilterHandle group_list_events_;
    void buildBandEditor();
    void buildGroupControls(QWidget* client);
    link::Console& console_;
    PlateNeeds needs_;
};

}  // namespace tirmo::plate
