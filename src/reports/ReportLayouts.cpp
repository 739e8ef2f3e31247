// The two report files: the table report (groups, wells and temperatures as rows, time as
// columns) and the plate-layout report (one plate picture per time column).
#include <algorithm>

#include "plate/PlateFormat.h"
#include "plate/WellGroups.h"
#include "reports/ReportEngine.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr const char* kDegreeC = "Temperature[\xB0" "C]";  // texts are Latin-1 bytes

// Texts go out in the user's character set; the program's texts are Latin-1 bytes.
class Out {
public:
    Out(std::string& s, const ReportOptions& o) : s_(s), div_(o.divider), dec_(o.decimal), charset_(o.charset) {}

    Out& text(std::string_view t)
    {
        if (charset_ == platform::Charset::Latin1)
            s_ += t;
        else
            s_ += platform::InCharset(t, charset_);
        return *this;
    }
    // A quote inside the text is doubled, as spreadsheets read a quoted field: a title or group
    // name with a quote in it stays one field.
    Out& quoted(std::string_view t)
    {
        s_ += '"';
        std::string doubled;
        for (char c : t) {
            if (c == '"') doubled += '"';
            doubled += c;
        }
        text(doubled);
        s_ += '"';
        return *this;
    }
    // A path as the file system gave it, which is already in the user's character set.
    Out& quotedPath(std::string_view t)
    {
        s_ += '"';
        for (char c : t) {
            if (c == '"') s_ += '"';
            s_ += c;
        }
        s_ += '"';
        return *this;
    }
    Out& div()
    {
        s_ += div_;
        return *this;
    }
    // The divider and a number with the given decimals.
    Out& num(double v, int decimals)
    {
        s_ += div_;
        AppendFixed(s_, v, decimals, dec_);
        return *this;
    }
    Out& whole(long long v)
    {
        s_ += div_;
        AppendWhole(s_, v);
        return *this;
    }
    void end() { s_ += kCrLf; }
    void endCr() { s_ += '\r'; }
    const std::string& decimal() const { return dec_; }

private:
    std::string& s_;
    std::string div_, dec_;
    platform::Charset charset_;
};

std::string GroupLabel(int group, const std::string& name) { return plate::WellGroups::ListItem(group, name); }

std::string WellLabel(const AcquisitionData& data, int well)
{
    const int g = data.groups.well_group[size_t(well)];
    if (g < 0 || g >= plate::kGroupEntries) return "-";
    return GroupLabel(g, data.groups.group_names[size_t(g)]);
}

double ValueAt(const ReportColumns& cols, int well, size_t c)
{
    const auto& v = cols.values[size_t(well)];
    return c < v.size() ? v[c] : -1.0;
}

void WriteHeader(Out& o, const ReportInputs& in, bool factorCorrected)
{
    o.quoted("DATE:").div().quoted(in.date_text).end();
    o.quoted("FILE:").div().quotedPath(in.folder).end();
    o.quoted("SUBPROJECT:").div().quoted(in.subproject).end();
    if (factorCorrected)
        o.text("***Internal Factor Correction Enabled:[").text(in.corrections.factor_stamp).text("]***").end();
    o.end();
}

void WriteHeads(Out& o, const ReportColumns& cols)
{
    for (const auto& h : cols.heads) o.div().text(h);
}

// The temperature block; the plate layout leaves out scans at 0 seconds.
void WriteTemperatures(Out& o, const AcquisitionData& data, bool skipZeroSeconds)
{
    o.end();
    o.text("***TEMPERATURE***").end();
    const int scans = int(std::min({size_t(data.scans()), data.record_seconds.size(), data.record_temperature.size()}));
    auto shown = [&](int t) { return !skipZeroSeconds || data.record_seconds[size_t(t)] > 0; };
    o.text("Time[m]");
    for (int t = 0; t < scans; ++t)
        if (shown(t)) o.num(double(data.record_seconds[size_t(t)]) / 60.0, 1);
    o.end();
    o.text(kDegreeC);
    for (int t = 0; t < scans; ++t)
        if (shown(t)) o.num(data.record_temperature[size_t(t)], 1);
    o.end();
}

void WriteTable(Out& o, const AcquisitionData& data, const ReportColumns& cols, bool binMode)
{
    const int wells = std::min(plate::FormatSize(data.plate_format).wells(), kReportWells);
    const size_t ncol = cols.heads.size();
    const GroupStats st = ComputeGroupStats(data, cols);
    if (!st.groups.empty()) {
        auto block = [&](const char* title, auto&& cell) {
            o.end();
            o.text(title).end();
            o.text("Group/Time[m]");
            WriteHeads(o, cols);
            o.end();
            for (size_t i = 0; i < st.groups.size(); ++i) {
                const int g = st.groups[i];
                o.quoted(GroupLabel(g, data.groups.group_names[size_t(g)]));
                for (size_t c = 0; c < ncol; ++c) cell(i, c);
                o.end();
            }
        };
        block("******GROUP_Average******", [&](size_t i, size_t c) { o.num(st.mean[i][c], 0); });
        block("******STANDARD ERROR******", [&](size_t i, size_t c) {
            if (st.count[i] < 2)
                o.div().text("0");
            else
                o.num(st.error[i][c], 1);
        });
        block("******N******", [&](size_t i, size_t) { o.whole(st.count[i]); });
    }
    o.end();
    o.quoted("***WELL ACTIVITY***").end();
    // The well block keeps the lone carriage returns that the spreadsheets made from these
    // reports are used to.
    o.quoted("Well").div().quoted("Group/Time[m]");
    WriteHeads(o, cols);
    o.endCr();
    const plate::PlateSize size = plate::FormatSize(data.plate_format);
    for (int w = 0; w < wells; ++w) {
        o.quoted(plate::WellName(w % size.rows, w / size.rows)).div().quoted(WellLabel(data, w));
        for (size_t c = 0; c < ncol; ++c) {
            if (binMode)
                o.whole(static_cast<long long>(ValueAt(cols, w, c)));
            else
                o.num(ValueAt(cols, w, c), 0);
        }
        o.endCr();
    }
    o.endCr();
    o.end();
}

void WriteRowColLine(Out& o, int columns)
{
    o.quoted("ROW/COL");
    for (int c = 1; c <= columns; ++c) o.whole(c);
    o.end();
}

void WritePlate(Out& o, const AcquisitionData& data, const ReportColumns& cols, bool binMode)
{
    const plate::PlateSize size = plate::FormatSize(data.plate_format);
    o.quoted("***GROUPS***").end();
    WriteRowColLine(o, size.columns);
    for (int r = 0; r < size.rows; ++r) {
        o.quoted(std::string(1, char('A' + r)));
        for (int c = 0; c < size.columns; ++c) o.div().quoted(WellLabel(data, c * size.rows + r));
        o.end();
    }
    o.end();
    if (!cols.activity) return;
    o.quoted("***WELL ACTIVITY***").end();
    for (size_t col = 0; col < cols.heads.size(); ++col) {
        o.text(cols.heads[col]).text("m").end();
        WriteRowColLine(o, size.columns);
        for (int r = 0; r < size.rows; ++r) {
            o.quoted(std::string(1, char('A' + r)));
            for (int c = 0; c < size.columns; ++c) {
                const double v = ValueAt(cols, c * size.rows + r, col);
                if (binMode)
                    o.whole(static_cast<long long>(v));
                else
                    o.num(v, 0);
            }
            o.end();
        }
        o.end();
    }
}

}  // namespace

ReportText BuildReport(const AcquisitionData& data, const ReportInputs& inputs, const ReportOptions& options)
{
    ReportText text;
    const WellTable activity = options.noise ? FilterSpikes(data) : ActivityTable(data);
    const Corrected corrected = CorrectActivity(data, activity, inputs.corrections, options);
    const bool binMode = options.bin_text != kScanTime;
    const ReportColumns cols = binMode ? BinColumns(data, corrected.values, options.bin_text, options.decimal)
                                       : ScanColumns(data, corrected.values, options.decimal);
    text.bin_text = cols.bin_text;
    text.factorCorrected = corrected.factorCorrected;
    text.note = cols.note;
    if (const std::string none = NoTemperatureNote(data); !none.empty()) text.note += (text.note.empty() ? "" : "; ") + none;

    text.bytes.reserve(size_t(64 + cols.heads.size() * 8) * (kReportWells + 40));
    Out o(text.bytes, options);
    WriteHeader(o, inputs, corrected.factorCorrected);
    if (options.layout == ReportLayout::Array) {
        WritePlate(o, data, cols, binMode);
        WriteTemperatures(o, data, true);
    } else {
        if (cols.activity) WriteTable(o, data, cols, binMode);
        WriteTemperatures(o, data, false);
    }
    return text;
}

}  // namespace tirmo::reports
