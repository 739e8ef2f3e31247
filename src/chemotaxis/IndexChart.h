#pragma once
// The frame every chemotaxis index chart is drawn in: time steps across, the index from -1 to 1
// upwards, two red axes, a bold title, the labels "1", "0" and "-1" and the caption "Time[m]".
// The processing draws the index series and the time marks into it and saves the picture.
#include <string>

#include "chemotaxis/Canvas.h"

namespace tirmo::chemotaxis {

// Clears the canvas and draws the frame of a chart spanning steps 0..steps. A chart of no step
// is drawn as one of a single step, so that it still has a scale.
void PlotIndexChart(Canvas& chart, const std::string& title, int steps);

// The series from (step - 1, previous) to (step, index), in black.
void DrawIndexStep(Canvas& chart, int step, double previous, double index);
// A red tick at a marked step with its time in whole minutes under the axis.
void DrawTimeMark(Canvas& chart, int step, double minutes);

}  // namespace tirmo::chemotaxis
