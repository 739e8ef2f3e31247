#include <cmath>
#include <string>

#include "plate/BandFiles.h"
#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace {

constexpr int kBackground = 20;
constexpr int kWellLevel = 90;
constexpr int kRimLevel = 140;
constexpr double kRimWidth = 3;
// The default window: picture position y of a row band is sensor pixel 183 - y.
constexpr int kMirror = 183;

unsigned mix(unsigned long long v)
{
    v += 0x9E3779B97F4A7C15ull;
    v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
    v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
    return unsigned(v ^ (v >> 31));
}

int noiseAt(unsigned seed, int noise, int camera, int line, int pixel, long frame)
{
    if (noise <= 0) return 0;
    const unsigned long long key = (unsigned long long)seed << 48 ^ (unsigned long long)camera << 40 ^
                                   (unsigned long long)(line & 0xFFF) << 28 ^
                                   (unsigned long long)(pixel & 0xFFF) << 16 ^ (unsigned long long)(frame & 0xFFFF);
    return int(mix(key) % unsigned(2 * noise + 1)) - noise;
}

class PlatePattern : public FrameSource {
public:
    PlatePattern(std::vector<SimWell> wells, int noise, unsigned seed)
        : wells_(std::move(wells)), noise_(noise), seed_(seed)
    {}

    unsigned char pixel(int camera, int line, int pixel, long frame) const override
    {
        return clampByte(still(camera, line, pixel) + noiseAt(seed_, noise_, camera, line, pixel, frame));
    }

protected:
    int still(int camera, int line, int pixel) const
    {
        for (const SimWell& w : wells_) {
            if (w.camera != camera) continue;
            const double d = std::hypot(line - w.line, pixel - w.pixel);
            if (d <= w.radius) return d > w.radius - kRimWidth ? kRimLevel : kWellLevel;
        }
        return kBackground;
    }
    static unsigned char clampByte(int v) { return (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v); }

    std::vector<SimWell> wells_;
    int noise_;
    unsigned seed_;
};

class MovingSpots : public PlatePattern {
public:
    MovingSpots(std::vector<SimWell> wells, std::vector<SimSpot> spots, int noise, unsigned seed)
        : PlatePattern(std::move(wells), noise, seed), spots_(std::move(spots))
    {}

    unsigned char pixel(int camera, int line, int pixel, long frame) const override
    {
        for (const SimSpot& s : spots_) {
            if (s.camera != camera) continue;
            const auto [cl, cp] = SpotCentre(s, frame);
            if (std::hypot(line - cl, pixel - cp) <= s.radius) return clampByte(s.level);
        }
        return PlatePattern::pixel(camera, line, pixel, frame);
    }

private:
    std::vector<SimSpot> spots_;
};

struct BandLine {
    int camera, band, start, end;
};

std::vector<BandLine> bandLines(const std::vector<std::string>& file)
{
    std::vector<BandLine> out;
    for (size_t i = 2; i < file.size(); ++i) {
        BandLine b{};
        if (std::sscanf(file[i].c_str(), "%d,%d,%d,%d", &b.camera, &b.band, &b.start, &b.end) == 4) out.push_back(b);
    }
    return out;
}

std::string withCheck(std::string data)
{
    unsigned char x = 0;
    for (char c : data) x ^= static_cast<unsigned char>(c);
    data += char(x);
    return data;
}

}  // namespace

std::pair<double, double> SpotCentre(const SimSpot& s, long frame)
{
    const double a = 2 * M_PI * double(frame % (s.period > 0 ? s.period : 1)) / (s.period > 0 ? s.period : 1);
    return {s.line + s.swing * std::cos(a), s.pixel + s.swing * std::sin(a)};
}

std::vector<SimWell> DefaultWells(const std::string& format)
{
    std::vector<SimWell> wells;
    const auto columns = bandLines(plate::DefaultColumnLines(format));
    const auto rows = bandLines(plate::DefaultRowLines(format));
    for (const BandLine& c : columns) {
        for (const BandLine& r : rows) {
            if (r.camera != c.camera) continue;
            SimWell w;
            w.camera = c.camera;
            w.line = (c.start + c.end) / 2.0;
            w.pixel = kMirror - (r.start + r.end) / 2.0;
            w.radius = 0.45 * std::min(c.end - c.start, r.end - r.start);
            wells.push_back(w);
        }
    }
    return wells;
}

std::shared_ptr<FrameSource> MakePlatePattern(std::vector<SimWell> wells, int noise, unsigned seed)
{
    return std::make_shared<PlatePattern>(std::move(wells), noise, seed);
}

std::shared_ptr<FrameSource> MakeMovingSpots(std::vector<SimWell> wells, std::vector<SimSpot> spots, int noise,
                                             unsigned seed)
{
    return std::make_shared<MovingSpots>(std::move(wells), std::move(spots), noise, seed);
}

std::string CameraBlock(const CameraSimState& cameras, int camera, char mode, long frame)
{
    static const std::shared_ptr<FrameSource> stillPlate = MakePlatePattern(DefaultWells("w6"));
    const FrameSource& source = cameras.source ? *cameras.source : *stillPlate;
    const SimWindow& w = cameras.windows[size_t(camera)];
    const int lines = std::max(0, w.lines()), pix = std::max(0, w.pix());
    auto at = [&](int line, int pixel) { return char(source.pixel(camera, w.y0 + line, w.x0 + pixel, frame)); };
    std::string data;
    if (mode == 'A') {
        // Every fifth line and pixel: rows of Int(pix / 5) + 2 bytes, the byte c (from 1) of row r
        // being received column 5c of line 5r, after two leading bytes (the data length).
        const int k = pix / 5 + 2, rows = lines / 5;
        data += char((k * rows) >> 8);
        data += char((k * rows) & 0xFF);
        for (int r = 0; r < rows; ++r)
            for (int c = 1; c <= k; ++c) data += at(5 * r, std::min(5 * c, pix) - 1);
        return withCheck(data);
    }
    if (mode == '-') {
        for (int l = 0; l <= lines / 2; ++l)
            for (int p = 0; p <= pix / 2; ++p) data += at(std::min(2 * l, lines - 1), std::min(2 * p, pix - 1));
        return withCheck(data);
    }
    data.reserve(size_t(lines) * size_t(pix) + 3);
    if (mode == '0') {
        const int n = lines * pix;
        data += char((n >> 8) & 0xFF);
        data += char(n & 0xFF);
    }
    for (int l = 0; l < lines; ++l)
        for (int p = 0; p < pix; ++p) data += at(l, p);
    return withCheck(data);
}

void InstallCameraDevices(InstrumentSimulator& sim)
{
    sim.on('C', [&sim](SimState& s, const ReceivedFrame& f) -> std::string {
        CameraSimState& cams = s.cameras;
        if (f.b == 0) {
            cams.selectedCamera = f.a;
            return std::string(1, char(f.a));
        }
        if (f.b == '*') return Reply3('C', 0);
        if (f.b != '+' && f.b != '-' && f.b != 'A' && f.b != '0') return {};
        if (f.a > 5) return {};
        if (cams.silentBlocks > 0) {
            --cams.silentBlocks;
            return {};
        }
        std::string block = CameraBlock(cams, f.a, char(f.b), cams.framesServed[f.a]++);
        cams.lastBlock = block;
        // The handler runs under the simulator's lock, as consumeCorruptCheck expects.
        if (sim.consumeCorruptCheck()) block.back() = char(block.back() ^ 0x5A);
        if (cams.shortBlocks > 0) {
            --cams.shortBlocks;
            block.resize(block.size() - std::min<size_t>(size_t(std::max(cams.shortBy, 0)), block.size()));
        }
        return block;
    });
    auto setting = [&sim](char letter, int CameraSimState::*field, bool sixteenBits) {
        sim.on(letter, [field, sixteenBits](SimState& s, const ReceivedFrame& f) {
            s.cameras.*field = sixteenBits ? f.a * 256 + f.b : f.b;
            return Echo(f);
        });
    };
    sim.on('c', [](SimState& s, const ReceivedFrame& f) {
        s.cameras.sensorRegisters[size_t(f.a & 0xFF)] = f.b;
        return Echo(f);
    });
    setting('G', &CameraSimState::gain, true);
    setting('E', &CameraSimState::exposure, true);
    setting('S', &CameraSimState::speed, false);
    auto window = [&sim](char letter, int SimWindow::*field) {
        sim.on(letter, [field](SimState& s, const ReceivedFrame& f) {
            const int cam = s.cameras.selectedCamera;
            if (cam >= 0 && cam < 7) s.cameras.windows[size_t(cam)].*field = f.b;
            return Echo(f);
        });
    };
    window('y', &SimWindow::y0);
    window('Y', &SimWindow::y1);
    window('x', &SimWindow::x0);
    window('X', &SimWindow::x1);
}

}  // namespace tirmo::sim
