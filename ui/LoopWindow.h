#pragma once

#include "loop/LoopDesigner.h"

#include <QWidget>

#include <array>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSettings;
class QTimer;

namespace owlet {

class DrawingView;
class ProfileTable;
class SynthPanel;

// The "Loop filter" window: the loop designer beside the panel. It follows the panel's
// setting as typed, shows the linear answer on every edit and the simulation's once it
// has run between events, and keeps the user's parts and VCO in the user's configuration
// file for the next start.
class LoopWindow final : public QWidget {
    Q_OBJECT

public:
    explicit LoopWindow(QWidget* parent = nullptr);

    // Reads Fref, Fcomp, Fout, the phase detector and Invert PD from the panel.
    void followPanel(const SynthPanel& panel);
    QLineEdit* field(loop::LoopField f) const { return fields_.at(f); }
    ProfileTable* profile(loop::LoopField f) const { return profiles_.at(f); }
    // The widget that takes a field's input: its line edit, or its profile's table.
    QWidget* input(loop::LoopField f) const;
    const loop::LoopDesigner& designer() const { return designer_; }
    // The figures as shown, a row a line: "Phase margin  56.3°".
    QString figuresText() const;

signals:
    // Every time the window has shown a new answer: at an edit, and again once the
    // simulation has run (designer().simulating() is false then).
    void answered();

private:
    void edited(loop::LoopField field, const QString& text);
    void profileEdited(loop::LoopField field);
    void takeDesign(const std::vector<loop::LoopField>& changed);
    void setRowShown(QWidget* field, bool shown);
    void refresh();
    void simulate();

    loop::LoopDesigner designer_;
    std::map<loop::LoopField, QLineEdit*> fields_;
    std::map<loop::LoopField, ProfileTable*> profiles_;
    QSettings* settings_ = nullptr;
    QComboBox* series_ = nullptr;
    QComboBox* designBy_ = nullptr;
    QTimer* simulation_ = nullptr; // runs the designer's simulation between events
    QLabel* problem_ = nullptr;
    QPlainTextEdit* figures_ = nullptr;
    QLabel* warnings_ = nullptr;
    // The schematic, then the four plots.
    std::array<DrawingView*, loop::LoopDesigner::Words.drawings.size()> drawings_{};
};

} // namespace owlet
