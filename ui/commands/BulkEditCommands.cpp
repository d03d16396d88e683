#include "ui/commands/BulkEditCommands.h"

#include "platform/Cp1252.h"
#include "table/TabText.h"
#include "ui/commands/UndoCommands.h"
#include "ui/dialogs/ReplaceDialog.h"
#include "ui/grid/FilterBar.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>

#include <algorithm>
#include <set>

namespace orvane {

namespace {

// How many refused cells a message names, one a line.
constexpr std::size_t kRefusalsNamed = 8;

const BiText& ReasonText(EntryRefusal reason) {
    switch (reason) {
    case EntryRefusal::FlagColumn:
        return txt::RefusalFlagColumn;
    case EntryRefusal::NotWritten:
        return txt::RefusalNotWritten;
    case EntryRefusal::NotWindows1252:
        return txt::RefusalNotWindows1252;
    default:
        return txt::RefusalNoSuchColumn;
    }
}

} // namespace

BulkEditCommands::BulkEditCommands(CommandContext context, Captions& captions)
    : c_(context), captions_(captions) {}

BulkEditCommands::~BulkEditCommands() = default;

CommandTable BulkEditCommands::Commands() {
    return {
        {"Couper",
         txt::MenuCut,
         Place::EditMenu,
         {"Ctrl+X"},
         When::TableLoaded,
         [this] { Cut(); },
         true},
        {"Copier",
         txt::MenuCopy,
         Place::EditMenu,
         {"Ctrl+C"},
         When::TableLoaded,
         [this] { Copy(); }},
        {"Coller",
         txt::MenuPaste,
         Place::EditMenu,
         {"Ctrl+V"},
         When::TableLoaded,
         [this] { Paste(); }},
        {"RecopierBas",
         txt::MenuFillDown,
         Place::EditMenu,
         {"Ctrl+D"},
         When::TableLoaded,
         [this] { FillDown(); }},
        {"CopierTitres",
         txt::MenuCopyTitles,
         Place::EditMenu,
         {},
         When::Always,
         [this] { copyTitles_ = !copyTitles_; }},
        {"Remplacer",
         txt::MenuFindReplace,
         Place::EditMenu,
         {"Ctrl+H"},
         When::TableLoaded,
         [this] { FindReplace(); },
         true},
        {"Filtrer",
         txt::MenuFilter,
         Place::EditMenu,
         {"Ctrl+Shift+L"},
         When::TableLoaded,
         [this] { ToggleFilter(); }},
    };
}

void BulkEditCommands::Attach(RecordGridView* grid, FilterBar* filter, QWidget* window) {
    grid_ = grid;
    filter_ = filter;
    window_ = window;
    filter_->ConditionsChanged = [this](const std::map<int, std::string>& conditions) {
        ApplyFilter(conditions);
    };
    filter_->Left = [this] { grid_->setFocus(Qt::ShortcutFocusReason); };
}

std::vector<std::pair<int, int>> BulkEditCommands::SelectedCells() const {
    std::vector<std::pair<int, int>> cells; // (grid row, column) first, for the order
    const QModelIndexList selected = grid_->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected)
        cells.emplace_back(index.row(), index.column());
    if (cells.empty() && grid_->currentIndex().isValid())
        cells.emplace_back(grid_->currentIndex().row(), grid_->currentIndex().column());
    std::sort(cells.begin(), cells.end());
    for (auto& [row, column] : cells)
        row = c_.model.TableRowAt(row);
    return cells;
}

std::string BulkEditCommands::SelectionText() const {
    const QModelIndexList selected = grid_->selectionModel()->selectedIndexes();
    std::set<int> rows, columns;
    std::set<std::pair<int, int>> cells;
    for (const QModelIndex& index : selected) {
        rows.insert(index.row());
        columns.insert(index.column());
        cells.emplace(index.row(), index.column());
    }
    if (cells.empty() && grid_->currentIndex().isValid()) {
        const QModelIndex current = grid_->currentIndex();
        rows.insert(current.row());
        columns.insert(current.column());
        cells.emplace(current.row(), current.column());
    }
    const RecordTable& t = c_.session.Table;
    // Whole rows carry their fields: the marks are the editor's, not data.
    const bool wholeRows =
        !rows.empty() && cells.size() == rows.size() * std::size_t(t.ColumnCount());
    if (wholeRows) columns.erase(columns.begin(), columns.lower_bound(kFirstFieldColumn));
    TextBlock block;
    if (wholeRows && copyTitles_) {
        block.emplace_back();
        for (int column : columns)
            block.back().push_back(Cp1252ToUtf8(t.Cell(column, 0)));
    }
    for (int row : rows) {
        block.emplace_back();
        const int tableRow = c_.model.TableRowAt(row);
        for (int column : columns)
            block.back().push_back(cells.count({row, column})
                                       ? Cp1252ToUtf8(t.Cell(column, tableRow))
                                       : std::string());
    }
    return WriteTabText(block);
}

void BulkEditCommands::Copy() {
    const std::string text = SelectionText();
    QApplication::clipboard()->setText(Q(text));
    int cells = 0;
    for (const auto& row : ReadTabText(text))
        cells += int(row.size());
    c_.view.ShowNote(Format(txt::CopyDone.In(c_.lang(), cells), cells));
}

void BulkEditCommands::Cut() {
    Copy();
    if (EmptyCells) EmptyCells(grid_->selectionModel()->selectedIndexes());
}

void BulkEditCommands::Paste() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        c_.ui.ShowMessage(MessageKind::Information, txt::ClipboardHoldsNoText.In(c_.lang()));
        return;
    }
    PasteText(S(text));
}

std::string BulkEditCommands::RefusalText(const std::vector<RefusedCell>& refused) const {
    const Lang lang = c_.lang();
    const RecordTable& t = c_.session.Table;
    std::string text;
    for (std::size_t i = 0; i < refused.size() && i < kRefusalsNamed; ++i) {
        const RefusedCell& r = refused[i];
        const std::string field =
            r.column < t.ColumnCount() ? Cp1252ToUtf8(t.Cell(r.column, 0)) : std::string("—");
        text += Format(txt::RefusedCellLine.In(lang), r.row, field.c_str(), r.value.c_str(),
                       ReasonText(r.reason).In(lang));
        text += '\n';
    }
    if (refused.size() > kRefusalsNamed)
        text += Format(txt::RefusedCellsMore.In(lang), int(refused.size() - kRefusalsNamed));
    return text;
}

bool BulkEditCommands::Apply(const CellPlan& plan, const CountText& step,
                             const BiText& refusedText) {
    if (!plan.refused.empty()) {
        c_.ui.ShowMessage(MessageKind::Warning,
                          Format(refusedText.In(c_.lang()), int(plan.refused.size()),
                                 RefusalText(plan.refused).c_str()));
        return false;
    }
    const int cells = int(plan.writes.size());
    if (plan.rowsToAppend > 0) {
        {
            RecordGridModel::Reset reset(c_.model);
            ApplyCellPlan(c_.session, Step(step, cells), plan);
        }
        c_.view.ShowRows(false);
    } else {
        ApplyCellPlan(c_.session, Step(step, cells), plan);
    }
    return true;
}

void BulkEditCommands::PasteText(const std::string& utf8) {
    const TextBlock block = ReadTabText(utf8);
    if (block.empty()) return;
    PasteTarget target;
    target.viewRows = c_.session.ShownRows();
    const QModelIndex current = grid_->currentIndex();
    target.anchorRow = current.isValid() ? current.row() : 0;
    target.anchorColumn = current.isValid() ? current.column() : kFirstFieldColumn;
    const QModelIndexList selected = grid_->selectionModel()->selectedIndexes();
    if (selected.size() > 1)
        for (const QModelIndex& index : selected)
            target.selection.emplace_back(index.row(), index.column());
    const CellPlan plan = PlanPaste(c_.session, block, target);
    if (plan.refused.empty() && plan.rowsToAppend > 0 &&
        !c_.ui.Confirm(
            Format(txt::PasteAppendRows.In(c_.lang()), plan.rowsToAppend, plan.rowsToAppend)))
        return;
    if (!Apply(plan, txt::StepPaste, txt::PasteRefused)) return;
    const int cells = int(plan.writes.size());
    c_.view.ShowNote(Format(txt::PasteDone.In(c_.lang(), cells), cells));
}

void BulkEditCommands::FillDown() {
    Apply(PlanFillDown(c_.session, SelectedCells()), txt::StepFillDown, txt::FillRefused);
}

// --- Find and replace ---------------------------------------------------------------

void BulkEditCommands::FindReplace() {
    if (!dialog_) {
        dialog_ = new ReplaceDialog(captions_, window_);
        captions_.Apply(c_.lang(), dialog_); // its captions in the session's language
        dialog_->Run = [this](ReplaceDialog::Action action) { ReplaceAction(int(action)); };
    }
    const RecordTable& t = c_.session.Table;
    const int column = std::clamp(t.CurrentColumn(), 0, std::max(t.ColumnCount() - 1, 0));
    dialog_->SetColumnTitle(CellToQString(t.ColumnCount() ? t.Cell(column, 0) : ""), c_.lang());
    const QModelIndex current = grid_->currentIndex();
    dialog_->Start(current.isValid() ? current.data().toString() : QString());
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

// Where the dialog looks: the selected cells, or the columns it names.
std::pair<std::vector<std::pair<int, int>>, std::vector<int>>
BulkEditCommands::ReplaceScope() const {
    const RecordTable& t = c_.session.Table;
    std::vector<std::pair<int, int>> cells;
    std::vector<int> columns;
    switch (dialog_->ChosenScope()) {
    case ReplaceDialog::Scope::Selection:
        cells = SelectedCells();
        break;
    case ReplaceDialog::Scope::Column:
        columns = {t.CurrentColumn()};
        break;
    default:
        for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c)
            columns.push_back(c);
    }
    return {std::move(cells), std::move(columns)};
}

bool BulkEditCommands::FindNext() {
    const CellReplacer replacer(dialog_->Rule());
    const RecordTable& t = c_.session.Table;
    auto [cells, columns] = ReplaceScope(); // cells in grid order
    const int startRow = c_.model.ModelRow(t.CurrentRow());
    const int startColumn = t.CurrentColumn();
    if (!columns.empty()) {
        const int rows = c_.model.rowCount();
        // From the cell after the current one, round to it again.
        for (int pass = 0; pass < 2; ++pass)
            for (int r = pass ? 0 : std::max(startRow, 0); r < rows; ++r) {
                const int row = c_.model.TableRowAt(r);
                for (int column : columns) {
                    if (!pass && r == startRow && column <= startColumn) continue;
                    if (!replacer.Finds(t.Cell(column, row))) continue;
                    if (GoToCell) GoToCell(column, row);
                    return true;
                }
            }
        return false;
    }
    const auto after = std::find_if(cells.begin(), cells.end(), [&](const auto& cell) {
        const int r = c_.model.ModelRow(cell.first);
        return r > startRow || (r == startRow && cell.second > startColumn);
    });
    for (int pass = 0; pass < 2; ++pass)
        for (auto it = pass ? cells.begin() : after; it != cells.end(); ++it)
            if (replacer.Finds(t.Cell(it->second, it->first))) {
                // The current cell moves; the selection stays, the dialog goes on inside it.
                c_.session.Table.SetCurrentCell(it->second, it->first);
                grid_->selectionModel()->setCurrentIndex(
                    c_.model.index(c_.model.ModelRow(it->first), it->second),
                    QItemSelectionModel::NoUpdate);
                return true;
            }
    return false;
}

void BulkEditCommands::ReplaceAction(int action) {
    const Lang lang = c_.lang();
    const ReplaceRule rule = dialog_->Rule();
    if (rule.find.empty() && !rule.regex) {
        c_.ui.Beep();
        return;
    }
    // The texts typed go at the top of their lists.
    for (QComboBox* box : {dialog_->FindBox(), dialog_->ReplaceBox()})
        if (box->findText(box->currentText()) < 0) box->insertItem(0, box->currentText());
    std::optional<CellReplacer> replacer;
    try {
        replacer.emplace(rule);
    } catch (const std::regex_error& e) {
        dialog_->ShowOutcome(Q(Format(txt::ReplaceBadRegex.In(lang), e.what())));
        return;
    }
    RecordTable& t = c_.session.Table;
    const auto kind = static_cast<ReplaceDialog::Action>(action);
    if (kind == ReplaceDialog::Action::FindNext) {
        dialog_->ShowOutcome(FindNext() ? QString() : Q(txt::ReplaceNoMatch.In(lang)));
        return;
    }
    if (kind == ReplaceDialog::Action::ReplaceOne) {
        const int row = t.CurrentRow(), column = t.CurrentColumn();
        const CellPlan plan = PlanReplace(c_.session, *replacer, {{row, column}}, {});
        if (plan.cellsFound > 0 && !Apply(plan, txt::StepReplace, txt::ReplaceRefused)) return;
        dialog_->ShowOutcome(FindNext() ? QString() : Q(txt::ReplaceNoMatch.In(lang)));
        return;
    }
    auto [cells, columns] = ReplaceScope();
    // Under a filter, the rows shown.
    if (cells.empty() && c_.session.Filtering())
        for (int row : c_.session.KeptRows())
            for (int column : columns)
                cells.emplace_back(row, column);
    if (cells.empty() && c_.session.Filtering()) {
        dialog_->ShowOutcome(Q(txt::ReplaceNoMatch.In(lang)));
        return;
    }
    const CellPlan plan = PlanReplace(c_.session, *replacer, cells, columns);
    if (plan.cellsFound == 0) {
        dialog_->ShowOutcome(Q(txt::ReplaceNoMatch.In(lang)));
        return;
    }
    if (!Apply(plan, txt::StepReplace, txt::ReplaceRefused)) return;
    const int changed = int(plan.writes.size());
    dialog_->ShowOutcome(Q(Format(txt::ReplaceDone.In(lang, changed), changed)));
}

// --- Filter ---------------------------------------------------------------------------

void BulkEditCommands::ToggleFilter() {
    if (filter_->isHidden()) {
        filter_->show();
        filter_->SetHint(Q(txt::FilterHint.In(c_.lang())));
        filter_->ColumnsChanged();
        filter_->FocusColumn(std::max(c_.session.Table.CurrentColumn(), 0));
        return;
    }
    // Hidden again: every row comes back.
    filter_->Clear();
    filter_->hide();
    ApplyFilter({});
    grid_->setFocus(Qt::ShortcutFocusReason);
}

void BulkEditCommands::ApplyFilter(const std::map<int, std::string>& conditions) {
    RowFilter filter;
    for (const auto& [column, text] : conditions)
        filter.Set(column, Utf8ToCp1252(text));
    const int current = c_.session.Table.CurrentRow(), column = c_.session.Table.CurrentColumn();
    {
        RecordGridModel::Reset reset(c_.model);
        c_.session.SetFilter(std::move(filter));
    }
    // The current cell stays when it is shown; the filter row keeps the focus.
    QWidget* focus = QApplication::focusWidget();
    if (c_.model.ModelRow(current) >= 0 && GoToCell) {
        GoToCell(column, current);
        if (focus) focus->setFocus();
    }
    if (FilterShown) FilterShown();
}

void BulkEditCommands::TableReplaced() {
    if (!filter_) return;
    filter_->Clear();
    filter_->hide();
    if (FilterShown) FilterShown();
}

} // namespace orvane
