#pragma once

#include "ui/logic/assignment_actions.h"

#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

namespace tarvenor {

class AssignmentLogic;

// The in-place editors of the action list: the key cell picks one of the key choices, the
// action cell down or up, the delay cell takes digits. Every commit goes to the logic.
class ActionCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kKeyColumn = 0, kActionColumn = 1, kDelayColumn = 2;
    static constexpr int kKeyChoiceRows = 20;

    ActionCellDelegate(AssignmentLogic& logic, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    // The logic changed through an edit (or a recording stopped as one began).
    void edited() const;

private:
    AssignmentLogic& logic_;
};

// The action list (control 1019): three columns, whole rows selected, grey key and action text.
class ActionListView final : public QTreeWidget {
    Q_OBJECT
public:
    // The least widths; together they fill the list beside its scroll bar.
    static constexpr int kKeyWidth = 50, kActionWidth = 40, kDelayWidth = 86;

    ActionListView(AssignmentLogic& logic, const QStringList& headers, QWidget* parent);

    // Shows the rows, changing only the cells that differ, and the selected row.
    void show_rows(const std::vector<ActionRowText>& rows, int selected);
    ActionCellDelegate& delegate() const { return *delegate_; }
    // Commits and closes the cell editor that is open, if any.
    void finish_edit();
    // The row shown selected, -1 for none.
    int selected_row() const;

private:
    void fit_columns();
    ActionCellDelegate* delegate_;
};

} // namespace tarvenor
