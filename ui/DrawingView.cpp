#include "ui/DrawingView.h"

#include "loop/LoopDesigner.h"
#include "ui/QtText.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace owlet {

DrawingView::DrawingView(const QString& name, QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(name);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void DrawingView::setDrawing(loop::Drawing drawing) {
    drawing_ = std::move(drawing);
    const QString summary = qt(loop::LoopDesigner::Description(drawing_));
    setAccessibleDescription(summary);
    setToolTip(summary);
    updateGeometry();
    update();
}

QSize DrawingView::sizeHint() const {
    return {qRound(drawing_.width * 0.8), qRound(drawing_.height * 0.8)};
}

int DrawingView::heightForWidth(int width) const {
    return drawing_.width > 0 ? qRound(width * drawing_.height / drawing_.width) : 0;
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (drawing_.width <= 0 || drawing_.height <= 0)
        return;
    const double scale = std::min(width() / drawing_.width, height() / drawing_.height);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (const loop::DrawingGroup& g : drawing_.groups)
        for (const loop::Shape& s : g.shapes) {
            const QColor colour(QString::fromStdString(s.colour));
            if (s.kind == loop::Shape::Kind::Text) {
                QFont f = font;
                f.setBold(s.bold);
                p.setFont(f);
                p.setPen(colour);
                const QString words = qt(s.text);
                const double w = p.fontMetrics().horizontalAdvance(words);
                const double shift = s.anchor == loop::Shape::Anchor::Middle ? w / 2
                                     : s.anchor == loop::Shape::Anchor::End  ? w
                                                                             : 0;
                p.drawText(QPointF(s.points[0][0] - shift, s.points[0][1]), words);
                continue;
            }
            if (s.kind == loop::Shape::Kind::Circle) {
                p.setPen(Qt::NoPen);
                p.setBrush(colour);
                p.drawEllipse(QPointF(s.points[0][0], s.points[0][1]), s.width, s.width);
                continue;
            }
            QPainterPath path;
            bool move = true;
            for (const auto& pt : s.points) {
                if (!std::isfinite(pt[0]) || !std::isfinite(pt[1])) {
                    move = true;
                    continue;
                }
                move ? path.moveTo(pt[0], pt[1]) : path.lineTo(pt[0], pt[1]);
                move = false;
            }
            QPen pen(colour, s.width);
            if (!s.dashes.empty()) {
                QList<qreal> pattern; // Qt's dashes are in pen widths
                for (const double length : s.dashes)
                    pattern << length / s.width;
                pen.setDashPattern(pattern);
            }
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
}

} // namespace owlet
