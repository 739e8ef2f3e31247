#pragma once
// The state each simulated device keeps, one struct per subsystem so that each grows on its own.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tirmo::sim {

// ---- cameras ----

// The picture a simulated camera sees: the grey level of a sensor cell (line 0..255, pixel
// 0..255, as the read-out window counts them) in the camera's n-th frame.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual unsigned char pixel(int camera, int line, int pixel, long frame) const = 0;
};

// A well as a camera sees it: its centre in sensor lines and pixels and its radius.
struct SimWell {
    int camera = 0;
    double line = 0, pixel = 0, radius = 0;
};

// A bright spot circling inside a well: centre, radius of its path (swing), its own radius,
// its grey level and the frames one turn takes.
struct SimSpot {
    int camera = 0;
    double line = 0, pixel = 0;
    double swing = 6;
    double radius = 3;
    int level = 250;
    int period = 8;
};

// The wells of the default band files of "w6", "p35" or "w24" (every camera), as sensor
// coordinates of the default window.
std::vector<SimWell> DefaultWells(const std::string& format);
// A still plate: dark background, bright well discs with a brighter rim, and noise of up to
// +-noise grey levels that changes from frame to frame.
std::shared_ptr<FrameSource> MakePlatePattern(std::vector<SimWell> wells, int noise = 2, unsigned seed = 1);
// The same plate with moving bright spots over it.
std::shared_ptr<FrameSource> MakeMovingSpots(std::vector<SimWell> wells, std::vector<SimSpot> spots, int noise = 2,
                                             unsigned seed = 1);
// The spot's centre in a frame.
std::pair<double, double> SpotCentre(const SimSpot& spot, long frame);

// A camera's read-out window: sensor lines y0..y1 ('y', 'Y') and pixels x0..x1 ('x', 'X').
struct SimWindow {
    int y0 = 0, y1 = 142, x0 = 1, x1 = 183;
    int lines() const { return y1 - y0 + 1; }
    int pix() const { return x1 - x0 + 1; }
};

struct CameraSimState {
    int selectedCamera = 6;
    int gain = 0, exposure = 0, speed = 0;
    std::array<SimWindow, 7> windows{};   // per camera; the window commands set the selected one
    std::array<long, 7> framesServed{};   // blocks sent per camera, the frame number of the next
    std::shared_ptr<FrameSource> source;  // null: the still "w6" plate
    std::string lastBlock;                // the last block as built, before any fault
    std::array<int, 256> sensorRegisters{};  // 'c' register writes of the image sensor
    // Fault switches (the simulator's corruptCheckNext spoils the check byte of blocks).
    int shortBlocks = 0;  // the next block replies lose their last shortBy bytes
    int shortBy = 1;
    int silentBlocks = 0;  // the next block requests get no answer
};

// The reply to a camera request ('+', '-' every second line and pixel, 'A', '0') for frame n, with its check.
std::string CameraBlock(const CameraSimState& cameras, int camera, char mode, long frame);

struct LedSimState {
    static constexpr int kCount = 416;
    std::array<int, kCount> power{};  // 0..15 per LED
    int frequency = 0;                // 's' PWM frequency byte
    int blueLight = 0;                // 'T' 15 level
};

// The Peltier stage as a simple thermal model: the plate warms or cools in proportion to the
// drive level and drifts towards room temperature. Time in the model only moves when it is
// advanced: by secondsPerFrame on every stage frame received, or by advance() from a test.
struct ThermalSimState {
    double temperatureC = 25.0;    // the plate
    double roomC = 25.0;
    int fanLevel = 0;
    int peltierPower = 0;          // drive level, 0 = off
    bool cooling = false;          // direction of the drive
    int readPowerByte = 0;         // power byte of the last reading command
    double secondsPerFrame = 0;    // model time per stage frame (0: the plate holds still)
    double degreesPerSecondAtFull = 0.1;  // Peltier effect at drive 255
    double driftPerSecond = 0.002;        // share of the distance to room temperature per second
    // The sensor of a generation-1 stage: raw = (temperature - offset) / slope, reported in
    // 1/1280 units under 't'. Its nominal line is the program's default calibration.
    double sensorOffset = -16.34;
    double sensorSlope = 1.732;
    // The switch that makes the stage report an out-of-range temperature.
    bool reportOutOfRange = false;
    double outOfRangeC = 55.0;

    void advance(double seconds)
    {
        const double drive = (cooling ? -1.0 : 1.0) * degreesPerSecondAtFull * peltierPower / 255.0;
        temperatureC += seconds * (drive - driftPerSecond * (temperatureC - roomC));
    }
    double reportedC() const { return reportOutOfRange ? outOfRangeC : temperatureC; }
    // The raw sensor value a generation-1 stage reports for a plate temperature.
    double rawFor(double celsius) const { return (celsius - sensorOffset) / sensorSlope; }
};

// ---- calibration memory ----

// What goes wrong with the replies to reads of one block: BadXor changes a data byte on the way
// (the reply's XOR no longer matches what arrives, and neither does the record's own check),
// WrongCheck spoils only the reply's last byte, Short drops it (99 bytes).
enum class FlashFault { BadXor, WrongCheck, Short };

// Four banks of 256 lines of 24 bytes; cells never written hold the erased value 255. 'f'
// writes one byte of the 96-byte buffer, 'F' with a bank below 240 commits the buffer at a
// line, 'F' with 240 + bank reads the four lines from a line.
struct FlashSimState {
    static constexpr int kBanks = 4, kLines = 256, kLineBytes = 24, kBlockBytes = 96;
    static constexpr char kErased = char(0xFF);
    std::array<std::string, kBanks> banks;
    std::string buffer = std::string(kBlockBytes, '\0');
    struct FaultSwitch {
        FlashFault kind = FlashFault::BadXor;
        int remaining = -1;  // replies still to spoil; -1 every one
    };
    std::map<std::pair<int, int>, FaultSwitch> faults;  // (bank, first line)
    int reads = 0, commits = 0;
    // Lost echoes: after dropAfter more buffer bytes, the echoes of the next dropCount are not
    // sent (-1: none from then on); the bytes still go into the buffer.
    int dropAfter = 0, dropCount = 0;
    void dropEchoes(int after, int count)
    {
        dropAfter = after;
        dropCount = count;
    }
    // Pixel-enable maps uploaded in blocks of four lines ("F", camera, first line, 96 bytes):
    // 144 lines of 24 bytes per camera, zero until a block comes; heads counts the blocks begun.
    static constexpr int kMapCameras = 7, kMapLines = 144;
    std::array<std::string, kMapCameras> pixelMaps = [] {
        std::array<std::string, kMapCameras> maps;
        maps.fill(std::string(size_t(kMapLines * kLineBytes), '\0'));
        return maps;
    }();
    int mapHeads = 0;

    FlashSimState() { erase(); }
    void erase()
    {
        for (auto& b : banks) b.assign(size_t(kLines * kLineBytes), kErased);
    }
    // Puts bytes into a bank from the start of a line on (what lies past line 255 is lost).
    void put(int bank, int line, const std::string& bytes)
    {
        std::string& b = banks[size_t(bank)];
        for (size_t i = 0; i < bytes.size() && size_t(line * kLineBytes) + i < b.size(); ++i)
            b[size_t(line * kLineBytes) + i] = bytes[i];
    }
    // The four lines from a line (erased past line 255).
    std::string block(int bank, int line) const
    {
        std::string out(size_t(kBlockBytes), kErased);
        const std::string& b = banks[size_t(bank)];
        for (size_t i = 0; i < out.size() && size_t(line * kLineBytes) + i < b.size(); ++i)
            out[i] = b[size_t(line * kLineBytes) + i];
        return out;
    }
    void fault(int bank, int line, FlashFault kind, int count = -1) { faults[{bank, line}] = {kind, count}; }
};

}  // namespace tirmo::sim
