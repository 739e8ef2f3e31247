#include <QApplication>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "app/Frm_acquire.h"
#include "app/Program.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr const char* kHelp =
    "Usage: tirmo [--folder DIR] [toolkit options]\n"
    "\n"
    "Control and analysis program of the tirmo microplate activity instrument. It opens a window,\n"
    "so it needs a desktop (a display); QT_QPA_PLATFORM=offscreen runs it without one.\n"
    "\n"
    "Options:\n"
    "  --folder DIR   program folder (config.txt, config, config_SN<n>, reports); it is created\n"
    "                 when missing\n"
    "  --help, -h     show this text and exit\n"
    "  The toolkit's own options (for instance -platform offscreen) are taken as well.\n"
    "\n"
    "Environment:\n"
    "  TIRMO_HOME       program folder when --folder is not given\n"
    "  XDG_DATA_HOME    else the program folder is $XDG_DATA_HOME/tirmo (~/.local/share/tirmo)\n"
    "  TIRMO_COM<n>     device that COM<n> opens (TIRMO_COM4=/dev/pts/3); set but empty, there is\n"
    "                   no COM<n>. Otherwise COM1-COM6 are /dev/ttyUSB0-5, COM7-COM10\n"
    "                   /dev/ttyACM0-3 and COM11-COM16 /dev/ttyS0-5.\n"
    "  LC_ALL, LC_NUMERIC, LANG\n"
    "                   the locale: files meant for the user's own programs (tempfactor.dat, run\n"
    "                   records) are written with its decimal separator; every file and box is\n"
    "                   read with \".\" or \",\" alike\n"
    "  LC_ALL, LC_CTYPE, LANG\n"
    "                   the locale's codeset: reports are written in UTF-8 under a UTF-8\n"
    "                   locale, else in Latin-1\n";

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--folder") ++i;  // its value is a folder name, whatever it reads
        else if (a == "--help" || a == "-h" || a == "-help") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    // Before the toolkit starts: the help needs no display.
    if (wantsHelp(argc, argv)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // The toolkit has switched the C library to the user's locale. Numbers are converted
    // without it everywhere; keeping the C library's numbers in the C locale as well means that
    // no conversion can come to depend on the machine the program runs on.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("tirmo");
    const std::string folder = tirmo::platform::ChooseProgramFolder(argc, argv);
    tirmo::platform::MakeFolder(folder);
    tirmo::platform::SetProgramFolder(folder);

    // The instrument state every window shares, made once and outliving them all.
    tirmo::app::InstrumentState instrument;
    tirmo::app::Frm_acquire window(instrument);
    return tirmo::app::RunProgram(window);
}
