#include "ui/LoopWindow.h"

#include "panel/SynthPanel.h"
#include "ui/DrawingView.h"
#include "ui/ProfileTable.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace owlet {
namespace {

using loop::LoopDesigner;
using loop::LoopField;

// Where an input is kept in the user's configuration file, ~/.config/owlet/owlet.conf.
QString keyOf(LoopField field) {
    return QStringLiteral("loop/") + qt(loop::RowOf(field).key);
}

// What the configuration file holds for an input. A profile written there by hand without
// quotes, 100:-130,1k:-150, reads as a list: its entries are the points.
std::string storedText(const QSettings& settings, LoopField field) {
    const QVariant value = settings.value(keyOf(field));
    return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                     : value.toString())
        .toStdString();
}

} // namespace

LoopWindow::LoopWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    constexpr const loop::LoopWords& words = LoopDesigner::Words;
    setWindowTitle(qt(words.title));
    settings_ = new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                              QStringLiteral("owlet"), QStringLiteral("owlet"), this);
    // One group box a group of the designer's inputs, in their order.
    std::map<std::string_view, QGroupBox*> boxes;
    std::vector<std::pair<LoopField, std::string>> stored;
    auto* inputs = new QVBoxLayout;
    for (const LoopField f : LoopDesigner::Inputs()) {
        const loop::LoopFieldRow& row = loop::RowOf(f);
        QGroupBox*& box = boxes[row.group];
        if (!box) {
            box = new QGroupBox(qt(row.group));
            new QFormLayout(box);
            inputs->addWidget(box);
        }
        if (settings_->contains(keyOf(f)))
            stored.emplace_back(f, storedText(*settings_, f));
        auto* label = new QLabel(qt(loop::LoopFieldLabel(f)));
        auto* form = static_cast<QFormLayout*>(box->layout());
        if (row.profile) {
            auto* table = new ProfileTable(label->text());
            table->setObjectName(QStringLiteral("loop-") + qt(row.key));
            label->setBuddy(table->table());
            form->addRow(label, table);
            profiles_[f] = table;
            connect(table, &ProfileTable::rowsEdited, this, [this, f] { profileEdited(f); });
            continue;
        }
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("loop-") + qt(row.key));
        edit->setPlaceholderText(qt(row.hint));
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        form->addRow(label, edit);
        fields_[f] = edit;
        connect(edit, &QLineEdit::textEdited, this,
                [this, f](const QString& text) { edited(f, text); });
    }
    designer_.setTexts(stored);
    for (const auto& [f, edit] : fields_)
        edit->setText(qt(designer_.text(f)));
    for (const auto& [f, table] : profiles_)
        table->setRows(designer_.profileRows(f));
    // The design's choice, the series and the button close the design's group.
    designBy_ = new QComboBox;
    for (const std::string_view choice : words.designChoices)
        designBy_->addItem(qt(choice));
    designer_.setDesignBy(
        settings_->value(QStringLiteral("loop/design-by")).toString().toStdString());
    designBy_->setCurrentText(qt(designer_.designBy()));
    auto* designByLabel = new QLabel(qt(words.designBy));
    designByLabel->setBuddy(designBy_);
    designBy_->setAccessibleName(designByLabel->text());
    series_ = new QComboBox;
    for (const std::string_view choice : words.seriesChoices)
        series_->addItem(qt(choice));
    designer_.setSeries(settings_->value(QStringLiteral("loop/series")).toString().toStdString());
    series_->setCurrentText(qt(designer_.series()));
    auto* seriesLabel = new QLabel(qt(words.series));
    seriesLabel->setBuddy(series_);
    series_->setAccessibleName(seriesLabel->text());
    auto* designButton = new QPushButton(qt(words.design));
    designButton->setAccessibleDescription(qt(words.designDescription));
    auto* lowestButton = new QPushButton(qt(words.lowestNoise));
    lowestButton->setObjectName(QStringLiteral("loop-lowest-noise"));
    lowestButton->setAccessibleDescription(qt(words.lowestNoiseDescription));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(designButton);
    buttons->addWidget(lowestButton);
    buttons->addStretch();
    auto* designForm = static_cast<QFormLayout*>(boxes.at(words.designGroup)->layout());
    designForm->addRow(designByLabel, designBy_);
    designForm->addRow(seriesLabel, series_);
    designForm->addRow(buttons);
    inputs->addStretch();
    connect(series_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        designer_.setSeries(name.toStdString());
        settings_->setValue(QStringLiteral("loop/series"), name);
    });
    connect(designBy_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        designer_.setDesignBy(name.toStdString());
        settings_->setValue(QStringLiteral("loop/design-by"), name);
    });
    connect(designButton, &QPushButton::clicked, this, [this] { takeDesign(designer_.design()); });
    connect(lowestButton, &QPushButton::clicked, this,
            [this] { takeDesign(designer_.lowestNoise()); });
    simulation_ = new QTimer(this);
    simulation_->setSingleShot(true);
    simulation_->setInterval(0);
    connect(simulation_, &QTimer::timeout, this, &LoopWindow::simulate);

    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setAccessibleName(qt(words.problem));
    QPalette warn = problem_->palette();
    warn.setColor(QPalette::WindowText, QColor(0xa0, 0x10, 0x10));
    problem_->setPalette(warn);
    figures_ = new QPlainTextEdit;
    figures_->setReadOnly(true);
    // A caret the arrows move, so a screen reader reads the figures line by line.
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    figures_->setLineWrapMode(QPlainTextEdit::NoWrap);
    figures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    figures_->setAccessibleName(qt(words.figures));
    // The rows of the loop at once, the longest whole, and more as the window allows: a row
    // a line, values two blanks after the labels.
    figures_->setMinimumHeight(figures_->fontMetrics().lineSpacing() * 18 + 12);
    figures_->setMinimumWidth(figures_->fontMetrics().horizontalAdvance(QString(84, u'0')));
    warnings_ = new QLabel;
    warnings_->setWordWrap(true);
    warnings_->setAccessibleName(qt(words.warnings));
    warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* results = new QVBoxLayout;
    results->addWidget(problem_);
    results->addWidget(figures_, 1);
    results->addWidget(warnings_);
    auto* plotsColumn = new QVBoxLayout;
    for (std::size_t i = 0; i < drawings_.size(); ++i) {
        drawings_[i] = new DrawingView(qt(words.drawings[i]));
        // The schematic and the phase-noise plot under the figures, the loop's plots beside.
        if (i == 0 || i + 1 == drawings_.size()) {
            drawings_[i]->setMinimumSize(480, 200);
            results->addWidget(drawings_[i]);
        } else {
            drawings_[i]->setMinimumSize(440, 165);
            plotsColumn->addWidget(drawings_[i]);
        }
    }
    auto* all = new QHBoxLayout(this);
    // The inputs scroll where the screen is shorter than their column.
    auto* inputsArea = new QScrollArea;
    auto* inputsWidget = new QWidget;
    inputsWidget->setLayout(inputs);
    inputsArea->setWidget(inputsWidget);
    inputsArea->setWidgetResizable(true);
    inputsArea->setFrameShape(QFrame::NoFrame);
    inputsArea->setFocusPolicy(Qt::NoFocus); // the first input keeps the focus
    inputsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    inputsArea->setMinimumWidth(inputsWidget->sizeHint().width() +
                                inputsArea->verticalScrollBar()->sizeHint().width());
    all->addWidget(inputsArea);
    all->addLayout(results, 1);
    all->addLayout(plotsColumn, 1);
    // Tall enough for every input where the screen allows it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(sizeHint().width(), std::min(inputsWidget->sizeHint().height() + 24,
                                            screen->availableGeometry().height() * 9 / 10));
    refresh();
}

void LoopWindow::followPanel(const SynthPanel& panel) {
    const loop::PanelSetting setting{panel.text(Control::Fref), panel.text(Control::Fcomp2),
                                     panel.text(Control::Fout), panel.state(Control::PD1).selected,
                                     panel.state(Control::InvertPD).value == 1};
    if (designer_.followPanel(setting))
        refresh();
}

void LoopWindow::edited(LoopField field, const QString& text) {
    designer_.setText(field, text.toStdString());
    settings_->setValue(keyOf(field), text);
    refresh();
}

void LoopWindow::profileEdited(LoopField field) {
    ProfileTable* table = profiles_.at(field);
    if (designer_.setProfileRows(field, table->rows()))
        table->showRows(designer_.profileRows(field));
    settings_->setValue(keyOf(field), qt(designer_.text(field)));
    refresh();
}

void LoopWindow::takeDesign(const std::vector<LoopField>& changed) {
    for (const LoopField f : changed) {
        fields_[f]->setText(qt(designer_.text(f)));
        settings_->setValue(keyOf(f), fields_[f]->text());
    }
    refresh();
}

// Hides a field's row, label and all, where it has no use with the panel's detector.
void LoopWindow::setRowShown(QWidget* field, bool shown) {
    if (field->isVisibleTo(this) == shown)
        return;
    auto* form = static_cast<QFormLayout*>(field->parentWidget()->layout());
    form->setRowVisible(field, shown);
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
        setRowShown(edit, designer_.applies(f));
    }
    for (const auto& [f, table] : profiles_) {
        table->markProblems(designer_.profileRowProblems(f));
        table->table()->setAccessibleDescription(qt(designer_.problemOf(f)));
    }
    const QString text = qt(designer_.figuresText());
    if (figures_->toPlainText() != text)
        figures_->setPlainText(text);
    QStringList warnings;
    for (const std::string& w : designer_.warnings())
        warnings << qt(w);
    warnings_->setText(warnings.join(u'\n'));
    warnings_->setVisible(!warnings.isEmpty());
    for (std::size_t i = 0; i < drawings_.size(); ++i) {
        drawings_[i]->setDrawing(designer_.drawingAt(i));
        // The phase-noise plot, last, stands only while some noise is given.
        if (i + 1 == drawings_.size())
            drawings_[i]->setVisible(!drawings_[i]->drawing().groups.empty());
    }
    if (designer_.simulating())
        simulation_->start();
    emit answered();
}

// A few milliseconds of the simulation at a time, so keys and paints go on between them.
void LoopWindow::simulate() {
    if (designer_.simulate(std::chrono::milliseconds(8)))
        refresh();
    else
        simulation_->start();
}

QWidget* LoopWindow::input(LoopField f) const {
    if (const auto table = profiles_.find(f); table != profiles_.end())
        return table->second->table();
    return fields_.at(f);
}

QString LoopWindow::figuresText() const {
    return figures_->toPlainText();
}

} // namespace owlet
