#pragma once
// LED maps for the calibration tests: a board's layout as its default layout file numbers it,
// and where each LED of a later board's 9 x 7 block lights a "w6" camera frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>

#include "lighting/LedMap.h"

namespace tirmo::lighting::test {

// Every LED of the board at one power, camera and block place from the default layout.
inline LedMap LayoutMap(int generation, int power)
{
    LedMap map;
    const auto lines = generation == 1 ? LedSetup1Lines() : LedSetup2Lines();
    for (size_t i = 2; i < lines.size(); ++i) {
        int camera = 0, led = 0, colcam = 0, filcam = 0;
        EXPECT_EQ(std::sscanf(lines[i].c_str(), "%d,%d,%d,%d", &camera, &led, &colcam, &filcam), 4);
        map.camera[size_t(led)] = camera;
        map.colcam[size_t(led)] = colcam;
        map.filcam[size_t(led)] = filcam;
    }
    map.power.fill(power);
    return map;
}

// Band i (from 0) of lo..hi cut into n bands of (nearly) equal width.
inline std::pair<int, int> Band(int lo, int hi, int n, int i)
{
    const double w = double(hi - lo + 1) / n;
    return {lo + int(std::lround(w * i)), lo + int(std::lround(w * (i + 1))) - 1};
}

struct Rect {
    int x1 = -1, x2 = -1, y1 = -1, y2 = -1;
};

// The image rectangle of the LED at (colcam, filcam): colcam 1..4 over the first half of the
// "w6" column band (image x 6..73), 5..9 over the second (74..141); filcam 1..4 over the first
// half of the row band (image y 10..87), 5..7 over the second (88..165). LEDs without a block
// place light nothing (-1, as the light alignment stores a band it did not find).
inline Rect W6LedRect(int colcam, int filcam)
{
    if (colcam < 1 || colcam > 9 || filcam < 1 || filcam > 7) return {};
    const auto [x1, x2] = colcam <= 4 ? Band(6, 73, 4, colcam - 1) : Band(74, 141, 5, colcam - 5);
    const auto [y1, y2] = filcam <= 4 ? Band(10, 87, 4, filcam - 1) : Band(88, 165, 3, filcam - 5);
    return {x1, x2, y1, y2};
}

}  // namespace tirmo::lighting::test
