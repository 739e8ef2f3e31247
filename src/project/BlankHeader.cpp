#include "project/BlankHeader.h"

#include "platform/TextFile.h"
#include "project/BlankFile.h"
#include "project/CorrectionFolders.h"

namespace tirmo::project {
namespace {

// Characters from position `from` (1-based), `count` of them, as far as the text goes.
std::string mid(const std::string& s, size_t from, size_t count = std::string::npos)
{
    if (from < 1 || from > s.size()) return {};
    return s.substr(from - 1, count);
}

}  // namespace

std::string BlankFilePath(const std::string& format, int serialNumber)
{
    return InFolder(BlankStoreFolder(serialNumber), BlankFileName(format));
}

std::string ReadBlankHeader(const std::string& format, int serialNumber)
{
    const auto lines = platform::ReadLines(BlankFilePath(format, serialNumber));
    if (!lines || lines->empty()) return {};
    return lines->front();
}

BlankInfo BlankInfoOf(const std::string& header)
{
    if (header.empty() || header == "none") return {"none", ""};
    BlankInfo info;
    info.time = mid(header, 1, 4) + "." + mid(header, 5, 2) + "." + mid(header, 7, 2) + " " + mid(header, 10, 2) +
                ":" + mid(header, 12, 2) + "h";
    info.name = mid(header, 16);
    for (char& c : info.name)
        if (c == '_') c = ' ';
    return info;
}

}  // namespace tirmo::project
