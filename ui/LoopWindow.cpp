#include "ui/LoopWindow.h"

#include "panel/LoopFeed.h"
#include "ui/DrawingView.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace owlet {
namespace {

using loop::LoopField;

// Where an input is kept in the user's configuration file, ~/.config/owlet/owlet.conf.
QString keyOf(LoopField field) {
    return QStringLiteral("loop/") + qt(loop::LoopDesigner::input(field).key);
}

} // namespace

LoopWindow::LoopWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Loop filter"));
    settings_ = new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                              QStringLiteral("owlet"), QStringLiteral("owlet"), this);
    // One group box a group of the designer's inputs, in their order.
    std::map<std::string_view, QGroupBox*> boxes;
    std::vector<std::pair<LoopField, std::string>> stored;
    auto* inputs = new QVBoxLayout;
    for (const loop::LoopDesigner::Input& in : loop::LoopDesigner::inputs()) {
        QGroupBox*& box = boxes[in.group];
        if (!box) {
            box = new QGroupBox(qt(in.group));
            new QFormLayout(box);
            inputs->addWidget(box);
        }
        const LoopField f = in.field;
        if (settings_->contains(keyOf(f)))
            stored.emplace_back(f, settings_->value(keyOf(f)).toString().toStdString());
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("loop-") + qt(in.key));
        edit->setPlaceholderText(qt(in.hint));
        auto* label = new QLabel(qt(loop::LoopDesigner::label(f)));
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        static_cast<QFormLayout*>(box->layout())->addRow(label, edit);
        fields_[f] = edit;
        connect(edit, &QLineEdit::textEdited, this,
                [this, f](const QString& text) { edited(f, text); });
    }
    designer_.setTexts(stored);
    for (const auto& [f, edit] : fields_)
        edit->setText(qt(designer_.text(f)));
    QGroupBox* designBox = boxes.at(loop::LoopDesigner::inputs().back().group);
    series_ = new QComboBox;
    series_->addItems({QStringLiteral("E24"), QStringLiteral("E12")});
    series_->setCurrentIndex(
        settings_->value(QStringLiteral("loop/series")).toString() == "E12" ? 1 : 0);
    designer_.setSeries(series_->currentIndex() == 1 ? loop::ESeries::E12 : loop::ESeries::E24);
    auto* seriesLabel = new QLabel(QStringLiteral("Series"));
    seriesLabel->setBuddy(series_);
    series_->setAccessibleName(QStringLiteral("Series"));
    auto* designButton = new QPushButton(QStringLiteral("Design"));
    designButton->setAccessibleDescription(
        QStringLiteral("Fills R1 and R2 from the natural frequency and the damping"));
    auto* designForm = static_cast<QFormLayout*>(designBox->layout());
    designForm->addRow(seriesLabel, series_);
    designForm->addRow(designButton);
    inputs->addWidget(designBox);
    inputs->addStretch();
    connect(series_, &QComboBox::currentIndexChanged, this, [this](int index) {
        designer_.setSeries(index == 1 ? loop::ESeries::E12 : loop::ESeries::E24);
        settings_->setValue(QStringLiteral("loop/series"), series_->currentText());
    });
    connect(designButton, &QPushButton::clicked, this, &LoopWindow::design);

    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setAccessibleName(QStringLiteral("Problem"));
    QPalette warn = problem_->palette();
    warn.setColor(QPalette::WindowText, QColor(0xa0, 0x10, 0x10));
    problem_->setPalette(warn);
    figures_ = new QPlainTextEdit;
    figures_->setReadOnly(true);
    figures_->setLineWrapMode(QPlainTextEdit::NoWrap);
    figures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    figures_->setAccessibleName(QStringLiteral("Figures"));
    figures_->setFixedHeight(figures_->fontMetrics().lineSpacing() * 14 + 12);
    warnings_ = new QLabel;
    warnings_->setWordWrap(true);
    warnings_->setAccessibleName(QStringLiteral("Warnings"));
    warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    schematic_ = new DrawingView(QStringLiteral("Schematic"));
    schematic_->setMinimumSize(480, 200);
    auto* results = new QVBoxLayout;
    results->addWidget(problem_);
    results->addWidget(figures_);
    results->addWidget(warnings_);
    results->addWidget(schematic_);
    results->addStretch();
    auto* plotsColumn = new QVBoxLayout;
    const QString plotNames[] = {QStringLiteral("Open-loop gain plot"),
                                 QStringLiteral("Open-loop phase plot"),
                                 QStringLiteral("Step response plot")};
    for (std::size_t i = 0; i < plots_.size(); ++i) {
        plots_[i] = new DrawingView(plotNames[i]);
        plots_[i]->setMinimumSize(440, 165);
        plotsColumn->addWidget(plots_[i]);
    }
    auto* all = new QHBoxLayout(this);
    all->addLayout(inputs);
    all->addLayout(results, 1);
    all->addLayout(plotsColumn, 1);
    refresh();
}

void LoopWindow::followPanel(const SynthPanel& panel) {
    FeedLoop(panel, designer_);
    refresh();
}

void LoopWindow::edited(LoopField field, const QString& text) {
    designer_.setText(field, text.toStdString());
    settings_->setValue(keyOf(field), text);
    refresh();
}

void LoopWindow::design() {
    if (designer_.design())
        for (const LoopField f : {LoopField::R1, LoopField::R2}) {
            fields_[f]->setText(qt(designer_.text(f)));
            settings_->setValue(keyOf(f), fields_[f]->text());
        }
    refresh();
}

// Shows what the designer answers: the problem line, each field marked or not, the
// figures, the warnings and the drawings.
void LoopWindow::refresh() {
    problem_->setText(qt(designer_.problemLine()));
    problem_->setVisible(!problem_->text().isEmpty());
    for (const auto& [f, edit] : fields_) {
        const QString need = qt(designer_.problemOf(f));
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, need.isEmpty() ? QPalette().color(QPalette::Base)
                                                        : QColor(0xff, 0xd8, 0xd8));
        edit->setPalette(palette);
        edit->setAccessibleDescription(need);
        edit->setToolTip(need);
    }
    QString text;
    int width = 0;
    for (const loop::FigureRow& row : designer_.rows())
        width = std::max(width, static_cast<int>(qt(row.label).size()));
    for (const loop::FigureRow& row : designer_.rows())
        text += qt(row.label).leftJustified(width + 2) + qt(row.value) + u'\n';
    if (figures_->toPlainText() != text)
        figures_->setPlainText(text);
    QStringList warnings;
    for (const std::string& w : designer_.warnings())
        warnings << qt(w);
    warnings_->setText(warnings.join(u'\n'));
    warnings_->setVisible(!warnings.isEmpty());
    schematic_->setDrawing(designer_.schematic());
    const auto& drawings = designer_.plots();
    for (std::size_t i = 0; i < plots_.size(); ++i)
        plots_[i]->setDrawing(i < drawings.size() ? drawings[i] : loop::Drawing{});
    emit answered();
}

QString LoopWindow::figuresText() const {
    return figures_->toPlainText();
}

} // namespace owlet
