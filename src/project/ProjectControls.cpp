#include "project/ProjectControls.h"

#include "project/BlankHeader.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::project {

ProjectControls::ProjectControls(link::Console& console, QWidget* client) : console_(console)
{
    label_blank = ui::MakeLabel(client, "label_blank", "Using blank [w6]:");
    lbl_blanktime = ui::MakeLabel(client, "lbl_blanktime", "none");
    lbl_blankname = ui::MakeLabel(client, "lbl_blankname");
    lbl_blanktime->setToolTip("DoubleClick to change");
    lbl_blankname->setToolTip("DoubleClick to change");
    for (ui::Label* label : {label_blank, lbl_blanktime, lbl_blankname}) label->resize(label->sizeHint());
}

std::string ProjectControls::ReadBlankHeader(const std::string& format)
{
    return project::ReadBlankHeader(format, console_.session().serial_number);
}

void ProjectControls::ShowBlankOf(const std::string& format)
{
    label_blank->SetCaption("Using blank [" + format + "]:");
    blank_header = ReadBlankHeader(format);
    ShowBlankInfo(blank_header);
}

void ProjectControls::ShowBlankInfo(const std::string& header)
{
    const BlankInfo info = BlankInfoOf(header);
    lbl_blanktime->SetCaption(info.time);
    lbl_blankname->SetCaption(info.name);
}

}  // namespace tirmo::project
