#include "app/ProductInfo.h"

namespace tirmo::app {

std::string VersionText() { return std::string(kProductName) + " " + kVersionText; }

std::string AboutText()
{
    return std::string(kProductName) + "\r" + kVersionText + "\r" + "Instrument designed by Quelvano Instruments [Quelvania]" + "\r" +
           "Software by the Quelvano development team" + "\r" + "\r" + "support@quelvano.example";
}

bool AdministratorPassword(std::string_view answer) { return answer == "Tovel7391"; }

}  // namespace tirmo::app
