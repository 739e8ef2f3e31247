#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <string>

namespace tirmo::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace tirmo::test
