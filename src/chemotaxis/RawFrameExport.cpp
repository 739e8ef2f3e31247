#include "chemotaxis/RawFrameExport.h"

#include <fstream>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"

namespace tirmo::chemotaxis {

std::vector<std::string_view> RawSegments(std::string_view line)
{
    std::vector<std::string_view> segments;
    size_t at = line.find(",,,");
    while (at != std::string_view::npos) {
        const size_t start = at + 3;
        const size_t next = line.find(",,,", start);
        segments.push_back(line.substr(start, next == std::string_view::npos ? std::string_view::npos : next - start));
        at = next;
    }
    return segments;
}

std::optional<std::string> ExportRawFrames(const std::string& acquisition_folder)
{
    const std::string folder = platform::ResolvePath(acquisition_folder);
    std::ifstream source(reports::InFolder(folder, "lastread00.csv"), std::ios::binary);
    if (!source) return std::nullopt;
    const std::string target = reports::InFolder(folder, "bmp_last");
    platform::MakeFolder(target);

    std::vector<std::string> blocks;
    std::string line;
    while (std::getline(source, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto segments = RawSegments(line);
        if (segments.size() > blocks.size()) blocks.resize(segments.size());
        for (size_t k = 0; k < segments.size(); ++k) {
            blocks[k] += "\r\n";
            blocks[k] += segments[k];
        }
    }
    platform::TextFileWriter out(reports::InFolder(target, "1.csv"));
    for (const std::string& block : blocks) {
        out.Raw(block);
        for (int k = 0; k < 3; ++k) out.Line("");
    }
    if (!out.ok() || !out.Commit()) return std::nullopt;
    return target;
}

}  // namespace tirmo::chemotaxis
