#pragma once
// The main window's display of the blank measurement in use and the run's blank and reference
// tables, and the current project. The object creates its labels on the window's client area (the window's tree moves
// them into the run panel) and reads the blank store of the console's session's instrument.
#include <string>
#include <vector>

#include "link/Protocol.h"
#include "ui/Forward.h"

class QWidget;

namespace tirmo::project {

class ProjectControls {
public:
    ProjectControls(link::Console& console, QWidget* client);

    // The first line of the blank file of a format in the blank store ("" when missing), and
    // its display as the blank's time and name.
    std::string ReadBlankHeader(const std::string& format);
    void ShowBlankInfo(const std::string& header);

    // The project the reports folder is read for; the start-up loads it and the shutdown saves
    // it for the instrument's serial number.
    std::string current_project;

    std::string blank_header;
    std::vector<int> blank_values = std::vector<int>(385);
    int blank_lapse = 0;
    int blank_run = 0;
    std::vector<double> reference_factor = std::vector<double>(385, 1.0);
    ui::Label* label_blank = nullptr;   // "Using blank [w6]:"
    ui::Label* lbl_blanktime = nullptr;
    ui::Label* lbl_blankname = nullptr;
    // The blank of a plate format as the run panel shows it: its caption, header, time and name.
    void ShowBlankOf(const std::string& format);
    // The end of a blank run: the run's activity becomes the store blank of the format (with
    // its message box or status line), and the run panel shows the blank now in use.
    void SaveBlankRun(const std::string& runFolder, const std::string& format, double minutes);

private:
    link::Console& console_;
};

}  // namespace tirmo::project
