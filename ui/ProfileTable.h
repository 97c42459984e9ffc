#pragma once

#include "loop/input/ProfileRows.h"

#include <QWidget>

#include <string>
#include <vector>

class QTableWidget;

namespace owlet {

// A phase-noise profile as a small table of (offset, level) rows, with buttons to add and
// remove a row. A line pasted or typed into a cell ("100:-130,1k:-150") is handed on whole;
// the designer turns it into rows, and the window shows them with setRows().
class ProfileTable final : public QWidget {
    Q_OBJECT

public:
    ProfileTable(const QString& name, QWidget* parent = nullptr);

    void setRows(const std::vector<loop::ProfileRow>& rows);
    // A line typed into a cell became these rows: shown once the edit has ended, the current
    // cell then the first empty one from the edited row on, or the last.
    void showRows(std::vector<loop::ProfileRow> rows);
    std::vector<loop::ProfileRow> rows() const;
    // Each row's problem, empty where it is good: a bad row is marked and described.
    void markProblems(const std::vector<std::string>& problems);
    QTableWidget* table() const { return table_; }

signals:
    void rowsEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addRow();
    void removeRow();
    void fitHeight();

    QTableWidget* table_ = nullptr;
    bool filling_ = false; // setRows() at work: no edit to report
};

} // namespace owlet
