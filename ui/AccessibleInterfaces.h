#pragma once

#include <QAccessibleWidget>

class QComboBox;
class QLabel;

namespace owlet {

class ChoiceComboBox;

// What a screen reader hears of a ChoiceComboBox. Qt's own interface names an editable
// combo box on Linux by its current text ("25"), so the user would never hear what the
// box is for; this one names it by its accessible name and gives the text as its value.
// Like Qt's own, it offers the list of entries and the text field as its two children,
// and the action that opens or closes the list.
class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(ChoiceComboBox* box);
    QString text(QAccessible::Text t) const override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QStringList actionNames() const override;
    QString localizedActionDescription(const QString& action) const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString& action) const override;

private:
    ChoiceComboBox* box() const;
};

// The frequency-error warning: an alert named by its text, for a screen reader that browses
// the window. Orca does not read an alert that appears: "Set N" says it in its words
// (AnnouncementAccessible).
class WarningAccessible final : public QAccessibleWidget {
public:
    explicit WarningAccessible(QLabel* label);
    QString text(QAccessible::Text t) const override;
};

// The words after a press (ui/Announcer): a notification, which Orca reads when it shows.
class AnnouncementAccessible final : public QAccessibleWidget {
public:
    explicit AnnouncementAccessible(QLabel* label);
    QString text(QAccessible::Text t) const override;
};

// Both actions of a combo box (show the menu, press) open its list, or close it when open.
void openOrCloseList(QComboBox* box, const QString& action);

// Lets Qt make these interfaces for the panel's combo boxes, every one-line text box (of
// any QLineEdit class), the announcer and the label whose object name is WarningObjectName; safe to
// call repeatedly. Qt keeps an interface once made, so this must come before the controls are.
void installAccessibleInterfaces();
inline constexpr const char* WarningObjectName = "Warn";

} // namespace owlet
