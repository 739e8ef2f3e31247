#include "camera/CameraCommands.h"

#include <cctype>
#include <cmath>

#include "camera/CameraSelect.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::camera {
namespace {

constexpr int kWindowFramePauseMs = 100;
constexpr int kFactoryEmptyReadPauseMs = 10;
constexpr int kFactoryGainFirstEmptyReads = 20;

link::SendOptions echoOptions(char letter, Variant variant)
{
    link::SendOptions o;
    o.form = variant == Variant::Factory ? link::SendForm::Bytes : link::SendForm::Text;
    o.replyLength = 3;
    o.maxSends = link::kMaxSends;
    o.confirm = link::EchoIs(letter);
    return o;
}

// Gain and exposure share every step but the letter.
bool sendSixteenBit(char letter, long value, link::Console& console)
{
    if (console.session().dummy_mode == 1) return false;
    const link::Exchange exchange(console);
    if (!exchange) return false;
    if (!link::LinkGuard(console)) return false;
    link::FlushLink(console.session());
    const auto frame = link::MakeFrame16(letter, value);
    if (!frame) {
        console.ShowError("error");
        return false;
    }
    const auto result = link::SendFrame(console.session(), *frame, echoOptions(letter, Variant::Main));
    console.SetMonitor(link::ReplyTrace(result.reply));
    return result.confirmed;
}

}  // namespace

std::string DefaultSpeedCode(int hardwareGeneration) { return hardwareGeneration >= 2 ? "8" : "7"; }

bool SendGain(long value, link::Console& console) { return sendSixteenBit('G', value, console); }
bool SendExposure(long value, link::Console& console) { return sendSixteenBit('E', value, console); }

bool SendFactoryGain(const std::string& text, link::Console& console)
{
    if (console.session().dummy_mode == 1) return false;
    const link::Exchange exchange(console);
    if (!exchange) return false;
    if (!link::LinkGuard(console)) return false;
    link::FlushLink(console.session());
    const auto value = platform::ParseNumber(text);
    if (!value || *value < 0 || *value > 32767) {
        console.ShowError("error");
        return false;
    }
    const long hi = long(*value / 256);
    const long lo = long(platform::RoundHalfEven(*value - 256.0 * double(hi)));
    const auto frame = link::MakeFrame('G', hi, lo);
    if (!frame) {
        console.ShowError("error");
        return false;
    }
    auto o = echoOptions('G', Variant::Factory);
    o.firstEmptyReads = kFactoryGainFirstEmptyReads;
    o.confirm = [](const std::string& reply) { return reply[0] == 'G' || reply[0] == 'g'; };
    const auto result = link::SendFrame(console.session(), *frame, o);
    console.SetMonitor(link::ReplyTrace(result.reply));
    return result.confirmed;
}

bool SendSpeed(long code, link::Console& console, Variant variant)
{
    if (console.session().dummy_mode == 1) return false;
    const link::Exchange exchange(console);
    if (!exchange) return false;
    link::FlushLink(console.session());
    const auto frame = link::MakeFrame('S', 0, code);
    if (!frame) {
        console.ShowError("error");
        return false;
    }
    console.SetMonitor(variant == Variant::Factory ? "sending S;0;" + std::to_string(code)
                                                   : "sending " + frame->bytes());
    auto o = echoOptions('S', variant);
    o.afterEach = [&console](const std::string& reply) { console.SetMonitor(link::ReplyTrace(reply)); };
    return link::SendFrame(console.session(), *frame, o).confirmed;
}

bool SendWindowPair(char startLetter, long start, long end, link::Console& console, Variant variant)
{
    if (console.session().dummy_mode == 1) return false;
    // Both frames of the pair, each with its reply, as one exchange.
    const link::Exchange exchange(console);
    if (!exchange) return false;
    const char endLetter = char(std::toupper(static_cast<unsigned char>(startLetter)));
    const auto first = link::MakeFrame(startLetter, 0, start);
    const auto second = link::MakeFrame(endLetter, 0, end);
    if (!first || !second) {
        const long bad = first ? end : start;
        console.SetStatus(std::string("Read-out window ") + startLetter + "/" + endLetter +
                          " not sent: " + std::to_string(bad) + " does not fit a byte (0 to 255)");
        return false;
    }
    bool confirmed = true;
    for (const link::Frame& frame : {*first, *second}) {
        const char letter = char(frame.letter);
        auto o = echoOptions(letter, variant);
        if (variant == Variant::Factory) {
            link::FlushLink(console.session());
            // The factory trace: "sending y;0;b", but "sending X0;b" for the last pixel.
            console.SetMonitor(std::string("sending ") + letter + (letter == 'X' ? "" : ";") + "0;" +
                               std::to_string(frame.b));
            o.emptyReadPauseMs = letter == 'X' ? link::kEmptyReadPauseMs : kFactoryEmptyReadPauseMs;
            if (startLetter == 'y') o.afterEach = [](const std::string&) { platform::Sleep(link::kRetryPauseMs); };
        } else {
            console.SetMonitor("sending " + frame.bytes());
        }
        const auto result = link::SendFrame(console.session(), frame, o);
        confirmed = confirmed && result.confirmed;
        console.SetMonitor(link::ReplyTrace(result.reply));
        platform::Sleep(kWindowFramePauseMs);
    }
    return confirmed;
}

std::optional<ReadoutLimits> ReadReadoutLimits(const std::string& xini, const std::string& xfin,
                                               const std::string& yini, const std::string& yfin)
{
    try {
        return ReadoutLimits{platform::WholeNumber16(xini), platform::WholeNumber16(xfin), platform::WholeNumber16(yini),
                             platform::WholeNumber16(yfin)};
    } catch (const platform::NumberError&) {
        return std::nullopt;
    }
}

void SendReadoutLimits(const ReadoutLimits& limits, link::Console& console, Variant variant)
{
    if (console.session().dummy_mode == 1) return;
    if (!console.session().port_open) {
        link::ShowNotConnected(console);
        return;
    }
    link::FlushLink(console.session());
    SendWindowPair('y', limits.xini, limits.xfin, console, variant);
    SendWindowPair('x', limits.yini, limits.yfin, console, variant);
}

namespace {
constexpr int kSettingPauseMs = 100;

// A gain or exposure as the instrument takes it: a whole number from 0 to 32767.
std::optional<int> settingValue(const std::string& text)
{
    try {
        const int v = platform::WholeNumber16(text);
        if (v >= 0) return v;
    } catch (const platform::NumberError&) {
    }
    return std::nullopt;
}
}  // namespace

void SetDefaultReadout(link::CameraSettings& settings, int hardwareGeneration)
{
    using Box = link::CameraSettings::Box;
    settings.SetText(Box::Speed, DefaultSpeedCode(hardwareGeneration));
    settings.SetNumber(Box::Xini, kDefaultXini);
    settings.SetNumber(Box::Xfin, kDefaultXfin);
    settings.SetNumber(Box::Yini, kDefaultYini);
    settings.SetNumber(Box::Yfin, kDefaultYfin);
}

void SendCameraSettings(link::CameraSettings& settings, link::Console& console)
{
    using Box = link::CameraSettings::Box;
    if (console.session().dummy_mode == 1) return;
    // All five settings as one exchange: the camera never measures with half of them.
    const link::Exchange exchange(console);
    if (!exchange) return;
    const auto gain = settingValue(settings.Text(Box::Gain));
    const auto exposure = settingValue(settings.Text(Box::Exposure));
    // Nothing goes out unless both values can: a camera left with half of new settings would
    // measure with a mix of the two.
    if (!gain || !exposure) {
        console.SetStatus("Camera settings not sent: gain and exposure must be whole numbers from 0 to 32767");
        return;
    }
    SelectCamera(settings.Text(Box::Camera), console, Variant::Main);
    platform::Sleep(kSettingPauseMs);
    SendGain(*gain, console);
    platform::Sleep(kSettingPauseMs);
    SendExposure(*exposure, console);
    platform::Sleep(kSettingPauseMs);
    const long code = BoxWhole(settings.Text(Box::Speed));
    // A code beyond the 16-bit range is refused here as SendSpeed would refuse it.
    if (code < -32768 || code > 32767)
        console.ShowError("error");
    else
        SendSpeed(code, console, Variant::Main);
    platform::Sleep(kSettingPauseMs);
    const auto limits =
        ReadReadoutLimits(settings.Text(Box::Xini), settings.Text(Box::Xfin), settings.Text(Box::Yini), settings.Text(Box::Yfin));
    if (!limits) {
        console.ShowError("error");
    } else {
        settings.SetNumber(Box::Lines, limits->lines());
        settings.SetNumber(Box::Pix, limits->pixels());
        SendReadoutLimits(*limits, console, Variant::Main);
    }
    platform::Sleep(kSettingPauseMs);
}

}  // namespace tirmo::camera
