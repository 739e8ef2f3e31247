// The saved-data window's controls placed from the main window's size.
#include <gtest/gtest.h>

#include <QListWidget>

#include "app/Frrm_offline.h"
#include "link/Session.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

// 640 x 480: L 32, T 12, a column 96 and a row 21 pixels.
const std::map<std::string, QRect> kSmallest = {
    {"lbl_status", {49, 18, 48, 14}},        {"cmd_closeoffline", {464, 18, 120, 14}},
    {"frame_offline", {44, 49, 413, 189}},   {"Listpj", {5, 21, 408, 136}},
    {"cmd_report", {317, 160, 96, 14}},      {"Picreal", {140, 232, 317, 168}},
    {"combogrup", {44, 264, 72, 105}},       {"opt_hetmap_color_2", {5, 32, 48, 10}},
    {"Shape5", {30, 10, 580, 414}},          {"Line5", {QPoint(32, 43), QPoint(600, 43)}},
    {"Frm_report", {224, 75, 0, 0}},
};

TEST(SavedDataLayout, TheMainWindowsSizeGivesThePlacesAndBelow640x480TheSmallestLayout)
{
    struct Case {
        int width, height;
        bool smallest;
    };
    for (const Case c : {Case{640, 480, true}, Case{639, 900, true}, Case{1200, 479, true}, Case{700, 520, false}}) {
        const auto places = OfflineGeometry(c.width, c.height);
        for (const auto& [name, rect] : kSmallest)
            EXPECT_EQ(places.at(name) == rect, c.smallest) << c.width << "x" << c.height << " " << name;
    }
    const auto large = OfflineGeometry(1350, 709);  // L 68, T 18, a column 202, a row 31
    EXPECT_EQ(large.at("Picreal"), QRect(295, 344, 667, 248));
    EXPECT_EQ(large.at("txt_status"), QRect(184, 27, 737, 20));
}

TEST(SavedDataLayout, AMinimisedMainWindowLeavesEveryControlWhereItIs)
{
    InstrumentState instrument;
    QWidget main;
    main.resize(640, 480);
    Frrm_offline window(instrument, &main);
    window.Form_Load();
    EXPECT_EQ(window.browser->Listpj->geometry(), kSmallest.at("Listpj"));
    main.resize(1350, 709);
    main.setWindowState(Qt::WindowMinimized);
    window.LayoutControls();
    EXPECT_EQ(window.browser->Listpj->geometry(), kSmallest.at("Listpj"));
    main.setWindowState(Qt::WindowNoState);
    window.LayoutControls();
    EXPECT_EQ(window.Picreal->geometry(), QRect(295, 344, 667, 248));
}

}  // namespace
}  // namespace tirmo::app
