#pragma once
// What a window says after it wrote a file for the user (a report, a picture, a folder of them)
// and handed it to the desktop's program: where the file is, always, and that no program could
// open it when none could. The opener may start and still find no program for the file type; it
// tells so by its exit status, which comes when it ends, while the window goes on.
#include <QObject>

#include <functional>
#include <string>

namespace tirmo::ui {

struct ExportTexts {
    std::string opened;      // followed by the path: the file went to its program
    std::string not_opened;  // followed by the path: no program could open it
};

// Opens path with the desktop's program and tells texts.opened and the path, or texts.not_opened
// and the path when the opener could not start, with note in brackets behind either when there is
// one; and, on owner's thread, texts.not_opened and the path when the opener ends without a
// program. Nothing is told once owner is gone.
void OpenExported(QObject* owner, const std::string& path, const ExportTexts& texts,
                  std::function<void(const std::string&)> tell, const std::string& note = {});

}  // namespace tirmo::ui
