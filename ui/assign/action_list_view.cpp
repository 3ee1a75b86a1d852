#include "ui/assign/action_list_view.h"

#include "ui/logic/assignment_logic.h"
#include "ui/skin/qt_text.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace tarvenor {
namespace {

const QColor kRowTextGrey(0x80, 0x80, 0x80);

} // namespace

ActionCellDelegate::ActionCellDelegate(AssignmentLogic& logic, QObject* parent)
    : QStyledItemDelegate(parent), logic_(logic) {}

QWidget* ActionCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
    switch (index.column()) {
    case kKeyColumn: {
        auto* choices = new QComboBox(parent);
        choices->setObjectName(QStringLiteral("key_choice"));
        for (const std::string& name : logic_.key_choice_names()) {
            choices->addItem(qt_text(name));
        }
        choices->setMaxVisibleItems(kKeyChoiceRows);
        return choices;
    }
    case kActionColumn: {
        auto* directions = new QComboBox(parent);
        directions->setObjectName(QStringLiteral("direction_choice"));
        directions->addItems({qt_text(ActionList::kDownText), qt_text(ActionList::kUpText)});
        return directions;
    }
    default: {
        logic_.begin_delay_edit();
        emit edited();
        auto* delay = new QLineEdit(parent);
        delay->setObjectName(QStringLiteral("delay_edit"));
        delay->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), delay));
        return delay;
    }
    }
}

void ActionCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const int row = index.row();
    if (auto* choices = qobject_cast<QComboBox*>(editor)) {
        const int current = index.column() == kKeyColumn
                                ? logic_.key_choice_of_row(row)
                                : static_cast<int>(logic_.actions().rows().at(row).direction);
        choices->setCurrentIndex(current);
    } else if (auto* delay = qobject_cast<QLineEdit*>(editor)) {
        delay->setText(index.data().toString());
    }
}

void ActionCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    const int row = index.row();
    if (row >= logic_.actions().size()) {
        return;
    }
    if (auto* choices = qobject_cast<QComboBox*>(editor)) {
        if (index.column() == kKeyColumn) {
            logic_.edit_key(row, choices->currentIndex());
        } else {
            logic_.edit_direction(row, static_cast<std::uint16_t>(choices->currentIndex()));
        }
    } else if (auto* delay = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, qt_text(logic_.commit_delay(row, delay->text().toStdString())));
    }
    emit edited();
}

ActionListView::ActionListView(AssignmentLogic& logic, const QStringList& headers, QWidget* parent)
    : QTreeWidget(parent), delegate_(new ActionCellDelegate(logic, this)) {
    setColumnCount(3);
    setHeaderLabels(headers);
    fit_columns();
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    setItemDelegate(delegate_);
}

// Every header whole in the language shown; the delay column gives up what the others need, so
// that the three still fit the list's width.
void ActionListView::fit_columns() {
    const int key = std::max(kKeyWidth, header()->sectionSizeHint(ActionCellDelegate::kKeyColumn));
    const int action =
        std::max(kActionWidth, header()->sectionSizeHint(ActionCellDelegate::kActionColumn));
    const int delay = std::max(header()->sectionSizeHint(ActionCellDelegate::kDelayColumn),
                               kKeyWidth + kActionWidth + kDelayWidth - key - action);
    setColumnWidth(ActionCellDelegate::kKeyColumn, key);
    setColumnWidth(ActionCellDelegate::kActionColumn, action);
    setColumnWidth(ActionCellDelegate::kDelayColumn, delay);
}

void ActionListView::show_rows(const std::vector<ActionRowText>& rows, int selected) {
    const QSignalBlocker quiet(this);
    const int wanted = static_cast<int>(rows.size());
    while (topLevelItemCount() > wanted) {
        delete takeTopLevelItem(topLevelItemCount() - 1);
    }
    while (topLevelItemCount() < wanted) {
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setForeground(ActionCellDelegate::kKeyColumn, kRowTextGrey);
        item->setForeground(ActionCellDelegate::kActionColumn, kRowTextGrey);
    }
    for (int r = 0; r < wanted; ++r) {
        QTreeWidgetItem* item = topLevelItem(r);
        const ActionRowText& row = rows[static_cast<std::size_t>(r)];
        const QString cells[] = {qt_text(row.key), qt_text(row.direction), qt_text(row.delay)};
        for (int c = 0; c < 3; ++c) {
            if (item->text(c) != cells[c]) {
                item->setText(c, cells[c]);
            }
        }
    }
    if (selected >= 0 && selected < wanted) {
        QTreeWidgetItem* item = topLevelItem(selected);
        if (currentItem() != item || !item->isSelected()) {
            setCurrentItem(item);
        }
        scrollToItem(item);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

void ActionListView::finish_edit() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int ActionListView::selected_row() const {
    const QList<QTreeWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? -1 : indexOfTopLevelItem(chosen.constFirst());
}

} // namespace tarvenor
