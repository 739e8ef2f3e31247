#include "project/ProjectControls.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

#include "link/Session.h"
#include "platform/Locale.h"
#include "project/BlankHeader.h"
#include "project/BlankStore.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"

namespace tirmo::project {
namespace {

// The mouse events the window's handlers are named for: the double click on the blank's time
// label, and the release of a button over the blank list.
class MouseEvents : public QObject {
public:
    MouseEvents(ProjectControls& w, QObject* parent) : QObject(parent), w_(w) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == w_.lbl_blanktime && event->type() == QEvent::MouseButtonDblClick) {
            w_.lbl_blanktime_DblClick();
            return true;
        }
        if (w_.lst_blank && watched == w_.lst_blank->viewport() && event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int button = mouse->button() == Qt::LeftButton ? 1 : mouse->button() == Qt::RightButton ? 2 : 4;
            const int shift = (mouse->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                              (mouse->modifiers() & Qt::ControlModifier ? 2 : 0) |
                              (mouse->modifiers() & Qt::AltModifier ? 4 : 0);
            w_.lst_blank_MouseUp(button, shift, int(mouse->position().x()), int(mouse->position().y()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    ProjectControls& w_;
};

}  // namespace

ProjectControls::ProjectControls(link::Console& console, ProjectState& projectState, plate::PlateState& plate,
                                 QWidget* client, ProjectNeeds needs)
    : state(projectState), current_project(projectState.current_project), blank_header(projectState.blank_header),
      blank_values(projectState.blank_values), blank_lapse(projectState.blank_lapse),
      reference_factor(projectState.reference_factor), console_(console), plate_(plate), needs_(std::move(needs))
{
    label_blank = ui::MakeLabel(client, "label_blank", "Using blank [w6]:");
    lbl_blanktime = ui::MakeLabel(client, "lbl_blanktime", "none");
    lbl_blankname = ui::MakeLabel(client, "lbl_blankname");
    lbl_blanktime->setToolTip("DoubleClick to change");
    lbl_blankname->setToolTip("DoubleClick to change");
    for (ui::Label* label : {label_blank, lbl_blanktime, lbl_blankname}) label->resize(label->sizeHint());
    buildProjectPanel(client);
    buildBlankFrame(client);
    // The run's "New" takes the current project up again as the list's own click does.
    reload_watch_ = state.reload.Watch([this] { cmb_project_Click(); });
}

ProjectControls::~ProjectControls() { state.reload.Unwatch(reload_watch_); }

void ProjectControls::buildProjectPanel(QWidget* client)
{
    // The project column's own controls; the window's tree moves them into Frame_project.
    Label_pj = ui::MakeLabel(client, "Label_pj", "Project:");
    cmb_project = ui::MakeComboBox(client, "cmb_project");
    cmd_loadpj = ui::MakeButton(client, "cmd_loadpj", "New", [this] { cmd_loadpj_Click(); });
    cmd_renpj = ui::MakeButton(client, "cmd_renpj", "Rename", [this] { cmd_renpj_Click(); });
    cmb_project->onClick([this] { cmb_project_Click(); });
    for (QWidget* w : std::initializer_list<QWidget*>{Label_pj, cmb_project, cmd_loadpj, cmd_renpj})
        w->resize(w->sizeHint());
}

void ProjectControls::buildBlankFrame(QWidget* client)
{
    cmd_blank = ui::MakeButton(client, "cmd_blank", "Read Blank", [this] { cmd_blank_Click(); });
    cmd_blank->resize(cmd_blank->sizeHint());

    // The frame and its controls at their design texts; the layout gives each its place.
    auto* frame = new QGroupBox("Blank Measurement", client);
    frame->setObjectName("frameblank");
    frameblank = frame;
    lblblankname = ui::MakeLabel(frame, "lblblankname", "Name:");
    txt_blankname = ui::MakeTextBox(frame, "txt_blankname", "myblank");
    lbl_timeblank = ui::MakeLabel(frame, "lbl_timeblank", "Acq lapse[m]:");
    txt_blanklapse = ui::MakeTextBox(frame, "txt_blanklapse", "60");
    cmd_okblank = ui::MakeButton(frame, "cmd_okblank", "Start", [this] { cmd_okblank_Click(); });
    cmd_cancelblank = ui::MakeButton(frame, "cmd_cancelblank", "Cancel", [this] { cmd_cancelblank_Click(); });
    lst_blank = new QListWidget(frame);
    lst_blank->setObjectName("lst_blank");
    lbl_blankdescription = ui::MakeLabel(frame, "lbl_blankdescription");
    for (QWidget* w : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) w->resize(w->sizeHint());
    frame->resize(frame->sizeHint());
    frame->hide();

    QObject::connect(lst_blank, &QListWidget::itemClicked, frame, [this] { lst_blank_Click(); });
    QObject::connect(lst_blank, &QListWidget::itemDoubleClicked, frame, [this] { lst_blank_DblClick(); });
    events_ = new MouseEvents(*this, frame);
    lbl_blanktime->installEventFilter(events_.get());
    lst_blank->viewport()->installEventFilter(events_.get());
    if (needs_.delete_blank) {
        needs_.delete_blank->setEnabled(true);
        QObject::connect(needs_.delete_blank, &QAction::triggered, frame, [this] { mndelblank_Click(); });
    }
}

// ---------------------------------------------------------------- the blank in use

void ProjectControls::SaveBlankRun(const std::string& runFolder, const std::string& format, double minutes)
{
    // A blank that was not saved leaves the labels as they were.
    if (ProjectRunActions(console_, state).SaveBlankMeasurement(runFolder, format, minutes)) ShowBlankOf(format);
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
