#include "app/MainLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/MainContainers.h"

using namespace tirmo::app;

namespace {

MainLayout At(double width, double height) { return *ComputeMainLayout(width, height, false); }

// Every coordinate the table gives for a control, in one list, for comparing tables.
std::vector<double> Values(const ControlPlacement& p)
{
    std::vector<double> v;
    for (const auto& o : {p.left, p.top, p.width, p.height, p.x1, p.y1, p.x2, p.y2}) v.push_back(o.value_or(-1e9));
    return v;
}

}  // namespace

TEST(MainLayout, MinimisedWindowGetsNoLayout)
{
    EXPECT_FALSE(ComputeMainLayout(kMainDesignWidth, kMainDesignHeight, true).has_value());
    EXPECT_TRUE(ComputeMainLayout(kMainDesignWidth, kMainDesignHeight, false).has_value());
}

// The controls that only move keep their designed size; the raw-reply label is only hidden.
TEST(MainLayout, PanelsThatOnlyMoveKeepTheirSize)
{
    const MainLayout layout = At(kMainDesignWidth, kMainDesignHeight);
    for (const char* name : {"frmtempcal", "frame_flash", "Frm_report", "frm_calibrate", "frm_confirmacq"}) {
        const ControlPlacement& p = layout.controls.at(name);
        EXPECT_TRUE(p.left && p.top) << name;
        EXPECT_FALSE(p.width || p.height) << name;
    }
    const ControlPlacement& rx = layout.controls.at("lblrx");
    EXPECT_TRUE(rx.hidden);
    EXPECT_FALSE(rx.left || rx.top || rx.width || rx.height);
    int hidden = 0;
    for (const auto& [name, p] : layout.controls) hidden += p.hidden;
    EXPECT_EQ(hidden, 1) << "the layout hides nothing but lblrx";

    // The three panels that open one at a time share one place, which the name confirmation
    // does not keep.
    const double sharedLeft = 2 * 3038 + 1012, sharedTop = 3 * 465 + 266;
    for (const char* name : {"frmtempcal", "frame_flash", "Frm_report"}) {
        EXPECT_EQ(*layout.controls.at(name).left, sharedLeft) << name;
        EXPECT_EQ(*layout.controls.at(name).top, sharedTop) << name;
    }
    EXPECT_EQ(*layout.controls.at("frm_confirmacq").left, 1012 + 1.5 * 3038);
    EXPECT_EQ(*layout.controls.at("frm_confirmacq").top, 266 + 3.75 * 465);
}

// A window too large for the 16-bit products is laid out as the largest one that fits: every
// whole product stays positive and in range instead of wrapping to a negative place.
TEST(MainLayout, HugeWindowIsLaidOutAsTheLargestThatFits)
{
    const MainLayout largest = At(LargestGridWidth(), LargestGridHeight());
    for (const auto& size : {std::pair{34490.0, 40332.0}, std::pair{500000.0, 500000.0}, std::pair{1e300, 1e300}}) {
        const MainLayout huge = At(size.first, size.second);
        ASSERT_EQ(huge.controls.size(), largest.controls.size());
        for (const auto& [name, p] : huge.controls) EXPECT_EQ(Values(p), Values(largest.controls.at(name))) << name;
    }
    for (const auto& [name, p] : largest.controls)
        for (double v : Values(p))
            if (v != -1e9) {
                EXPECT_GE(v, -2) << name;  // the frame alone starts two twips before the margin
                EXPECT_LE(v, 40331) << name;
            }
    EXPECT_EQ(*largest.controls.at("Shape5").width, 6 * 5173 + 4);
    EXPECT_EQ(*largest.controls.at("Line5").x2, 32762 - 8);
    EXPECT_EQ(*largest.controls.at("lbl_lenrx").top, 32760);
}

TEST(MainLayout, TooSmallWindowsShareTheFloorLayout)
{
    const MainLayout floor = At(640, 480);
    for (const auto& size : {std::pair{600.0, 5000.0}, std::pair{5000.0, 479.0}, std::pair{0.0, 0.0}}) {
        const MainLayout small = At(size.first, size.second);
        for (const auto& [name, p] : small.controls) EXPECT_EQ(Values(p), Values(floor.controls.at(name))) << name;
    }
    // Just above the floor the layout follows the size again.
    EXPECT_NE(*At(660, 480).controls.at("frame_main").width, *floor.controls.at("frame_main").width);
}

// Every control the layout places has a container that is itself part of the window's tree, so
// applying the table by name finds a parent for each.
TEST(MainLayout, EveryContainerBelongsToTheTree)
{
    const MainLayout layout = At(kMainDesignWidth, kMainDesignHeight);
    std::set<std::string> containers;
    for (const auto& [name, p] : layout.controls) {
        const std::string* known = ContainerOf(name);
        ASSERT_NE(known, nullptr) << name;
        EXPECT_EQ(*known, p.container) << name;
        if (!p.container.empty()) containers.insert(p.container);
    }
    for (const std::string& c : containers) EXPECT_NE(ContainerOf(c), nullptr) << c;
    EXPECT_EQ(ContainerOf("no_such_control"), nullptr);
    EXPECT_EQ(*ContainerOf("Frame_select"), "Picact2");
    EXPECT_EQ(*ContainerOf("cmd_closeoffline"), "frame_offline");
    EXPECT_EQ(layout.controls.count("cmd_closeoffline"), 0u) << "designed in place, never moved";
}
