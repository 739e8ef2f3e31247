#pragma once
// The main window's design-time tree: the panels and pictures every subsystem's controls live
// in, the window's own status row and communication monitor, and the rules and boxes drawn
// between them. The window builds the tree first; each subsystem then creates its controls in
// the container the layout places them in (or has them moved there), and the layout finds
// everything by name.
//
// Panels whose contents later work fills in exist from the start, hidden, at a designed size,
// so the layout can already give them their place.
#include <string>

class QWidget;

namespace tirmo::ui {
class Label;
class Line;
class PictureBox;
class Shape;
class TextBox;
class CommandButton;
}  // namespace tirmo::ui

namespace tirmo::app {

struct MainContainers {
    // On the window.
    ui::Shape* Shape5 = nullptr;  // the frame around the working area, behind everything
    ui::Line* Line5 = nullptr;    // the rule under the status row
    ui::Label* lbl_myserial = nullptr;
    ui::Label* lbl_status = nullptr;  // "Status:"
    ui::TextBox* txt_status = nullptr;
    ui::TextBox* txt_timepass = nullptr;
    QWidget* frame_main = nullptr;
    QWidget* Frame_menu = nullptr;  // the run panel
    ui::CommandButton* cmd_menu = nullptr;  // "Close", over the right-hand panels
    QWidget* Frame_calibration = nullptr;
    QWidget* frameblank = nullptr;
    QWidget* Frame_tcycle = nullptr;
    QWidget* frm_calibrate = nullptr;
    QWidget* frmtempcal = nullptr;
    QWidget* frame_flash = nullptr;
    QWidget* Frm_report = nullptr;
    QWidget* frm_confirmacq = nullptr;
    QWidget* Frame9 = nullptr;
    QWidget* Frame1 = nullptr;
    ui::Label* lblrx = nullptr;      // "Rx"
    ui::Label* lbl_lenrx = nullptr;  // "Len(Rx) = 0"
    ui::TextBox* txt_in = nullptr;
    // In frame_main.
    QWidget* frame_group = nullptr;
    QWidget* Frame_project = nullptr;  // in frame_group
    ui::PictureBox* Picact2 = nullptr;
    QWidget* Frame_select = nullptr;  // "Select", in Picact2
    ui::PictureBox* Picact = nullptr;
    QWidget* frame_offline = nullptr;
    ui::PictureBox* Picrealtime = nullptr;
    ui::PictureBox* Picturehide = nullptr;
    // In Frame_menu.
    ui::Line* Line1 = nullptr;
    ui::Shape* Shape8 = nullptr;  // the box around the blank information
    QWidget* Frame_light = nullptr;
};

// Creates under window every part of the tree that no widget under it is named after yet, each
// in its container and visible or hidden as the window starts; controls that already exist are
// returned where they are (AdoptIntoContainers moves them). A pointer stays null when a widget of
// that name exists but is not of the kind the tree needs.
MainContainers BuildMainContainers(QWidget* window);

// The name of the container a control of the tree or of the layout belongs in: "" for the
// window itself, nullptr for a name the tree does not know.
const std::string* ContainerOf(const std::string& name);

// Moves every control under window that the tree or the layout names, and that is not yet in its
// container, into that container (the window itself for controls placed on it). A control keeps
// its visibility, its size and its place in its old parent's coordinates until the layout gives
// it its place. Returns how many were moved; names whose container does not exist stay put.
int AdoptIntoContainers(QWidget* window);

}  // namespace tirmo::app
