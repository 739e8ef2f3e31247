#pragma once
// Reading and writing files of the program folder in tests, byte for byte.
#include <string>

namespace tirmo::test {

// The bytes of a file under the program folder ("config/w6_col.dat"); empty when missing.
std::string ReadProgramFile(const std::string& relative);
// Writes text as it stands, creating the folders on the way.
void WriteProgramFile(const std::string& relative, const std::string& text);

}  // namespace tirmo::test
