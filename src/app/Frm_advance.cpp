#include "app/Frm_advance.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::app {

Frm_advance::Frm_advance(link::Session& session, QWidget* parent) : Frm_advance(session, own_groups_, parent) {}

Frm_advance::Frm_advance(link::Session& session, plate::WellGroups& shared_groups, QWidget* parent)
    : QMainWindow(parent), TextBoxConsole(session), groups(shared_groups)
{
    setObjectName("Frm_advance");
    setWindowTitle("Acquisition Page");
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(ui::MakeLabel(central, "lbl_status", "Status:"));
    txt_status = ui::MakeTextBox(central, "txt_status");
    txt_status->setReadOnly(true);
    statusRow->addWidget(txt_status, 1);
    cmd_menu = ui::MakeButton(central, "cmd_menu", "Close", [this] { cmd_menu_Click(); });
    statusRow->addWidget(cmd_menu);
    outer->addLayout(statusRow);

    // The tools in a column beside the picture; the column scrolls on a small screen.
    auto* body = new QHBoxLayout;
    frame_advanced = new QGroupBox("Advanced parameters");
    tools_ = new QVBoxLayout(frame_advanced);
    auto* scroll = new QScrollArea(central);
    scroll->setWidget(frame_advanced);
    scroll->setWidgetResizable(true);
    body->addWidget(scroll, 1);
    outer->addLayout(body, 1);

    txt_in = ui::MakeTextBox(central, "txt_in");
    txt_in->setReadOnly(true);
    lbl_lenrx = ui::MakeLabel(central, "lbl_lenrx", "Len(Rx) = 0");
    outer->addWidget(lbl_lenrx);
    outer->addWidget(txt_in);
    setCentralWidget(central);

    buildShell();
    buildCameraTools();
    buildLightingTools();
    buildThermalTools();
    buildPlateMap();
    // The picture beside the tools, not below them.
    body->insertWidget(0, Picact, 3);
    body->setStretchFactor(scroll, 2);
    Form_Load();
    // Room for the picture beside the tools, within the screen.
    QSize size(1100, 820);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
}

Frm_advance::~Frm_advance() = default;

void Frm_advance::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

}  // namespace tirmo::app
