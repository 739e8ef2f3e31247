#pragma once
// Where the factory window's controls go for a given window size: the main window's grid, with
// the window's size and nine tenths of it held in 16 bits. A window wider or taller than 32767
// twips is laid out as one of 32767 (clamped, never wrapped into negative positions); there is
// no minimised case, the factory window lays itself out whatever its state.
#include "app/MainLayout.h"

namespace tirmo::app {

inline constexpr long long kFactorySizeLimit = 32767;

// The grid of a factory window of width x height twips (its client area).
LayoutGrid ComputeFactoryGrid(double width, double height);

// The placements of the factory window's controls (same table form as the main window's).
MainLayout ComputeFactoryLayout(double width, double height);

// The client area the factory window opens with when the screen has room for it, in twips.
inline constexpr double kFactoryDesignWidth = 16500;
inline constexpr double kFactoryDesignHeight = 12000;

}  // namespace tirmo::app
