#include "app/Frm_advance.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

#include <tuple>

#include "app/FactoryLayout.h"
#include "app/MainLayoutApply.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/FitCaption.h"
#include "ui/Line.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace tirmo::app {
namespace {

constexpr int kToolPoints = 8;
constexpr int kToolRowPixels = 18;
constexpr double kSelectPanelHeight = 1950;  // twips: the mask panel's three rows

}  // namespace

Frm_advance::Frm_advance(InstrumentState& state, QWidget* parent) : Frm_advance(state, own_groups_, parent) {}

Frm_advance::Frm_advance(InstrumentState& state, plate::WellGroups& shared_groups, QWidget* parent)
    : QMainWindow(parent), TextBoxConsole(state.session), instrument(state), groups_(shared_groups)
{
    setObjectName("Frm_advance");
    setWindowTitle("Acquisition Page");
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);

    // The white frame and the rule under the status line lie under the controls they frame.
    Shape5 = ui::MakeShape(client, "Shape5");
    Line5 = new ui::Line(client);
    Line5->setObjectName("Line5");
    Line5->lower();
    Shape5->lower();

    lbl_status = ui::MakeLabel(client, "lbl_status", "Status:");
    txt_status = ui::MakeStatusLine(client, "txt_status");
    txt_timepass = ui::MakeTextBox(client, "txt_timepass");
    txt_timepass->setReadOnly(true);
    cmd_menu = ui::MakeButton(client, "cmd_menu", "Close", [this] { cmd_menu_Click(); });

    frame_main = new QWidget(client);
    frame_main->setObjectName("frame_main");
    Picact2 = ui::MakePicture(frame_main, "Picact2", 120, 400);
    Picrealtime = ui::MakePicture(frame_main, "Picrealtime", 300, 20);

    // The factory tools are more than the frame's column holds: they scroll inside it.
    frame_advanced = new QGroupBox("Advanced parameters", client);
    frame_advanced->setObjectName("frame_advanced");
    auto* frameLayout = new QVBoxLayout(frame_advanced);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frame_advanced_scroll = new QScrollArea(frame_advanced);
    frame_advanced_scroll->setObjectName("frame_advanced_scroll");
    frame_advanced_scroll->setWidgetResizable(true);
    frame_advanced_scroll->setFrameShape(QFrame::NoFrame);
    frame_advanced_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* toolsPanel = new QWidget;
    toolsPanel->setObjectName("frame_advanced_tools");
    tools_ = new QVBoxLayout(toolsPanel);
    tools_->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(frame_advanced_scroll);

    lblrx = ui::MakeLabel(client, "lblrx", "Rx");
    lbl_lenrx = ui::MakeLabel(client, "lbl_lenrx", "Len(Rx) = 0");
    lbl_lenrx->SetAutoSize(true);  // the reply lengths the transfers write are longer than its first caption
    txt_in = ui::MakeTextBox(client, "txt_in");
    txt_in->setReadOnly(true);

    // The transmit panel: the raw console's row (the camera tools') and the circle-selection frame.
    Frame2 = new QGroupBox(client);
    Frame2->setObjectName("Frame2");
    ui::setGeometryTwips(Frame2, 1200, 1200, 3000, 1500);
    Frame8 = new QGroupBox(Frame2);
    Frame8->setObjectName("Frame8");
    ui::setGeometryTwips(Frame8, 120, 240, 900, 900);
    Frame8->installEventFilter(this);
    Shape_circle_selection = ui::MakeShape(Frame8, "Shape_circle_selection");
    ui::setGeometryTwips(Shape_circle_selection, 150, 250, 600, 500);
    // Clicks on the shape are the frame's.
    Shape_circle_selection->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape_circle_selection->SetFillColor(ui::colour::Black);
    Shape_circle_selection->SetFillStyle(1);

    // The pixel-mask panel "Select" on Picact2.
    Frame_select = new QGroupBox("Select", Picact2);
    Frame_select->setObjectName("Frame_select");
    ui::setGeometryTwips(Frame_select, 0, 0, 2400, 6000);
    cmd_close_frame2 = ui::MakeButton(Frame_select, "cmd_close_frame2", "X", [this] { cmd_close_frame2_Click(); });
    ui::setGeometryTwips(cmd_close_frame2, 1950, 150, 360, 360);
    for (auto [box, name, text, left] : {std::tuple{&cmb_set1, "cmb_set1", "A", 150}, std::tuple{&cmb_set2, "cmb_set2", "1", 1000}}) {
        *box = ui::MakeComboBox(Frame_select, name);
        (*box)->setEditable(true);
        (*box)->ShowText(text);
        ui::setGeometryTwips(*box, left, 450, 800, 360);
    }
    pixelmap = std::make_unique<devicememory::PixelMapControls>(
        *this, Frame_select, [this](const std::string& length) { lbl_lenrx->SetCaption(length); });

    buildShell();
    buildTools();
    // The panel goes into the scroll area once it holds every tool, so that its size covers them.
    CompactTools(toolsPanel);
    for (QWidget* strip : {static_cast<QWidget*>(lighting->frame_ledcal), static_cast<QWidget*>(thermal->frame_peltier)})
        CompactControls(strip);
    // The light calibrations' two rows of buttons share their strip evenly: with one pixel
    // between them, each row is as high as its captions' type needs.
    if (auto* rows = qobject_cast<QGridLayout*>(lighting->frame_ledcal->layout())) rows->setVerticalSpacing(1);
    frame_advanced_scroll->setWidget(toolsPanel);
    for (auto* button : findChildren<QPushButton*>()) ui::KeepCaptionFitted(button);
    for (auto* combo : findChildren<QComboBox*>()) ui::KeepEntriesFitted(combo);
    Form_Load();
    // The designed size where the screen has room for it, else the screen's available area.
    QSize size(int(ui::twipsToPixels(kFactoryDesignWidth)), int(ui::twipsToPixels(kFactoryDesignHeight)) + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
    // The client area takes its share of the size now, so the first layout is at that size.
    if (layout()) layout()->activate();
    ArrangeControls();
}

Frm_advance::~Frm_advance() = default;

void Frm_advance::CompactTools(QWidget* toolsPanel)
{
    // The tools fill the frame's narrow column at the size the window opens with: a smaller
    // type, tight grids, and boxes and buttons as narrow as the column makes them (captions
    // shrink to fit), so nothing needs scrolling sideways.
    frame_advanced_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tools_->setSpacing(2);
    CompactControls(toolsPanel);
}

void Frm_advance::CompactControls(QWidget* toolsPanel)
{
    QFont small = toolsPanel->font();
    small.setPointSize(kToolPoints);
    toolsPanel->setFont(small);
    for (auto* grid : toolsPanel->findChildren<QGridLayout*>()) {
        grid->setContentsMargins(3, 1, 3, 2);
        grid->setSpacing(2);
    }
    for (QWidget* w : toolsPanel->findChildren<QWidget*>()) {
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) w->setMinimumWidth(1);
        if (!qobject_cast<QGroupBox*>(w)) w->setMaximumHeight(kToolRowPixels);
    }
}

void Frm_advance::ArrangeControls()
{
    QWidget* client = centralWidget();
    // Drawing on the plate picture is kept while the pictures move; they are repainted after.
    const MainLayout layout = ComputeFactoryLayout(ui::pixelsToTwips(client->width()), ui::pixelsToTwips(client->height()));
    ApplyMainLayout(client, layout, plate->run_state);
    // The mask panel fills the top of the picture column, up to its designed height.
    Frame_select->setGeometry(0, 0, Picact2->width(), std::min(Picact2->height(), int(ui::twipsToPixels(kSelectPanelHeight))));
    // The tool column's scroll bars are decided again for the frame's new size.
    frame_advanced_scroll->setWidgetResizable(true);
    Picact2->Refresh();
    Picact->Refresh();
}

void Frm_advance::Form_Resize() { ArrangeControls(); }

void Frm_advance::showEvent(QShowEvent* event)
{
    // The main window may have opened or closed the link since this window was last shown.
    QMainWindow::showEvent(event);
    link->ShowLink();
}

void Frm_advance::resizeEvent(QResizeEvent* event)
{
    // The window's own layout has already given the client area its new size.
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

bool Frm_advance::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Frame8 && event->type() == QEvent::MouseButtonPress) {
        Frame8_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Frm_advance::Frame8_Click()
{
    if (circle_selection_mode != 2) {
        Shape_circle_selection->SetFillStyle(0);
        Shape_circle_selection->repaint();
        circle_selection_mode = 2;
    } else {
        Shape_circle_selection->SetFillStyle(1);
        Shape_circle_selection->repaint();
        circle_selection_mode = 0;
    }
}

void Frm_advance::cmd_close_frame2_Click() { Frame_select->hide(); }

void Frm_advance::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

}  // namespace tirmo::app
