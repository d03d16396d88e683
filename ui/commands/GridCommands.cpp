#include "ui/commands/GridCommands.h"

#include "platform/Cp1252.h"
#include "table/ValueDisplay.h"
#include "ui/commands/SearchCommands.h"
#include "ui/commands/UndoCommands.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/grid/DefinitionsPage.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/qt/QtText.h"

#include <QLabel>
#include <QScrollBar>

#include <algorithm>

namespace orvane {

CommandTable GridCommands::Commands() {
    // Ctrl+Enter: not taken by the line edits (the search box has the focus at start).
    return {{"EditRecord",
             txt::MenuEditRecord,
             Place::EditMenu,
             {"Ctrl+Return", "Ctrl+Enter"},
             When::Always,
             [this] { EditRecord(); },
             true}};
}

void GridCommands::Attach(const GridControls& controls,
                          const std::function<void(std::function<void()>)>& run) {
    w_ = controls;
    RecordGridView* grid = w_.grid;
    QObject::connect(grid, &QAbstractItemView::clicked, grid, [=, this](const QModelIndex& i) {
        run([=, this] { CellClicked(i.column(), c_.model.TableRow(i)); });
    });
    QObject::connect(grid, &QAbstractItemView::entered, grid,
                     [=, this](const QModelIndex& i) { run([=, this] { CellHovered(i); }); });
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, grid,
                     [=, this](int column) { run([=, this] { HeadingClicked(column); }); });
    QObject::connect(
        grid->selectionModel(), &QItemSelectionModel::currentChanged, grid,
        [=, this](const QModelIndex& current) { run([=, this] { CurrentChanged(current); }); });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, grid,
                     [=, this] { run([this] { SelectionChanged(); }); });
    QObject::connect(w_.definitions, &QTableWidget::cellDoubleClicked, grid,
                     [=, this] { run([this] { DefinitionDoubleClicked(); }); });
    QObject::connect(grid, &QAbstractItemView::doubleClicked, grid,
                     [=, this] { run([this] { EditRecord(); }); });
    // The table's current cell wins after anything that reset the grid.
    QObject::connect(&c_.model, &QAbstractItemModel::modelReset, grid,
                     [this] { SyncViewToTable(); });
}

void GridCommands::ShowPanel(int action, const std::string& text) {
    switch (static_cast<PanelAction>(action)) {
    case PanelAction::Set:
        w_.coordinatePanel->setText(Q(text));
        break;
    case PanelAction::Clear:
        w_.coordinatePanel->clear();
        break;
    case PanelAction::Leave:
        break;
    }
}

void GridCommands::CellHovered(const QModelIndex& index) {
    if (!index.isValid()) return;
    const HintResult r =
        GridHint(c_.session.Table, index.column(), c_.model.TableRow(index), c_.session.Display);
    ShowPanel(int(r.panel), r.panelText);
}

void GridCommands::CellClicked(int column, int row) {
    const RecordTable& t = c_.session.Table;
    if (row > 0) {
        const HintResult r = ClickPanel(t, column, row, c_.session.Display);
        ShowPanel(int(r.panel), r.panelText);
    }
    if (column < kFirstFieldColumn) return;
    if (column - 3 < w_.definitions->rowCount()) w_.definitions->setCurrentCell(column - 3, 1);
    const auto& fields = c_.session.Fields();
    const std::size_t field = std::size_t(column - kFirstFieldColumn);
    search_.FieldCellClicked(column, field < fields.size() ? CellToQString(fields[field].Title)
                                                           : QString());
}

void GridCommands::HeadingClicked(int column) {
    CellClicked(column, 0);
    if (sortingAllowed_ && c_.session.Table.RowCount() >= 3) {
        if (column != sortColumn_) {
            sortColumn_ = column;
            sortAscending_ = true;
        } else {
            sortAscending_ = !sortAscending_;
        }
        BusyScope busy(c_.busy);
        c_.session.ChangeTable({txt::StepSort, 0, Cp1252ToUtf8(c_.session.Table.Cell(column, 0))},
                               [&](RecordTable&) {
                                   c_.model.Sort(column, sortAscending_);
                                   return true;
                               });
        rowsSorted_ = true;
    }
    // The arrow shows the order the rows are in, not the header's own guess.
    ShowSortArrow();
}

void GridCommands::RowsUnsorted() {
    rowsSorted_ = false;
    ShowSortArrow();
}

void GridCommands::ShowSortArrow() {
    w_.grid->ShowSortArrow(rowsSorted_ ? sortColumn_ : -1, sortAscending_);
}

void GridCommands::DefinitionDoubleClicked() {
    const int column = w_.definitions->currentRow() + 3;
    if (column < 0 || column >= c_.session.Table.ColumnCount()) return;
    c_.session.Table.SetCurrentColumn(column);
    SyncViewToTable();
}

void GridCommands::SyncViewToTable() {
    const RecordTable& t = c_.session.Table;
    const int row = c_.model.ModelRow(t.CurrentRow());
    const int col = t.CurrentColumn();
    if (row < 0 || row >= c_.model.rowCount() || col < 0 || col >= c_.model.columnCount()) return;
    const QModelIndex index = c_.model.index(row, col);
    w_.grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    w_.grid->scrollTo(index);
}

void GridCommands::CurrentChanged(const QModelIndex& current) {
    if (!current.isValid()) return;
    c_.session.Table.SetCurrentCell(current.column(), c_.model.TableRow(current));
    // Making a cell current collapses the table's rectangle onto it; a drag
    // moves the current cell while it stretches the rectangle, so the view's
    // rectangle is laid back.
    SelectionChanged();
    if (ShowRowCaptions) ShowRowCaptions();
}

void GridCommands::SelectionChanged() {
    const QItemSelection selection = w_.grid->selectionModel()->selection();
    RecordTable& t = c_.session.Table;
    if (selection.isEmpty()) {
        t.SetSelection({t.CurrentColumn(), t.CurrentRow(), t.CurrentColumn(), t.CurrentRow()});
        return;
    }
    // Grid rows grow with table rows, the filter's too.
    CellRect rect{selection.first().left(), c_.model.TableRowAt(selection.first().top()),
                  selection.first().right(), c_.model.TableRowAt(selection.first().bottom())};
    for (const QItemSelectionRange& range : selection) {
        rect.left = std::min(rect.left, range.left());
        rect.right = std::max(rect.right, range.right());
        rect.top = std::min(rect.top, c_.model.TableRowAt(range.top()));
        rect.bottom = std::max(rect.bottom, c_.model.TableRowAt(range.bottom()));
    }
    t.SetSelection(rect);
}

bool GridCommands::ShowFoundRow(int tableRow) {
    const int across = w_.grid->horizontalScrollBar()->value();
    SyncViewToTable();
    const int r = c_.model.ModelRow(tableRow);
    if (r < 0) return false; // beyond the grid, or hidden by the filter
    w_.grid->selectionModel()->select(
        QItemSelection(c_.model.index(r, 0), c_.model.index(r, c_.model.columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    w_.grid->horizontalScrollBar()->setValue(across);
    return true;
}

void GridCommands::ScrollToRow(int tableRow) {
    const int row = c_.model.ModelRow(tableRow);
    if (row < 0) return;
    const int column = std::clamp(c_.session.Table.CurrentColumn(), 0, c_.model.columnCount() - 1);
    w_.grid->scrollTo(c_.model.index(row, column));
}

void GridCommands::SetDirectWrite(bool on) {
    sortingAllowed_ = !on;
    c_.model.MarksChanged();
    w_.recordEditor->SetProtectedFields(on);
    w_.grid->SetMoveDownOnEnter(!on);
}

void GridCommands::EditRecord() {
    RecordTable& t = c_.session.Table;
    const int row = t.CurrentRow();
    if (row < 1 || row >= t.RowCount() || !w_.recordEditor) return;
    const int columns = t.ColumnCount();
    if (w_.recordEditor->exec() != QDialog::Accepted) return;
    // "Fermer" changed the row through the session, whose change event shows
    // it; it gives an erased table its field columns back, which the grid
    // takes in afresh.
    if (t.ColumnCount() != columns) {
        { RecordGridModel::Reset reset(c_.model); }
        c_.view.ShowRows(true);
    }
}

} // namespace orvane
