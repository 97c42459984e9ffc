#pragma once

#include <QColor>
#include <QString>

#include <string>
#include <string_view>

namespace owlet {

// The model's UTF-8 text as Qt's.
inline QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Captions hold CR LF for a line break; a plain-text label wants LF alone.
inline QString caption(const std::string& text) {
    return qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// An RGB value written RRGGBB.
inline QColor rgb(unsigned value) {
    return QColor::fromRgb(value);
}

} // namespace owlet
