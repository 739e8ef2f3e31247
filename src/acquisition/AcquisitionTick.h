#pragma once
// The pieces of the acquisition tick that need no window: the elapsed-time text, what counts as a
// failed frame, the difference image the live picture shows, the frame status line and the
// random frames of dummy mode.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace tirmo::acquisition {

inline constexpr int kTickIntervalMs = 200;
// Failures in a row after which the camera settings are sent once more, and above which the run
// stops.
inline constexpr int kResendAfterFailures = 2;
inline constexpr int kMaxFailedFrames = 20;
inline constexpr const char* kRunDone = "DONE!";
inline constexpr const char* kCommunicationError = "Communication Error CAM";

// "[dd] hh:mm.ss" of a run's elapsed seconds, dd the whole days elapsed (00 during the first day),
// hh hours, mm minutes and ss seconds of the day. Negative times show as 0.
std::string ElapsedText(double seconds);

// A fetch failed when it brought nothing or an "Error" reply.
bool FrameFailed(std::string_view frame);

// Per position: current - previous + 128, clamped to 0..255; as long as the current frame
// (positions the previous frame lacks count as 0 there).
std::string DifferenceImage(std::string_view previous, std::string_view current);

// "[Scan1_C1.0] Frame #0/10" for scan 0, camera 0, window 0, frame 0.
std::string FrameStatus(long scan, int camera, int window, long frame);

// n random pixels, each round(r x 255) for r uniform in [0, 1).
std::string RandomFrame(std::mt19937& generator, int pixels);

}  // namespace tirmo::acquisition
