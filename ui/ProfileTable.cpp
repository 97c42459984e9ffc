#include "ui/ProfileTable.h"

#include "loop/LoopDesigner.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace owlet {
namespace {

// Tab past the last cell while typing leaves the table for the buttons below, and Shift+Tab
// before the first for the field above, instead of going round the cells again: a keyboard
// user types the rows in order and moves on.
class PointsTable final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const bool last = currentRow() == rowCount() - 1 && currentColumn() == columnCount() - 1;
        const bool first = currentRow() == 0 && currentColumn() == 0;
        if ((hint == QAbstractItemDelegate::EditNextItem && last) ||
            (hint == QAbstractItemDelegate::EditPreviousItem && first)) {
            QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
            hint == QAbstractItemDelegate::EditNextItem ? focusNextChild() : focusPreviousChild();
            return;
        }
        QTableWidget::closeEditor(editor, hint);
    }
};

} // namespace

ProfileTable::ProfileTable(const QString& name, QWidget* parent)
    : QWidget(parent) {
    constexpr const loop::LoopWords& words = loop::LoopDesigner::Words;
    table_ = new PointsTable(0, 2, this);
    table_->setTabKeyNavigation(false); // Tab moves on; the arrows move between the cells
    table_->setHorizontalHeaderLabels({qt(words.offsetColumn), qt(words.levelColumn)});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->setAccessibleName(name);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    table_->installEventFilter(this);
    // As wide as the column of fields beside it, not as wide as a table would like.
    table_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* add = new QPushButton(qt(words.addRow));
    auto* remove = new QPushButton(qt(words.removeRow));
    add->setAccessibleDescription(name);
    remove->setAccessibleDescription(name);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(table_);
    column->addLayout(buttons);
    setFocusProxy(table_);
    connect(add, &QPushButton::clicked, this, &ProfileTable::addRow);
    connect(remove, &QPushButton::clicked, this, &ProfileTable::removeRow);
    connect(table_, &QTableWidget::cellChanged, this, [this] {
        if (!filling_)
            emit rowsEdited();
    });
    setRows({});
}

void ProfileTable::setRows(const std::vector<loop::ProfileRow>& rows) {
    filling_ = true;
    // One blank row at least, to type the first point into.
    const int count = std::max<int>(1, static_cast<int>(rows.size()));
    table_->setRowCount(count);
    for (int r = 0; r < count; ++r) {
        const loop::ProfileRow row =
            r < static_cast<int>(rows.size()) ? rows[r] : loop::ProfileRow{};
        table_->setItem(r, 0, new QTableWidgetItem(qt(row.offset)));
        table_->setItem(r, 1, new QTableWidgetItem(qt(row.level)));
    }
    filling_ = false;
    fitHeight();
}

void ProfileTable::showRows(std::vector<loop::ProfileRow> rows) {
    const int from = std::max(0, table_->currentRow());
    QTimer::singleShot(0, this, [this, rows = std::move(rows), from] {
        setRows(rows);
        int row = table_->rowCount() - 1, column = 1;
        for (int r = table_->rowCount() - 1; r >= from; --r)
            for (int c = 1; c >= 0; --c)
                if (table_->item(r, c)->text().isEmpty())
                    row = r, column = c;
        table_->setCurrentCell(row, column);
    });
}

std::vector<loop::ProfileRow> ProfileTable::rows() const {
    std::vector<loop::ProfileRow> rows;
    const auto cell = [this](int r, int c) {
        const QTableWidgetItem* item = table_->item(r, c);
        return item ? item->text().toStdString() : std::string();
    };
    for (int r = 0; r < table_->rowCount(); ++r)
        rows.push_back({cell(r, 0), cell(r, 1)});
    return rows;
}

void ProfileTable::markProblems(const std::vector<std::string>& problems) {
    filling_ = true;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QString need = r < static_cast<int>(problems.size()) ? qt(problems[r]) : QString();
        for (int c = 0; c < 2; ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (!item)
                continue;
            item->setBackground(need.isEmpty() ? QBrush() : QBrush(QColor(0xff, 0xd8, 0xd8)));
            item->setToolTip(need);
            item->setData(Qt::AccessibleDescriptionRole, need);
        }
    }
    filling_ = false;
}

bool ProfileTable::eventFilter(QObject* watched, QEvent* event) {
    // A line pasted while the table has the focus goes into the current cell, whole.
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        const int r = std::max(0, table_->currentRow());
        const int c = std::max(0, table_->currentColumn());
        if (QTableWidgetItem* item = table_->item(r, c))
            item->setText(QApplication::clipboard()->text().trimmed());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ProfileTable::addRow() {
    filling_ = true;
    const int r = table_->rowCount();
    table_->insertRow(r);
    table_->setItem(r, 0, new QTableWidgetItem);
    table_->setItem(r, 1, new QTableWidgetItem);
    filling_ = false;
    fitHeight();
    table_->setCurrentCell(r, 0);
    table_->setFocus();
}

void ProfileTable::removeRow() {
    const int r = table_->currentRow() >= 0 ? table_->currentRow() : table_->rowCount() - 1;
    if (r < 0)
        return;
    filling_ = true;
    table_->removeRow(r);
    if (table_->rowCount() == 0)
        setRows({});
    filling_ = false;
    fitHeight();
    table_->setCurrentCell(std::min(r, table_->rowCount() - 1), 0);
    table_->setFocus();
    emit rowsEdited();
}

// Every row shown up to six, the table scrolling beyond.
void ProfileTable::fitHeight() {
    const int shown = std::clamp(table_->rowCount(), 2, 6);
    table_->setFixedHeight(table_->horizontalHeader()->sizeHint().height() +
                           shown * table_->verticalHeader()->defaultSectionSize() +
                           2 * table_->frameWidth());
}

} // namespace owlet
