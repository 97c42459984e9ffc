#include "ui/SynthWindow.h"

#include "link/PortMapping.h"
#include "panel/InitialState.h"
#include "ui/AccessibleInterfaces.h"
#include "ui/ChoiceComboBox.h"
#include "ui/LayoutTable.h"
#include "ui/ResponseBox.h"
#include "ui/StateTrace.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolTip>

// The icon lives in this static library's resources, which need loading by hand.
static void loadResources() {
    Q_INIT_RESOURCE(owlet);
}

namespace owlet {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Captions hold CR LF for a line break; a plain-text label wants LF alone.
QString caption(const std::string& text) {
    return qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QColor rgb(unsigned value) {
    return QColor::fromRgb(value);
}

Qt::Alignment alignment(Align align) {
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft | Qt::AlignTop;
    case Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Default:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Fusion paints a button's colour as a pale gradient; a style sheet paints it solid, and
// keeps a pressed and a focused look of its own.
QString solidButton(const QColor& colour) {
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid %2; "
                          "border-radius: 2px; }"
                          "QPushButton:pressed { background-color: %2; }"
                          "QPushButton:focus { border: 2px solid palette(highlight); }")
        .arg(colour.name(), colour.darker(150).name());
}

// The caption label of each input, also its name for a screen reader.
struct Caption {
    Control input;
    Control label;
};
constexpr Caption Captions[] = {
    {Control::Fref, Control::Label1},  {Control::Fcomp2, Control::Label3},
    {Control::Fout, Control::Label2},  {Control::Rreg, Control::Label5},
    {Control::Nreg, Control::Label4},  {Control::Creg, Control::Label13},
    {Control::Text1, Control::Label8},
};

// Inputs without a caption label of their own.
QString accessibleNameOf(Control control) {
    switch (control) {
    case Control::RefOut:
        return QStringLiteral("REFout frequency");
    case Control::CPNo:
        return QStringLiteral("COM port number");
    default:
        return {};
    }
}

// The red or white background of a frequency field, in words.
QString editedDescription(bool edited) {
    return edited ? QStringLiteral("Edited")
                  : QStringLiteral("Not edited yet: shows the prompt Enter value");
}

} // namespace

QFont SynthWindow::defaultFont() {
    // A narrow sans-serif face near the old 8 pt system font, so every caption fits its
    // control: 11 device-independent pixels.
    QFont font;
    // fontconfig's metric aliases stand in Arimo or Arial where Liberation is missing, and
    // the style hint any sans-serif face after them.
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont SynthWindow::entryFont(bool bold) {
    // 9.75 points are 13 pixels at 96 dpi.
    QFont font = defaultFont();
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

SynthWindow::SynthWindow(ModuleLink& link, QWidget* parent)
    : QWidget(parent)
    , panel_(link, errorDialog_) {
    loadResources();
    setWindowTitle(qt(WindowCaption));
    setWindowIcon(QPixmap(QStringLiteral(":/owlet/owlet.xpm"), "XPM")); // named: no probing
    setFont(defaultFont());
    setFixedSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));
    createControls();
    applyLook();
    for (std::size_t i = 0; i < ControlCount; ++i) {
        const auto control = static_cast<Control>(i);
        for (Property p :
             {Property::Text, Property::Visible, Property::BackColor, Property::ListIndex,
              Property::Value, Property::Selected, Property::Bold})
            mirror(control, p);
        bind(control);
    }
    installAccessibleInterfaces();
    for (std::size_t i = 0; i < ControlCount; ++i)
        applyAccessibleName(static_cast<Control>(i)); // once the labels hold their captions
    applyTabOrder();
    panel_.setView(this);
    panel_.load();
    widget(Control::Fref)->setFocus();
}

// The controls outlive this body and the panel model (QWidget deletes its children last),
// and a focused field that goes away still reports losing the focus: cut every tie to the
// model first, so nothing calls into it while either is being destroyed.
SynthWindow::~SynthWindow() {
    panel_.setView(nullptr);
    for (QWidget* w : widgets_)
        if (w) {
            w->disconnect(this);
            for (QObject* part : w->children())
                part->disconnect(this);
            w->removeEventFilter(this);
        }
    delete trace_;
    trace_ = nullptr;
}

void SynthWindow::createControls() {
    for (const Placement& placement : Layout)
        if (placement.control != Control::Text1) // made when first shown
            place(createControl(placement.control), placement);
}

void SynthWindow::place(QWidget* w, const Placement& placement) {
    w->setObjectName(qt(controlName(placement.control)));
    w->setGeometry(pixels(placement.left), pixels(placement.top), pixels(placement.width),
                   pixels(placement.height));
    widgets_[indexOf(placement.control)] = w;
}

// The response box appears only once a port is open, and a text document is the dearest
// widget to start: it is made when first shown, which keeps start-up lean.
void SynthWindow::ensureResponseBox() {
    if (responseBox_)
        return;
    responseBox_ = new ResponseBox(this);
    for (const Placement& placement : Layout)
        if (placement.control == Control::Text1)
            place(responseBox_, placement);
    responseBox_->append(qt(panel_.text(Control::Text1)));
    applyAccessibleName(Control::Text1);
    applyTabOrder(); // the new box comes first, the others keep their order after it
}

QWidget* SynthWindow::createControl(Control control) {
    switch (controlKind(control)) {
    case ControlKind::TextBox:
        return new QLineEdit(this);
    case ControlKind::MultiLineTextBox:
        return nullptr; // the response box is made when first shown
    case ControlKind::ComboBox: {
        auto* box = new ChoiceComboBox(this);
        for (const std::string& entry : panel_.state(control).list)
            box->addItem(qt(entry));
        return box;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(this);
    case ControlKind::OptionButton:
        return new QRadioButton(this);
    case ControlKind::CommandButton:
        return new QPushButton(this);
    case ControlKind::Label: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::Frame:
        return new QGroupBox(this);
    }
    return nullptr;
}

void SynthWindow::applyLook() {
    for (const Placement& place : Layout) {
        QWidget* w = widget(place.control);
        if (!w)
            continue;
        if (place.font != FontRole::Window)
            w->setFont(entryFont(place.font == FontRole::Banner));
        if (auto* label = qobject_cast<QLabel*>(w); label && place.align != Align::Default)
            label->setAlignment(alignment(place.align));
        QPalette palette = w->palette();
        if (place.textColor != NoColor) {
            palette.setColor(QPalette::WindowText, rgb(place.textColor));
            palette.setColor(QPalette::Text, rgb(place.textColor));
        }
        if (place.backColor != NoColor) {
            palette.setColor(QPalette::Window, rgb(place.backColor));
            palette.setColor(QPalette::Base, rgb(place.backColor));
            palette.setColor(QPalette::Button, rgb(place.backColor));
            w->setAutoFillBackground(qobject_cast<QLabel*>(w) != nullptr);
            if (qobject_cast<QPushButton*>(w))
                w->setStyleSheet(solidButton(rgb(place.backColor)));
        }
        w->setPalette(palette);
        if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w))
            w->setFocusPolicy(Qt::NoFocus);
    }
    widget(Control::CPNo)->installEventFilter(this); // tooltip with the ports of the moment
    widget(Control::CPNo)->setToolTip(QStringLiteral("Port numbers"));
}

// Every input is named by its caption, through the label's buddy where it has one, and
// named outright as well: Qt names a focused text box by its buddy, but not every screen
// reader asks for the relation.
void SynthWindow::applyAccessibleName(Control control) {
    QWidget* w = widget(control);
    if (!w)
        return;
    QString name = accessibleNameOf(control);
    for (const Caption& c : Captions)
        if (c.input == control) {
            auto* label = qobject_cast<QLabel*>(widget(c.label));
            label->setBuddy(w);
            name = label->text();
        }
    if (name.isEmpty())
        return;
    w->setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(w))
        box->lineEdit()->setAccessibleName(name);
}

void SynthWindow::applyTabOrder() {
    // Controls are numbered in tab order; labels and frames take no focus.
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < ControlCount; ++i) {
        QWidget* w = widgets_[i];
        if (!w || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void SynthWindow::bind(Control control) {
    QWidget* w = widget(control);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
            panel_.userEditedText(control, text.toStdString());
        });
        if (control == Control::Fref || control == Control::Fout)
            edit->installEventFilter(this);
    } else if (auto* box = qobject_cast<ChoiceComboBox*>(w)) {
        connect(box, &ChoiceComboBox::entryChosen, this, [this, box, control](int index) {
            panel_.userChoseListEntry(control, index);
            mirrorCombo(box, control); // the box shows the model's choice, whatever it did
        });
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [this, control](const QString& text) {
                    panel_.userEditedText(control, text.toStdString());
                });
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        connect(check, &QCheckBox::clicked, this,
                [this, control](bool checked) { panel_.userSetCheck(control, checked ? 1 : 0); });
    } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
        connect(option, &QRadioButton::clicked, this,
                [this, control] { panel_.userClickedOption(control); });
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        connect(button, &QPushButton::clicked, this,
                [this, control] { panel_.userPressedButton(control); });
    }
}

bool SynthWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        // A click into Fref or Fout: pointer pressed and released inside the field.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* field = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && field &&
            field->rect().contains(mouse->position().toPoint()))
            if (const auto control = controlOf(watched))
                panel_.userClickedField(*control);
        break;
    }
    case QEvent::ToolTip:
        if (watched == widget(Control::CPNo)) {
            QToolTip::showText(
                static_cast<QHelpEvent*>(event)->globalPos(),
                QStringLiteral("Port numbers now:\n") + portAssignmentsText() +
                    QStringLiteral("\nOWLET_COM<n>=/dev/... in the environment names the "
                                   "device of port n."),
                widget(Control::CPNo));
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<Control> SynthWindow::controlOf(const QObject* object) const {
    for (std::size_t i = 0; i < ControlCount; ++i)
        if (widgets_[i] && widgets_[i] == object)
            return static_cast<Control>(i);
    return std::nullopt;
}

void SynthWindow::startTrace(const QString& path) {
    trace_ = new StateTrace(
        path, [this](const QWidget* w) { return controlOf(w); }, this);
}

void SynthWindow::propertyChanged(Control control, Property property) {
    mirror(control, property);
    if (trace_)
        trace_->propertyChanged(control, property, panel_.state(control));
}

void SynthWindow::textAppended(Control control, std::string_view appended) {
    if (control == Control::Text1 && responseBox_)
        responseBox_->append(qt(appended));
    if (trace_)
        trace_->textAppended(control, appended);
}

void SynthWindow::mirror(Control control, Property property) {
    const ControlState& s = panel_.state(control);
    if (control == Control::Warn && s.visible)
        announceWarning();
    if (control == Control::Text1 && property == Property::Visible && s.visible)
        ensureResponseBox();
    QWidget* w = widget(control);
    if (!w)
        return; // a response box not made yet takes its text from the model when it is
    switch (property) {
    case Property::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (edit->text() != qt(s.text)) // never disturb what the user is typing
                edit->setText(qt(s.text));
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            mirrorCombo(box, control);
        } else if (w == responseBox_) {
            responseBox_->clearText();
            responseBox_->append(qt(s.text));
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(caption(s.text));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(qt(s.text));
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            frame->setTitle(qt(s.text));
        }
        break;
    case Property::Visible:
        w->setVisible(s.visible);
        break;
    case Property::BackColor:
        if (s.backColor) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, rgb(*s.backColor));
            w->setPalette(palette);
            w->setAccessibleDescription(editedDescription(*s.backColor != Red));
        }
        break;
    case Property::ListIndex:
        if (auto* box = qobject_cast<QComboBox*>(w))
            mirrorCombo(box, control);
        break;
    case Property::Value:
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setTristate(s.value == 2);
            check->setCheckState(s.value == 1   ? Qt::Checked
                                 : s.value == 2 ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
        }
        break;
    case Property::Selected:
        if (auto* option = qobject_cast<QRadioButton*>(w); option && s.selected)
            option->setChecked(true);
        break;
    case Property::Bold:
        if (qobject_cast<QPushButton*>(w)) {
            QFont font = w->font();
            font.setBold(s.bold);
            w->setFont(font);
        }
        break;
    }
}

// The warning appears without the focus moving: besides its alert role, raise an alert
// event once its caption and visibility have settled, as a message box does.
void SynthWindow::announceWarning() {
    if (warningPending_)
        return;
    warningPending_ = true;
    QTimer::singleShot(0, this, [this] {
        warningPending_ = false;
        if (QWidget* warn = widget(Control::Warn); warn->isVisible()) {
            QAccessibleEvent alert(warn, QAccessible::Alert);
            QAccessible::updateAccessibility(&alert);
        }
    });
}

void SynthWindow::mirrorCombo(QComboBox* box, Control control) {
    const ControlState& s = panel_.state(control);
    const QString text = qt(s.text);
    QLineEdit* edit = box->lineEdit();
    const int cursor = edit->cursorPosition();
    if (box->currentIndex() != s.listIndex)
        box->setCurrentIndex(s.listIndex); // also rewrites the field: put the text back below
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(std::min<int>(cursor, static_cast<int>(text.size())));
    }
}

} // namespace owlet
