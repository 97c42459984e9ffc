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

// An RGB value written RRGGBB.
inline QColor rgb(unsigned value) {
    return QColor::fromRgb(value);
}

} // namespace owlet
