#include "app/Frm_advance.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::app {

Frm_advance::Frm_advance(link::Session& session, QWidget* parent) : QMainWindow(parent), TextBoxConsole(session)
{
    setObjectName("Frm_advance");
    setWindowTitle("Acquisition Page");
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    txt_status = ui::MakeTextBox(central, "txt_status");
    outer->addWidget(txt_status);
    txtcom = ui::MakeTextBox(central, "txtcom");
    outer->addWidget(txtcom);
    frame_advanced = new QGroupBox("Advanced parameters", central);
    tools_ = new QVBoxLayout(frame_advanced);
    outer->addWidget(frame_advanced);
    txt_in = ui::MakeTextBox(central, "txt_in");
    lbl_lenrx = ui::MakeLabel(central, "lbl_lenrx", "Len(Rx) = 0");
    outer->addWidget(txt_in);
    outer->addWidget(lbl_lenrx);
    setCentralWidget(central);

    buildCameraTools();
    buildLightingTools();
    buildThermalTools();
}

Frm_advance::~Frm_advance() = default;

}  // namespace tirmo::app
