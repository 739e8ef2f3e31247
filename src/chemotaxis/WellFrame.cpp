#include "chemotaxis/WellFrame.h"

#include <algorithm>

namespace tirmo::chemotaxis {

void DrawWellFrame(Canvas& frame, const FrameGrid& grid, const std::string& caption, const FrameLook& look)
{
    const int w = grid.width(), h = grid.height();
    frame.Scale(0, std::max(w, 1), std::max(h, 1), 0);
    frame.Clear();
    if (look.red_cross) {
        frame.Line(0, w / 2.0, h, w / 2.0, qRgb(255, 0, 0));
        frame.Line(h / 2.0, 0, h / 2.0, w, qRgb(255, 0, 0));
    }
    frame.Print(0, w, caption, 8, false, qRgb(0, 0, 0));
    for (int y = 0; y <= h; ++y) {
        for (int x = 0; x <= w; ++x) {
            const int32_t v = grid.at(x, y);
            if (v > 0)
                frame.Line(y, x, y + 1, x + 1, qRgb(std::min<int32_t>(v, 255), 0, 0));
            else if (v < 0 && look.grey)
                frame.FilledBox(y, x, y + 1, x + 1, qRgb(200, 200, 200));
        }
    }
}

}  // namespace tirmo::chemotaxis
