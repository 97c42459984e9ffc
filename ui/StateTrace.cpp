#include "ui/StateTrace.h"

#include "panel/ControlState.h"

#include <QApplication>
#include <QWidget>

namespace owlet {
namespace {

// One line per record: line breaks and backslashes are escaped.
QByteArray escaped(std::string_view text) {
    QByteArray out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

QByteArray valueOf(Property property, const ControlState& s) {
    switch (property) {
    case Property::Text:
        return escaped(s.text);
    case Property::Visible:
        return QByteArray::number(s.visible);
    case Property::BackColor:
        return QByteArray::number(s.backColor.value_or(0), 16).rightJustified(6, '0').toUpper();
    case Property::ListIndex:
        return QByteArray::number(s.listIndex);
    case Property::Value:
        return QByteArray::number(s.value);
    case Property::Selected:
        return QByteArray::number(s.selected);
    case Property::Bold:
        return QByteArray::number(s.bold);
    case Property::Note:
        return escaped(s.note);
    }
    return {};
}

QByteArray nameOf(Control control) {
    const std::string_view name = controlName(control);
    return {name.data(), static_cast<qsizetype>(name.size())};
}

} // namespace

StateTrace::StateTrace(const QString& path, ControlOf controlOf, QObject* parent)
    : QObject(parent)
    , file_(path)
    , controlOf_(std::move(controlOf)) {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        qWarning("owlet: cannot write the trace %s", qPrintable(path));
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void StateTrace::propertyChanged(Control control, Property property, const ControlState& state) {
    const std::string_view name = propertyName(property);
    line(nameOf(control) + ' ' + QByteArray(name.data(), qsizetype(name.size())).toLower() + ' ' +
         valueOf(property, state));
}

void StateTrace::textAppended(Control control, std::string_view appended) {
    line(nameOf(control) + " append " + escaped(appended));
}

void StateTrace::focusChanged(QWidget* now) {
    for (const QWidget* w = now; w; w = w->parentWidget())
        if (const auto control = controlOf_(w))
            return line("focus " + nameOf(*control));
    line("focus none");
}

void StateTrace::line(const QByteArray& text) {
    if (file_.isOpen())
        file_.write(text + '\n');
}

} // namespace owlet
