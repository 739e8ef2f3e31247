#pragma once
// The heat maps of the saved-data window: the load button and its progress, the frame with the
// summed and kinetic views and the colour options, the time slider with its scan label, and the
// picture's export menu (the picture, the picture sequence and percent_activity.csv).
//
// The object creates its controls on the window it is given, named for the window's layout; the
// picture it draws into, the loaded recording and the window's plot state come through
// HeatMapNeeds, and the window tells the object when the bar plot takes the picture.
#include <QObject>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "reports/HeatMapStore.h"
#include "ui/Forward.h"
#include "ui/OpenExported.h"

class QAction;
class QFrame;
class QMenu;
class QScrollBar;
class QWidget;

namespace tirmo::ui {
class OptionButton;
}

namespace tirmo::reports {

// Shown for a recording whose plate has no heat-map layout.
inline constexpr const char* kHeatMapFormats = "Heat maps are drawn for the plate formats w24, w6 and p35.";
inline constexpr const char* kAreaFileError = "error generating report file";
// A view or export asked for with no heat map loaded, or a sequence without a scan to step to:
// nothing is written, no file is replaced.
inline constexpr const char* kHeatMapNotLoaded = "No heat map is loaded: click Load HeatMAP first. Nothing was written.";
inline constexpr const char* kNoScanToExport = "The heat map holds no scan to step through. Nothing was written.";
inline constexpr const char* kPictureFileName = "image1.bmp";
inline constexpr const char* kSequenceFolder = "bmpseq";
// The status line after an export, each followed by the path of what was written: where the
// picture, the folder of pictures or the area file is, also when no program could open it.
inline constexpr const char* kPictureSaved = "Picture: ";
inline constexpr const char* kPictureNotOpened = "No program could open the picture. It is saved at ";
inline constexpr const char* kPictureNotWritten = "The picture could not be written: ";
inline constexpr const char* kSequenceSaved = "Pictures: ";
inline constexpr const char* kSequenceNotOpened = "No program could open the folder. The pictures are saved in ";
inline constexpr const char* kSequenceNotWritten = "The folder for the pictures could not be made: ";
inline constexpr const char* kAreaSaved = "Area file: ";
inline constexpr const char* kAreaNotOpened = "No program could open the area file. It is saved at ";

// What the window knows of the recording it has loaded.
struct HeatMapRecording {
    std::string folder;
    std::string format;
    std::string project;
    std::string title;
    std::vector<bool> highlight;  // by heat-map well number: wells of the chosen group
};

struct HeatMapNeeds {
    std::function<ui::PictureBox*()> picture;       // Picreal
    std::function<HeatMapRecording()> recording;
    // A heat map now fills the picture: the window takes the bold state from its bar-plot
    // button and remembers what the picture shows.
    std::function<void()> heat_map_shown;
    // The window's status line: where a refused pixel file is damaged, and how many negative
    // counts a load read as pixels without activity.
    std::function<void(const std::string&)> status;
};

class HeatMapControls : public QObject {
    Q_OBJECT
public:
    HeatMapControls(QWidget* client, HeatMapNeeds needs);

    ui::CommandButton* cmd_plotheat = nullptr;
    ui::TextBox* txt_cframe = nullptr;  // the load's progress
    QFrame* frame_heatmap = nullptr;
    ui::CommandButton* cmd_plotheatsum = nullptr;
    ui::CommandButton* cmd_plotheatkin = nullptr;
    std::array<ui::OptionButton*, 3> opt_hetmap_color{};  // B&W, Grey, Colour
    QScrollBar* HScroll_time = nullptr;
    ui::Label* lbl_scan = nullptr;
    QMenu* mn_exporta = nullptr;
    QAction* bmpexporta = nullptr;
    QAction* bmpexporta_seq = nullptr;
    QAction* bmpexporta_csvseq = nullptr;
    // Steps the kinetic playback, one scan a tick.
    ui::Timer* kinetic_timer = nullptr;
    // Handles the clicks that come while a load runs (a Stop among them); tests replace it.
    std::function<void()> process_events;

    // A load, a drawing or the playback is under way; clearing it stops them.
    bool heatmap_running = false;
    bool heatmap_loading = false;
    // The area export is stepping through the scans: frames are drawn in black and white.
    bool percent_recording = false;
    HeatMapStore store;

    // The window opens, or the list loses the recording: no heat-map control is offered.
    void HideControls();
    // A recording was loaded: the load and kinetic buttons are offered, nothing is loaded yet.
    void RecordingLoaded();
    // The bar plot took the picture.
    void BarPlotShown();

    void cmd_plotheat_Click();
    void cmd_plotheatsum_Click();
    void cmd_plotheatkin_Click();
    void HScroll_time_Change();
    void Picreal_MouseDown(int button, int shift, double x, double y);
    void bmpexporta_Click();
    void bmpexporta_seq_Click();
    void bmpexporta_csvseq_Click();
    // mode 0 the summed map, 1 the scan at slider position scan (from 1: the scan numbered
    // scan - 1). scan is clamped in place.
    void DrawHeatmapFrame(int mode, int& scan);

private:
    void kineticTick();
    void stopKinetic();
    void putSlider(int position);
    void setBold(ui::CommandButton* button, bool bold);
    bool savePicture(const std::string& path) const;
    // Puts text on the window's status line; an empty text leaves the line as it is.
    void tell(const std::string& text) const;
    void opened(const std::string& path, const ui::ExportTexts& texts);
    // True when the export must write nothing: says why when nothing is loaded, or when a
    // sequence would have no position to write.
    bool nothingToExport(bool sequence) const;

    HeatMapNeeds needs_;
    std::atomic<bool> stopLoad_{false};
    int kineticNext_ = 0, kineticLast_ = 0;
};

}  // namespace tirmo::reports
