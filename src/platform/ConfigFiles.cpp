#include "platform/ConfigFiles.h"

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::platform {

std::string ConfigTxtText(const ConfigRecord& r)
{
    const std::pair<const char*, const std::string*> lines[] = {
        {"COM=", &r.com},           {"TX_TRANSMIT=", &r.txTransmit}, {"GAIN=", &r.gain},
        {"EXPOSURE=", &r.exposure}, {"LED=", &r.led},                {"ACQLAPSE=", &r.acqLapse},
        {"WELLFORMAT=", &r.wellFormat}, {"SET_TEMP=", &r.setTemp},
    };
    std::string text;
    for (const auto& [key, value] : lines) text += Quoted(std::string(key) + *value) + "\r\n";
    return text;
}

bool WriteConfigTxt(const ConfigRecord& r)
{
    TextFileWriter w(ProgramPath("config.txt"));
    w.Raw(ConfigTxtText(r));
    return w.Commit();
}

std::string CameraMaskPath(int serialNumber)
{
    const std::string folder = serialNumber != 0 ? "config_SN" + std::to_string(serialNumber) : "config";
    return ProgramPath(folder + "/camconf.dat");
}

std::array<bool, 6> ReadCameraMaskFile(const std::string& path)
{
    std::array<bool, 6> inUse;
    inUse.fill(true);
    auto lines = ReadLines(path);
    if (!lines || lines->empty()) return inUse;
    const std::string& line = lines->front();
    for (size_t i = 0; i < inUse.size(); ++i) inUse[i] = !(line.size() > i && line[i] == '0');
    return inUse;
}

bool WriteCameraMaskFile(const std::string& path, const std::array<bool, 6>& inUse)
{
    std::string line;
    for (bool b : inUse) line += b ? '1' : '0';
    return WriteLines(path, {line});
}

bool CopyTextFile(const std::string& source, const std::string& target)
{
    auto lines = ReadLines(source);
    if (!lines) return false;
    return WriteLines(target, *lines);
}

}  // namespace tirmo::platform
