#include "app/MainLayout.h"

#include <utility>

#include "ui/Colour.h"

namespace tirmo::app {

ControlPlacement& MainLayout::Place(const std::string& name, const std::string& container, std::optional<double> left,
                                    std::optional<double> top, std::optional<double> width,
                                    std::optional<double> height)
{
    ControlPlacement& p = controls[name];
    p = ControlPlacement{};
    p.container = container;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    return p;
}

namespace {

using Size = std::optional<double>;
constexpr std::nullopt_t kKeep = std::nullopt;

// Fills the table one control at a time. Whole-number products (a unit times a whole factor,
// plus a margin) are taken in integers; the grid's clamp keeps them within 16 bits. Products
// with a fractional factor are taken in floating point and left unrounded: the twips layer
// rounds every edge to a pixel when the table is applied.
class Table {
public:
    explicit Table(MainLayout& layout) : l_(layout), t_(layout.controls) {}
    MainLayout& layout() { return l_; }

    ControlPlacement& Place(const std::string& name, const std::string& container, Size left, Size top,
                            Size width = kKeep, Size height = kKeep)
    {
        return l_.Place(name, container, left, top, width, height);
    }

    ControlPlacement& PlaceLine(const std::string& name, const std::string& container, double x1, double x2,
                                double y)
    {
        ControlPlacement& p = t_[name];
        p = ControlPlacement{};
        p.container = container;
        p.x1 = x1;
        p.x2 = x2;
        p.y1 = y;
        p.y2 = y;
        return p;
    }

private:
    MainLayout& l_;
    std::map<std::string, ControlPlacement>& t_;
};

ControlPlacement& Borderless(ControlPlacement& p)
{
    p.border_style = 0;
    return p;
}

ControlPlacement& Picture(ControlPlacement& p)
{
    p.keeps_drawing = true;
    return Borderless(p);
}

void PlaceWindowRow(Table& t, const LayoutGrid& g)
{
    const double lm = double(g.left_margin), tm = double(g.top_margin);
    const double cu = double(g.column_unit), ru = double(g.row_unit);
    const long long wcu = g.column_unit, wru = g.row_unit, wlm = g.left_margin, wtm = g.top_margin;

    ControlPlacement& frame = t.Place("Shape5", "", lm - 2, tm - 2, double(6 * wcu + 4), 19.5 * ru + 4);
    frame.border_width = 4;
    frame.back_color = ui::colour::White;
    t.PlaceLine("Line5", "", lm, double(6 * wcu + wlm - 8), 1.4 * ru + tm + 2).border_width = 4;

    t.Place("lbl_myserial", "", lm + 0.025 * cu, tm + 0.075 * ru, 0.3 * cu);
    t.Place("lbl_status", "", lm + 0.5 * cu, tm + 0.275 * ru, 0.5 * cu);
    t.Place("txt_status", "", lm + 1.15 * cu, tm + 0.275 * ru, 3.25 * cu);
    t.Place("txt_timepass", "", lm + 4.5 * cu, tm + 0.275 * ru, 1.25 * cu);

    // The temperature calibration, the factory parameters and the report panel open one at a
    // time in the same place; they only move, keeping their designed size.
    for (const char* shared : {"frmtempcal", "frame_flash", "Frm_report"})
        t.Place(shared, "", double(2 * wcu + wlm), double(3 * wru + wtm));

    Borderless(t.Place("frame_main", "", lm + 0.125 * cu, tm + 1.75 * ru, 4.3 * cu, double(15 * wru)));
    // Panels that open over the working area are placed without the margins.
    t.Place("Frame_tcycle", "", 0.52 * cu, 15.2 * ru, 0.84 * cu, 3.9 * ru);
    t.Place("frm_calibrate", "", double(2 * wcu), 14.35 * ru);
    t.Place("frameblank", "", 1.7 * cu, 4.2 * ru, 2.7 * cu, 7.25 * ru);
    t.Place("Frame_menu", "", lm + 4.5 * cu, tm + 1.75 * ru, 1.25 * cu, double(15 * wru));
    // The name confirmation first shared the calibration panels' place and was then moved on to
    // its own; only where it ends up is seen.
    t.Place("frm_confirmacq", "", lm + 1.5 * cu, tm + 3.75 * ru);
    t.Place("cmd_menu", "", lm + 4.5 * cu, tm + 1.6 * ru, 1.25 * cu, 0.35 * ru);
    t.Place("Frame_calibration", "", lm + 4.5 * cu, tm + 2.05 * ru, 1.25 * cu, double(15 * wru));
    t.Place("lblrx", "", kKeep, kKeep).hidden = true;
    PlaceCommunicationMonitor(t.layout());
}

void PlaceMainFrame(Table& t, const LayoutGrid& g)
{
    const double cu = double(g.column_unit), ru = double(g.row_unit);
    const long long wcu = g.column_unit, wru = g.row_unit;

    // The project column and the live picture take the same place, and so do the plate map and
    // the recordings list: whatever shows one of them hides the other.
    Borderless(t.Place("frame_group", "frame_main", 0.05 * cu, 0.2 * ru, 0.9 * cu, 14.5 * ru));
    Picture(t.Place("Picact2", "frame_main", 0.05 * cu, 0.2 * ru, 0.8 * cu, 14.5 * ru));
    Picture(t.Place("Picact", "frame_main", 0.925 * cu, 0.2 * ru, 3.3 * cu, 12.5 * ru));
    Borderless(t.Place("frame_offline", "frame_main", 0.925 * cu, 0.5 * ru, 3.3 * cu, 12.5 * ru));
    t.Place("Picrealtime", "frame_main", 1.1 * cu, double(14 * wru), double(3 * wcu), ru).border_style = 1;

    t.Place("Frame_project", "frame_group", 0, 0.2 * ru, 0.86 * cu, 10.5 * ru);
    t.Place("cmd_load_recording", "frame_group", 0.01 * cu, 11.05 * ru, 0.84 * cu, 1.5 * ru);

    t.Place("Label_pj", "Frame_project", 0.05 * cu, 0.45 * ru, 0.5 * cu);
    t.Place("cmd_renpj", "Frame_project", 0.32 * cu, 0.45 * ru, 0.23 * cu);
    t.Place("cmd_loadpj", "Frame_project", 0.55 * cu, 0.45 * ru, 0.23 * cu);
    t.Place("cmb_project", "Frame_project", 0.05 * cu, 1.2 * ru, 0.75 * cu);
    t.Place("Label_groupsname", "Frame_project", 0.05 * cu, 2.4 * ru, 0.75 * cu);
    t.Place("combogrup", "Frame_project", 0.05 * cu, 3.1 * ru, 0.75 * cu, double(5 * wru));
    t.Place("Cmd_clear", "Frame_project", 0.05 * cu, 8.1 * ru, 0.75 * cu, ru);
    t.Place("cmd_goset", "Frame_project", 0.05 * cu, 9.1 * ru, 0.75 * cu, ru);

    t.Place("Listpj", "frame_offline", 0.05 * cu, 1.5 * ru, 3.2 * cu, double(11 * wru));
}

void PlaceRunPanel(Table& t, const LayoutGrid& g)
{
    const double cu = double(g.column_unit), ru = double(g.row_unit);
    const long long wru = g.row_unit;
    const std::string in = "Frame_menu";

    t.Place("Label_acqlapse", in, 0.1 * cu, 0.5 * ru, 1.05 * cu);
    t.Place("txtlapse", in, 0.1 * cu, 1.4 * ru, 0.55 * cu, 0.9 * ru);
    t.Place("Label_minutes", in, 0.7 * cu, 1.4 * ru, 0.4 * cu);
    t.Place("Label_microformat", in, 0.1 * cu, 2.6 * ru, 1.05 * cu);
    t.Place("cmb_well", in, 0.1 * cu, 3.4 * ru, 0.55 * cu).caret_to_start = true;
    t.PlaceLine("Line1", in, 0.1 * cu, 0.65 * cu, 4.5 * ru);
    t.Place("chk_temp", in, 0.1 * cu, double(5 * wru), 1.05 * cu);
    t.Place("txttemp", in, 0.1 * cu, 5.85 * ru, 0.55 * cu);
    t.Place("Shape_temp", in, 0.65 * cu, 5.85 * ru, 0.07 * cu, 0.75 * ru);
    t.Place("Label_grad", in, 0.75 * cu, 5.85 * ru, 0.4 * cu);
    t.Place("Shape8", in, 0.1 * cu, 7.05 * ru, 1.05 * cu, 2.25 * ru);
    t.Place("label_blank", in, 0.13 * cu, 7.15 * ru, 0.6 * cu, 0.75 * ru);
    t.Place("lbl_blanktime", in, 0.13 * cu, 7.95 * ru, 0.6 * cu, 0.6 * ru);
    t.Place("lbl_blankname", in, 0.13 * cu, 8.55 * ru, 0.6 * cu, 0.6 * ru);
    t.Place("cmd_blank", in, 0.75 * cu, 7.5 * ru, 0.35 * cu, 1.5 * ru);
    t.Place("Frame_light", in, 0.1 * cu, 9.3 * ru, 1.05 * cu, 1.7 * ru);
    t.Place("cmdPlay", in, 0.1 * cu, 11 * ru, 1.05 * cu, double(2 * wru));
    t.Place("cmdreport", in, 0.1 * cu, double(13 * wru), 1.05 * cu, 1.5 * ru);
}

void PlaceSidePanels(Table& t, const LayoutGrid& g)
{
    const double cu = double(g.column_unit), ru = double(g.row_unit);
    const long long wcu = g.column_unit, wru = g.row_unit;

    const std::string blank = "frameblank";
    t.Place("lst_blank", blank, 0.5 * cu, 0.5 * ru, 1.75 * cu, double(4 * wru));
    t.Place("lblblankname", blank, 0.5 * cu, ru, 0.5 * cu, ru);
    t.Place("txt_blankname", blank, cu, ru, 1.5 * cu, ru);
    t.Place("lbl_timeblank", blank, 0.5 * cu, 2.2 * ru, 0.5 * cu, ru);
    t.Place("txt_blanklapse", blank, cu, 2.2 * ru, 0.5 * cu, ru);
    t.Place("lbl_blankdescription", blank, 0.5 * cu, 4.5 * ru, 1.75 * cu, ru);
    t.Place("cmd_okblank", blank, 0.5 * cu, 5.75 * ru, double(wcu), ru);
    t.Place("cmd_cancelblank", blank, 1.5 * cu, 5.75 * ru, double(wcu), ru);

    t.Place("txt_well_percent", "Frame_calibration", 0.8 * cu, 0.5 * ru, 0.4 * cu, double(14 * wru));
}

}  // namespace

void PlaceCommunicationMonitor(MainLayout& layout)
{
    const LayoutGrid& g = layout.grid;
    const double lm = double(g.left_margin), tm = double(g.top_margin);
    const double cu = double(g.column_unit), ru = double(g.row_unit);
    const double labelTop = double(18 * g.row_unit + g.top_margin), boxTop = tm + 18.5 * ru;
    // The label ends where the box begins; the box ends before the frame's lower border, which
    // takes the last four pixels of the row under it.
    constexpr double kBoxRows = 0.85;
    layout.Place("lbl_lenrx", "", lm + 0.15 * cu, labelTop, std::nullopt, boxTop - labelTop);
    layout.Place("txt_in", "", lm + 0.125 * cu, boxTop, 4.1 * cu, kBoxRows * ru);
}

std::optional<MainLayout> ComputeMainLayout(double width, double height, bool minimised)
{
    if (minimised) return std::nullopt;
    MainLayout layout;
    layout.grid = ComputeLayoutGrid(width, height);
    Table t(layout);
    PlaceWindowRow(t, layout.grid);
    PlaceMainFrame(t, layout.grid);
    PlaceRunPanel(t, layout.grid);
    PlaceSidePanels(t, layout.grid);
    return layout;
}

}  // namespace tirmo::app
