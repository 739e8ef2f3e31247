#pragma once
// Projects as the project panel lists, names and renames them. A project is a folder directly
// under reports. "New" names it "p", the creation date "yyyymmdd", "_" and the safe form of the
// typed name; only such dated projects can be renamed, and a rename keeps the dated prefix.
#include <chrono>
#include <string>
#include <vector>

namespace tirmo::project {

inline constexpr int kProjectNameMin = 2;    // characters of a typed new-project name
inline constexpr int kProjectNameMax = 100;

inline constexpr const char* kNewProjectPrompt = "Enter a name for your project";
inline constexpr const char* kNewProjectTitle = "New project creation";
inline constexpr const char* kNameTooShort = "Invalid name. Write a longer name for your project. minimum len=2char";
inline constexpr const char* kNameTooLong = "Invalid name. Write a shorter name for your project. maximum len=100char";
inline constexpr const char* kRenamePrompt = "Project Name:";
inline constexpr const char* kRenameTitle = "Project Rename";
inline constexpr const char* kRenameDuringRun = "A run is in progress. Rename the project when it has ended";
inline constexpr const char* kChooseDuringRun = "A run is in progress. Choose another project when it has ended";
inline constexpr const char* kSetupReadError = "error reading project setup file";
inline constexpr const char* kSetupWriteError = "Error creating project folder/setup";
inline constexpr const char* kProjectNotListed = "last project folder not found!";
inline constexpr const char* kLastProjectMissing = "Last project folder Not found!. setting default...";

// Whether a folder of reports of that name is a project: a name longer than two characters and
// without a dot. The project list and the saved acquisitions' list both keep to it, so that a
// project is in both or in neither.
bool IsProjectFolderName(const std::string& name);
// The folders of reports that are projects, sorted by name: folders only (a file is never a
// project) with a project's name.
std::vector<std::string> ListProjects();
// Whether a name would be listed by ListProjects (letter case ignored, as the data folders are
// matched); the listed spelling, or "" when it is not a project.
std::string ListedProject(const std::string& name);

// What a typed new-project name amounts to by its length in characters (bytes: texts are
// Latin-1): nothing at all, too short, too long, or a name to use.
enum class NameLength { Empty, TooShort, TooLong, Fine };
NameLength CheckProjectNameLength(const std::string& typed);

// default_project with its set-up ("acq_time=30", "plate_format=w6", "temperature=20") when
// it is missing; an existing one is left as it is. False when it could not be made.
bool CreateDefaultProject();

// "p20250720_my_test_1" for "My Test 1" typed on 20 July 2025 (local date).
std::string NewProjectName(std::chrono::system_clock::time_point when, const std::string& typed);

// A project that "New" made: "p", eight digits and "_" in its first ten characters.
bool IsDatedProject(const std::string& project);
// The name part of a dated project as the rename offers it: from character 11 on, every "_"
// shown as a blank ("p20250720_my_test_1" offers "my test 1").
std::string RenameOffer(const std::string& project);
// The new name of a dated project: its ten-character prefix and the safe form of the answer.
std::string RenamedProject(const std::string& project, const std::string& answer);

}  // namespace tirmo::project
