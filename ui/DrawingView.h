#pragma once

#include "loop/report/Drawing.h"

#include <QWidget>

namespace owlet {

// Paints a drawing the loop core laid out, scaled to fit and kept in proportion; its
// groups' summaries are its description for screen readers.
class DrawingView final : public QWidget {
    Q_OBJECT

public:
    explicit DrawingView(const QString& name, QWidget* parent = nullptr);
    void setDrawing(loop::Drawing drawing);
    const loop::Drawing& drawing() const { return drawing_; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    loop::Drawing drawing_;
};

} // namespace owlet
