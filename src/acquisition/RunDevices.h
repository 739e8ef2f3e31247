#pragma once
// What the run engine asks of the instrument while it sets up and completes camera windows. The
// run implements it: the light pulse it sends itself, the camera set-up from the window's camera
// boxes; tests record the calls.
namespace tirmo::acquisition {

struct CameraWindowGeometry;

class RunDevices {
public:
    virtual ~RunDevices() = default;
    // Sends the light-pulse level (0 off, 1..8) and reads the reply.
    virtual void SendLightPulse(int level) = 0;
    // Sends the camera set-up (camera, gain, exposure, speed) with the read-out window given.
    virtual void ApplyCameraSettings(const CameraWindowGeometry& window) = 0;
};

}  // namespace tirmo::acquisition
