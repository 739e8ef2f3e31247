#include "thermal/TemperatureCycle.h"

#include "platform/Convert.h"

namespace tirmo::thermal {

CycleRow SplitCycleRow(const std::string& row)
{
    const size_t p = row.find(';');
    const std::string rest = row.size() > 1 ? row.substr(1) : std::string();
    if (p == std::string::npos) return {rest, {}};
    return {row.substr(1, p - 1), row.substr(p + 1)};
}

std::string MakeCycleRow(const std::string& temperature, const std::string& minutes)
{
    return "T" + temperature + ";" + minutes;
}

std::string CycleRowProblem(const std::string& row)
{
    const std::string problem = "Temperature cycle row not valid: " + row +
                                ". Write the temperature in degrees and the minutes as numbers (T25;30)";
    if (row.empty() || row[0] != 'T' || row.find(';') == std::string::npos) return problem;
    const CycleRow parts = SplitCycleRow(row);
    const auto temperature = platform::ParseNumber(parts.temperature);
    const auto minutes = platform::ParseNumber(parts.minutes);
    if (!temperature || platform::RoundHalfEven(*temperature) < 1 || *temperature > 32767) return problem;
    if (!minutes || *minutes < 0 || *minutes > 1e6) return problem;
    return {};
}

long CycleMinutes(const std::string& minutesText)
{
    const auto minutes = platform::ParseNumber(minutesText);
    if (!minutes) return 0;
    return long(platform::RoundHalfEven(*minutes));
}

void TemperatureCycle::Start(double nowMs)
{
    running = true;
    cycle_row = 0;
    cycle_step_start = nowMs;
}

TemperatureCycle::Tick TemperatureCycle::Advance(const std::vector<std::string>& rows, double nowMs)
{
    if (cycle_row < 0 || cycle_row >= int(rows.size())) {
        running = false;
        return {Step::End, 0};
    }
    const double m = double(CycleMinutes(SplitCycleRow(rows[size_t(cycle_row)]).minutes));
    const double e = (nowMs - cycle_step_start) / 60000.0;
    if (e <= m) return {Step::Countdown, m - e};
    if (cycle_row + 1 < int(rows.size())) {
        ++cycle_row;
        cycle_step_start = nowMs;
        return {Step::NextRow, 0};
    }
    running = false;
    return {Step::End, 0};
}

}  // namespace tirmo::thermal
