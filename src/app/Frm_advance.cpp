#include "app/Frm_advance.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "ui/Controls.h"

namespace tirmo::app {

Frm_advance::Frm_advance(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Frm_advance");
    setWindowTitle("Acquisition Page");
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    txt_status = new ui::TextBox(central);
    txt_status->setObjectName("txt_status");
    outer->addWidget(txt_status);
    txtcom = new ui::TextBox(central);
    txtcom->setObjectName("txtcom");
    outer->addWidget(txtcom);
    frame_advanced = new QGroupBox("Advanced parameters", central);
    tools_ = new QVBoxLayout(frame_advanced);
    outer->addWidget(frame_advanced);
    txt_in = new ui::TextBox(central);
    txt_in->setObjectName("txt_in");
    lbl_lenrx = new ui::Label(central);
    lbl_lenrx->setObjectName("lbl_lenrx");
    lbl_lenrx->SetCaption("Len(Rx) = 0");
    outer->addWidget(txt_in);
    outer->addWidget(lbl_lenrx);
    setCentralWidget(central);

    buildCameraTools();
    buildLightingTools();
    buildThermalTools();
}

Frm_advance::~Frm_advance() = default;

void Frm_advance::SetStatus(const std::string& text)
{
    txt_status->SetText(text);
    txt_status->Refresh();
}

void Frm_advance::SetMonitor(const std::string& text)
{
    txt_in->SetText(text);
    txt_in->Refresh();
}

}  // namespace tirmo::app
