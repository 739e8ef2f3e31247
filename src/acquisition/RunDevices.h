#pragma once
// What the run engine asks of the instrument while it sets up and completes camera windows. The
// run implements it: the light pulse and the camera set-up (the session's, which the camera
// boxes show), each sent itself; tests record the calls.
namespace tirmo::acquisition {

struct CameraWindowGeometry;

class RunDevices {
public:
    virtual ~RunDevices() = default;
    // Sends the light-pulse level (0 off, 1..8) and reads the reply.
    virtual void SendLightPulse(int level) = 0;
    // Sends the camera set-up (camera, gain, exposure, speed and the read-out window the run
    // has just set in it).
    virtual void ApplyCameraSettings(const CameraWindowGeometry& window) = 0;
};

}  // namespace tirmo::acquisition
