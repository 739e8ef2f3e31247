#pragma once
// The raw frame export: the segments of camera 0, window 0's raw frame file (lastread00.csv)
// that stand between runs of three commas, gathered by their place in the line, written one
// block after the other into bmp_last\1.csv. Every segment a line holds is written, however many.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::chemotaxis {

// The segments of one line: each begins behind a ",,," and ends in front of the next one, or at
// the end of the line. The text in front of the first ",,," is no segment.
std::vector<std::string_view> RawSegments(std::string_view line);

// Writes <folder>/bmp_last/1.csv from <folder>/lastread00.csv: each block starts with an empty
// line, holds the k-th segment of every line that has one, and is followed by three line breaks.
// The target folder when written; nullopt when the source is missing (nothing is written) or the
// target could not be written.
std::optional<std::string> ExportRawFrames(const std::string& acquisition_folder);

}  // namespace tirmo::chemotaxis
