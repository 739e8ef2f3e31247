#include "thermal/TemperatureStage.h"

#include "link/Exchange.h"
#include "platform/Clock.h"

namespace tirmo::thermal {

using link::Console;

bool ValidReading(double reading) { return reading > 0 && reading < 100; }

namespace {
// The 16-bit value of the two data bytes, kept unsigned: a first data byte of 128 or more must
// not turn the reading negative.
double rawValue(const std::string& reply)
{
    return double(static_cast<unsigned char>(reply[1])) * 256.0 + static_cast<unsigned char>(reply[2]);
}
}  // namespace

std::string SendStageFrame(const link::Session& session, int a, int b, link::SendForm form)
{
    auto frame = link::MakeFrame('T', a, b);
    if (!frame) return {};
    link::SendOptions o;
    o.form = form;
    return link::SendFrame(session, *frame, o).reply;
}

std::optional<double> StageReplyValue(const std::string& reply, int hardwareGeneration)
{
    if (reply.size() < 3) return std::nullopt;
    if (reply[0] == 'T') return rawValue(reply) / 16.0;
    if (reply[0] == 't' && hardwareGeneration < 2) return rawValue(reply) / 64.0 / 20.0;
    return std::nullopt;
}

std::string TemperatureStage::sendAndRead(const link::Session& session, int a, int b)
{
    return SendStageFrame(session, a, b);
}

double TemperatureStage::DecodeTemperatureReply(const std::string& reply, int hardwareGeneration) const
{
    if (reply.size() >= 3 && reply[0] == 'T' && hardwareGeneration < 2) return 0;
    const std::optional<double> reading = StageReplyValue(reply, hardwareGeneration);
    return reading && ValidReading(*reading) ? *reading : 0;
}

double TemperatureStage::SetPowerReadTemperature(int& power, Console& console)
{
    const link::Exchange exchange(console);
    if (!exchange) return kNoReading;
    if (!console.session().port_open) {
        console.SetStatus(link::kNotConnected);
        return kNoReading;
    }
    link::FlushLink(console.session(), 0);
    if (power > 255) power = 255;
    if (power < 0) power = 0;
    std::string reply = sendAndRead(console.session(), 255, power);
    if (reply.empty()) return kNoReading;
    const std::optional<double> value = StageReplyValue(reply, console.session().hardware_generation);
    double result = value.value_or(0);
    if (value) {
        analog_stage = reply[0] == 't';
    } else {
        if (console.session().hardware_generation >= 2) analog_stage = false;
        return kNoReading;
    }
    if (ValidReading(result)) last_temperature = result;
    else result = kNoReading;
    if (console.session().hardware_generation >= 2) analog_stage = false;
    return result;
}

int TemperatureStage::drive(int& pwm, bool heat, Console& console)
{
    // On the analog stage the direction and the power frame belong together.
    const link::Exchange exchange(console);
    if (!exchange) return -1;
    if (heat && pwm > kHeatLimit) pwm = kHeatLimit;
    if (!console.session().port_open) {
        console.SetStatus(link::kNotConnected);
        return -1;
    }
    link::FlushLink(console.session());
    if (console.session().hardware_generation >= 2) analog_stage = false;
    const std::string name = heat ? "heat" : "cool";
    std::string reply;
    if (analog_stage) {
        reply = sendAndRead(console.session(), 0, heat ? 0 : 255);
        platform::Sleep(kDirectionPauseMs);
        if (!heat && pwm > kCoolLimit) pwm = kCoolLimit;
        console.SetStatus(name + "_an:" + std::to_string(pwm));
        reply = sendAndRead(console.session(), 1, pwm);
    } else {
        if (!heat && pwm > kCoolLimit) pwm = kCoolLimit;
        if (console.ShowComm()) console.SetStatus(name + "_dig:" + std::to_string(pwm));
        reply = sendAndRead(console.session(), heat ? 3 : 4, pwm);
    }
    return takeDriveReply(reply, console);
}

int TemperatureStage::takeDriveReply(const std::string& reply, Console& console)
{
    console.SetMonitor(link::ReplyTrace(reply));  // "Empty" when nothing came
    // No reply is no temperature either: an old value kept here would be reused by the next
    // thermostat step as if it were fresh, and a silent stage driven on it without end.
    last_temperature = reply.empty() ? 0 : DecodeTemperatureReply(reply, console.session().hardware_generation);
    if (reply.empty()) return -1;
    return 1;
}

int TemperatureStage::PeltierHeat(int& pwm, Console& console) { return drive(pwm, true, console); }
int TemperatureStage::PeltierCool(int& pwm, Console& console) { return drive(pwm, false, console); }

int TemperatureStage::PeltierOff(Console& console)
{
    const link::Exchange exchange(console);
    if (!exchange) return -1;
    if (!console.session().port_open) {
        console.SetStatus(link::kNotConnected);
        return -1;
    }
    link::FlushLink(console.session());
    return takeDriveReply(sendAndRead(console.session(), 1, 0), console);
}

int TemperatureStage::SetFan(int pwm, Console& console)
{
    if (pwm < 0 || pwm > 255) return -1;
    const link::Exchange exchange(console);
    if (!exchange) return -1;
    sendAndRead(console.session(), 2, pwm);
    return 1;
}

}  // namespace tirmo::thermal
