// The main window's display of the blank measurement in use.
#include <QGridLayout>
#include <QGroupBox>

#include "app/Frm_acquire.h"
#include "project/BlankHeader.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::app {

void Frm_acquire::buildProjectControls()
{
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    label_blank = ui::MakeLabel(frame, "label_blank", "Using blank [w6]:");
    lbl_blanktime = ui::MakeLabel(frame, "lbl_blanktime", "none");
    lbl_blankname = ui::MakeLabel(frame, "lbl_blankname");
    lbl_blanktime->setToolTip("DoubleClick to change");
    lbl_blankname->setToolTip("DoubleClick to change");
    grid->addWidget(label_blank, 0, 0);
    grid->addWidget(lbl_blanktime, 1, 0);
    grid->addWidget(lbl_blankname, 2, 0);
    addPanel(frame);
}

std::string Frm_acquire::ReadBlankHeader(const std::string& format)
{
    return project::ReadBlankHeader(format, session().serial_number);
}

void Frm_acquire::ShowBlankInfo(const std::string& header)
{
    const project::BlankInfo info = project::BlankInfoOf(header);
    lbl_blanktime->SetCaption(info.time);
    lbl_blankname->SetCaption(info.name);
}

}  // namespace tirmo::app
