#include "ui/SynthWindow.h"

#include "panel/InitialState.h"
#include "panel/Layout.h"
#include "ui/AccessibleInterfaces.h"
#include "ui/Announcer.h"
#include "ui/FocusFirst.h"
#include "ui/Look.h"
#include "ui/LoopWindow.h"
#include "ui/QtText.h"
#include "ui/ResponseBox.h"
#include "ui/StateTrace.h"

// The icon as compiled-in XPM data: read by QtGui itself, so no image-format plugin is
// loaded to find out what a file holds.
#include "ui/owlet.xpm"

#include <QAction>

namespace owlet {
namespace {

// Before any control exists: with a screen reader already listening, Qt makes and keeps
// each control's accessible interface as the control is made, and would never ask ours.
QWidget* withAccessibleInterfaces(QWidget* parent) {
    installAccessibleInterfaces();
    return parent;
}

} // namespace

SynthWindow::SynthWindow(ModuleLink& link, PortListing portListing, QWidget* parent)
    : QWidget(withAccessibleInterfaces(parent))
    , panel_(link, errorDialog_)
    , widgets_(this, panel_)
    , announcer_(new Announcer(this))
    , portToolTip_(widgets_.widget(Control::CPNo), std::move(portListing)) {
    new FocusFirst(this); // for every window of the program, the loop filter's too
    setWindowTitle(qt(WindowCaption));
    setWindowIcon(QPixmap(owletIcon));
    setFont(defaultFont());
    setFixedSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));
    applyLook(widgets_);
    for (std::size_t i = 0; i < ControlCount; ++i)
        mirror_.mirrorAll(static_cast<Control>(i));
    for (std::size_t i = 0; i < ControlCount; ++i)
        applyAccessibleName(static_cast<Control>(i), widgets_); // once the labels hold captions
    widgets_.applyTabOrder();
    binding_ = std::make_unique<InputBinding>(panel_, widgets_, [this](Control control) {
        mirror_.mirror(control, Property::ListIndex); // the box shows the model's choice
    });
    panel_.setView(this);
    panel_.load();
    widget(Control::Fref)->setFocus();
    // The loop designer without a control of its own on the panel: Ctrl+L and the
    // context menu.
    auto* loop = new QAction(QStringLiteral("Loop filter\u2026"), this);
    loop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(loop, &QAction::triggered, this, [this] { openLoopWindow(); });
    addAction(loop);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

LoopWindow& SynthWindow::openLoopWindow() {
    if (!loopWindow_) {
        loopWindow_ = new LoopWindow(this);
        // The trace tells what the loop window shows: its problem line and its figures.
        connect(loopWindow_, &LoopWindow::answered, this, [this] {
            if (!trace_)
                return;
            trace_->line("loop problem " +
                         QByteArray::fromStdString(loopWindow_->designer().problemLine()));
            trace_->line("loop figures " + loopWindow_->figuresText().simplified().toUtf8());
        });
        loopWindow_->followPanel(panel_);
        // Beside the panel, not over it.
        loopWindow_->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    loopWindow_->show();
    loopWindow_->raise();
    loopWindow_->activateWindow();
    return *loopWindow_;
}

// The controls outlive the panel model (QWidget deletes its children last), and a focused
// field that goes away still reports losing the focus: the trace and the binding are
// destroyed first (they are declared last), so nothing calls into the model after this.
SynthWindow::~SynthWindow() {
    panel_.setView(nullptr);
}

// The response box appears only once a port is open: made then, with what the model holds.
void SynthWindow::showResponseBox() {
    if (widgets_.responseBox())
        return;
    widgets_.makeResponseBox()->append(qt(panel_.text(Control::Text1)));
    applyAccessibleName(Control::Text1, widgets_);
    widgets_.applyTabOrder(); // the new box comes first, the others keep their order after it
}

void SynthWindow::startTrace(const QString& path) {
    trace_ = std::make_unique<StateTrace>(
        path, [this](const QWidget* w) { return widgets_.controlOf(w); });
}

void SynthWindow::propertyChanged(Control control, Property property) {
    const bool shown = property == Property::Visible && panel_.visible(control);
    if (control == Control::Text1 && shown)
        showResponseBox();
    mirror_.mirror(control, property);
    if (loopWindow_)
        loopWindow_->followPanel(panel_);
    if (trace_)
        trace_->propertyChanged(control, property, panel_.state(control));
}

void SynthWindow::announce(std::string_view words) {
    announcer_->announce(qt(words));
    if (trace_)
        trace_->line("said " + QByteArray(words.data(), static_cast<qsizetype>(words.size())));
}

void SynthWindow::textAppended(Control control, std::string_view appended) {
    if (ResponseBox* box = widgets_.responseBox(); box && control == Control::Text1)
        box->append(qt(appended));
    if (trace_)
        trace_->textAppended(control, appended);
}

} // namespace owlet
