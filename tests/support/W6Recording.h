#pragma once
// The w6 acquisition the report tests share: 6 wells in two groups of three, 5 scans 5 minutes
// apart, a blank of 60 minutes, internal-reference factors and one spike (B1 in scan 3). Its
// files are written as a run and the blank and factor stores leave them.
#include <string>

namespace tirmo::test {

// Writes the acquisition into folder (which must exist).
void WriteW6Recording(const std::string& folder);

}  // namespace tirmo::test
