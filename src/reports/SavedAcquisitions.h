#pragma once
// The saved acquisitions as the main window's list shows them: every folder of the program's
// reports folder that the project list shows is a project, and every folder of a project named by its start stamp
// ("yyyymmdd_hhmmss" and the acquisition's file-safe name) that holds current_activity.txt is
// an acquisition. The row texts are what other code reads back (a joint report finds its
// acquisitions by them), so their form is fixed:
//   project row:     "+ " yyyy.mmdd of its first acquisition (8 blanks without one) TAB name
//   acquisition row: "  > " yyyy.mmdd TAB " ACQ" hh:mm " " and the title in double quotes
#include <set>
#include <string>
#include <vector>

namespace tirmo::reports {

// The project folders of a reports folder, by name, as the project list has them (files and
// names the project list leaves out are no projects).
std::vector<std::string> ProjectFolders(const std::string& reportsFolder);
// The stamped folders of a project folder, by name (start-time order), whether or not they
// hold a recording.
std::vector<std::string> StampedFolders(const std::string& projectFolder);

// "yyyy.mmdd" from a stamped folder name, eight blanks for an empty one.
std::string StampDate(const std::string& folderName);
// "hh:mm" from a stamped folder name.
std::string StampTime(const std::string& folderName);

std::string ProjectRowText(const std::string& project, const std::string& firstAcquisition);
std::string AcquisitionRowText(const std::string& folderName, const std::string& title);

// One row of the list and what it stands for; the window keeps these beside the row texts, so
// that a double-click opens the very folder of the row even when two acquisitions of a project
// began in the same minute.
struct BrowserRow {
    bool project = true;
    std::string project_name;
    std::string acquisition;  // the acquisition's folder name; empty on a project row
    std::string text;
};

// Every project, each followed by its acquisitions when it is in expanded. Without
// emptyProjects, a project that has no stamped folder is left out.
std::vector<BrowserRow> BrowserRows(const std::string& reportsFolder, const std::set<std::string>& expanded,
                                    bool emptyProjects = true);

// The stamp of a folder's current_activity.txt: its first line up to the first blank (the
// whole line when the first blank is its first character, or there is none), without double
// quotes; empty when the file is missing.
std::string ReadCurrentActivityDate(const std::string& folder);

}  // namespace tirmo::reports
