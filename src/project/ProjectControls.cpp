#include "project/ProjectControls.h"

#include "link/Session.h"
#include "platform/Locale.h"
#include "project/BlankHeader.h"
#include "project/BlankStore.h"
#include "ui/Dialogs.h"
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

void ProjectControls::SaveBlankRun(const std::string& runFolder, const std::string& format, double minutes)
{
    CorrectionNotices notices;
    notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    notices.status = [this](const std::string& text) { console_.SetStatus(text); };
    SaveBlankMeasurement(runFolder, format, minutes, console_.session().serial_number, platform::DecimalSeparator(),
                         notices);
    ShowBlankOf(format);
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
