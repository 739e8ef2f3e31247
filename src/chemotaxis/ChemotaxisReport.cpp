#include "chemotaxis/ChemotaxisReport.h"

#include "reports/ReportNumbers.h"

namespace tirmo::chemotaxis {

namespace {

class Out {
public:
    explicit Out(const ChemotaxisReportInputs& in) : in_(in) {}
    // A quote inside a text is doubled, so that a group name with a quote stays one field.
    Out& quoted(const std::string& text, bool program_text = true)
    {
        std::string doubled;
        for (char c : text) {
            if (c == '"') doubled += '"';
            doubled += c;
        }
        s_ += '"';
        // A path is already in the user's character set, as the file system gave it.
        s_ += program_text ? platform::InCharset(doubled, in_.charset) : doubled;
        s_ += '"';
        return *this;
    }
    Out& div()
    {
        s_ += in_.divider;
        return *this;
    }
    Out& num(double v, int decimals)
    {
        reports::AppendFixed(s_, v, decimals, in_.decimal);
        return *this;
    }
    void end() { s_ += "\r\n"; }
    std::string take() { return std::move(s_); }

private:
    const ChemotaxisReportInputs& in_;
    std::string s_;
};

}  // namespace

std::string WellName(int index, int rows)
{
    if (rows < 1) rows = 1;
    return std::string(1, char('A' + index % rows)) + std::to_string(index / rows + 1);
}

std::string BuildChemotaxisReport(const ChemotaxisReportInputs& in)
{
    Out o(in);
    static const SideSumStore noSums(0, 0);
    const SideSumStore& sums = in.sums ? *in.sums : noSums;
    const int scans = int(in.times.size());
    auto label = [&](int well) { return size_t(well) < in.labels.size() ? in.labels[size_t(well)] : std::string(); };

    o.quoted("DATE:").div().quoted(in.date_text).end();
    o.quoted("FILE:").div().quoted(in.folder, false).end();
    o.quoted("SUBPROJECT:").div().quoted("").end();
    o.end();

    o.quoted("Chemotaxis_Index").end();
    auto time = [&](int t) {
        std::string text;
        if (const auto& minutes = in.times[size_t(t)]) reports::AppendFixed(text, *minutes, 1, in.decimal);
        return text;
    };
    o.quoted("Well").div().quoted("Group/Time[m]");
    for (int t = 0; t < scans; ++t) o.div().quoted(time(t));
    o.end();
    if (in.chosen) {
        for (int well = 0; well < in.wells; ++well) {
            o.quoted(WellName(well, in.rows) + "_" + IndexReportName(*in.chosen)).div().quoted(label(well));
            for (int t = 0; t < scans; ++t) {
                o.div();
                if (sums.Recorded(well, t)) o.num(WindowIndex(sums, well, *in.chosen, t, in.window), 1);
            }
            o.end();
        }
    }
    o.end();

    o.quoted("Activity_map").end();
    o.quoted("Time[m]");
    for (int t = 0; t < scans; ++t) o.div().quoted(time(t)).div().div();
    o.end();
    for (int well = 0; well < in.wells; ++well) {
        const std::string name = WellName(well, in.rows);
        auto half = [&](const char* suffix, Quadrant first, Quadrant second) {
            o.quoted(name + suffix);
            for (int t = 0; t < scans; ++t) {
                if (!sums.Recorded(well, t)) {
                    o.div().div().div();
                    continue;
                }
                o.div().num(WindowQuadrant(sums, well, first, t, in.window), 0);
                o.div().num(WindowQuadrant(sums, well, second, t, in.window), 0).div();
            }
            o.end();
        };
        half("_top", Quadrant::TopLeft, Quadrant::TopRight);
        half("_bottom", Quadrant::BottomLeft, Quadrant::BottomRight);
        o.end();
    }
    return o.take();
}

}  // namespace tirmo::chemotaxis
