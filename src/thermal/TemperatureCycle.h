#pragma once
// Temperature cycles: a list of rows "T<temperature>;<minutes>", each held for its minutes from
// the moment it was taken, timed on the monotonic clock so that a change of the wall clock (a
// time-zone or daylight-saving change, a clock set by hand) neither shortens nor stretches a row.
#include <optional>
#include <string>
#include <vector>

namespace tirmo::thermal {

struct CycleRow {
    std::string temperature;  // the text between "T" and ";"
    std::string minutes;      // the text after ";"
};

// Splits a row at its first ";": the temperature text from the second character, the minutes
// after the ";". Rows without ";" give the whole rest as temperature and empty minutes.
CycleRow SplitCycleRow(const std::string& row);

// The row "T" + temperature + ";" + minutes.
std::string MakeCycleRow(const std::string& temperature, const std::string& minutes);

// Empty when the row can be run: it starts with "T", its temperature is a number whose whole
// value is at least 1 and its minutes are a number of 0 or more. Otherwise the message to show.
std::string CycleRowProblem(const std::string& row);

// A row's minutes as the cycle counts them: the number rounded to the nearest whole minute
// (halves to the even one); 0 when the text is no number.
long CycleMinutes(const std::string& minutesText);

// The clock side of a running cycle.
class TemperatureCycle {
public:
    enum class Step { Countdown, NextRow, End };
    struct Tick {
        Step step = Step::Countdown;
        double minutesLeft = 0;  // Countdown: minutes left of the current row
    };

    bool running = false;
    int cycle_row = 0;              // the row being held
    double cycle_step_start = 0;    // when it was taken, monotonic ms

    void Start(double nowMs);
    void Stop() { running = false; }
    // One tick at nowMs over rows: counts down, moves to the next row (cycle_row and the start
    // follow), or tells that the last row is over (the cycle is then stopped).
    Tick Advance(const std::vector<std::string>& rows, double nowMs);
};

}  // namespace tirmo::thermal
