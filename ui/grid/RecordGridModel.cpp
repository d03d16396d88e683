#include "ui/grid/RecordGridModel.h"

#include "database/DirectWrite.h"
#include "database/SessionState.h"
#include "platform/Cp1252.h"
#include "table/History.h"
#include "table/TableEffect.h"
#include "table/ValueDisplay.h"
#include "ui/qt/QtText.h"

#include <QBrush>
#include <QColor>
#include <QStringList>

#include <algorithm>

namespace orvane {

RecordGridModel::RecordGridModel(SessionState& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {
    RebuildAlignments();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (session_.Filtering()) return int(session_.KeptRows().size());
    return std::max(0, session_.Table.RowCount() - 1);
}

int RecordGridModel::TableRowAt(int modelRow) const {
    if (!session_.Filtering()) return modelRow + 1;
    const auto& kept = session_.KeptRows();
    return modelRow >= 0 && std::size_t(modelRow) < kept.size() ? kept[std::size_t(modelRow)] : 0;
}

int RecordGridModel::ModelRow(int tableRow) const {
    if (!session_.Filtering())
        return tableRow >= 1 && tableRow < session_.Table.RowCount() ? tableRow - 1 : -1;
    const auto& kept = session_.KeptRows();
    const auto it = std::lower_bound(kept.begin(), kept.end(), tableRow);
    return it != kept.end() && *it == tableRow ? int(it - kept.begin()) : -1;
}

void RecordGridModel::FilterChanged() {
    Reset reset(*this);
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : session_.Table.ColumnCount();
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return CellToQString(session_.Table.Cell(col, TableRow(index)));
    case Qt::TextAlignmentRole:
        return col < int(alignments_.size()) ? alignments_[std::size_t(col)]
                                             : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (col == kColSuppr) return QBrush(Qt::red);
        return {};
    case Qt::BackgroundRole: {
        const int row = TableRow(index);
        const bool compared = HasCompareMarks() && CompareMarksCurrent();
        // A value that differs is amber even on a row waiting to be written.
        if (compared && marks_.cells.count(CompareMarks::Key(row, col)))
            return QBrush(QColor(255, 226, 140)); // amber: a value that differs
        if (!session_.Unwritten.empty() && session_.Unwritten.count(row))
            return QBrush(QColor(255, 205, 205)); // pink: changed, not written back yet
        if (compared && std::size_t(row) < marks_.rows.size() &&
            marks_.rows[std::size_t(row)] == CompareMarks::Added)
            return QBrush(QColor(198, 239, 198)); // green: a row the other table lacks
        return {};
    }
    case Qt::ToolTipRole: {
        const int row = TableRow(index);
        const HintResult hint = GridHint(session_.Table, col, row, session_.Display);
        QStringList lines;
        if (!hint.hint.empty()) lines << Q(hint.hint);
        const QString other = CompareHint(row, col);
        if (!other.isEmpty()) lines << other;
        const Lang lang = session_.Language_();
        if (col == kColNumber && session_.Unwritten.count(row))
            lines << Q(txt::UnwrittenRowHint.In(lang));
        if (ProtectedColumn(col)) lines << Q(txt::ProtectedFieldHint.In(lang));
        if (lines.isEmpty()) return {};
        return lines.join(QLatin1Char('\n'));
    }
    default:
        return {};
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        if (role == Qt::DisplayRole) return TableRowAt(section); // the table's, under a filter too
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return CellToQString(session_.Table.Cell(section, 0));
    case Qt::ForegroundRole:
        return QBrush(Qt::blue);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter | Qt::TextWordWrap);
    default:
        return {};
    }
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // "Suppr" and "Export" change only through the flag operations.
    if (index.column() != kColSuppr && index.column() != kColExport &&
        !ProtectedColumn(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::string text = QStringToCell(value.toString());
    const int row = TableRow(index);
    if (session_.Table.Cell(index.column(), row) == text) return true;
    // Called by the view's editor outside any command: a refusal is shown
    // by the window's boundary, never thrown through Qt.
    bool changed = false;
    const auto change = [&] {
        session_.ChangeTable({txt::StepTyping, row, {}}, [&](RecordTable& t) {
            t.SetCell(index.column(), row, text);
            return true;
        });
        changed = true;
    };
    if (RunEdit)
        RunEdit(change);
    else
        change();
    if (changed) emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return changed;
}

bool RecordGridModel::ProtectedColumn(int column) const {
    return column >= kFirstFieldColumn && !session_.MayChangeColumn(column);
}

const std::set<int>& RecordGridModel::UnwrittenRows() const {
    return session_.Unwritten;
}

void RecordGridModel::MarksChanged() {
    const int rows = rowCount();
    if (rows > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole});
}

void RecordGridModel::ShowEffect(const TableEffect& effect) {
    if (effect.RowsMoved() || effect.columnsChanged) return; // the change reset the model
    // The rows come sorted: one signal for their span, however many they are.
    const int columns = columnCount();
    if (columns == 0 || effect.rows.empty()) return;
    int first = std::max(effect.rows.front(), 1) - 1;
    int last = std::min(effect.rows.back(), session_.Table.RowCount() - 1) - 1;
    if (session_.Filtering()) { // the grid rows between the first and last shown
        const auto& kept = session_.KeptRows();
        first = int(std::lower_bound(kept.begin(), kept.end(), first + 1) - kept.begin());
        last = int(std::upper_bound(kept.begin(), kept.end(), last + 1) - kept.begin()) - 1;
    }
    if (first <= last) emit dataChanged(index(first, 0), index(last, columns - 1));
}

void RecordGridModel::SetCompareMarks(CompareMarks marks) {
    marks_ = std::move(marks);
    const int rows = rowCount();
    if (rows > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1), {Qt::BackgroundRole});
}

QString RecordGridModel::CompareHint(int row, int col) const {
    if (!HasCompareMarks() || !CompareMarksCurrent()) return {};
    const Lang lang = session_.Language_();
    if (const auto it = marks_.cells.find(CompareMarks::Key(row, col)); it != marks_.cells.end())
        return Q(Format(marks_.valueHint->In(lang), Cp1252ToUtf8(it->second).c_str()));
    if (std::size_t(row) < marks_.rows.size() &&
        marks_.rows[std::size_t(row)] == CompareMarks::Added && col >= kFirstFieldColumn)
        return Q(marks_.addedHint->In(lang));
    return {};
}

bool RecordGridModel::CompareMarksCurrent() const {
    return marks_.revision == session_.Table.Revision();
}

void RecordGridModel::EndReset() {
    RebuildAlignments();
    endResetModel();
}

void RecordGridModel::HeadingsChanged() {
    if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RecordGridModel::Sort(int column, bool ascending) {
    Reset reset(*this);
    session_.Table.SortByColumn(column, ascending, session_.DecimalSeparator());
}

void RecordGridModel::RebuildAlignments() {
    const int columns = session_.Table.ColumnCount();
    const auto& fields = session_.Fields();
    alignments_.assign(std::size_t(std::max(columns, 0)), int(Qt::AlignLeft | Qt::AlignVCenter));
    for (int c = 0; c < columns; ++c) {
        Qt::Alignment a = Qt::AlignLeft;
        if (c == kColNumber)
            a = Qt::AlignRight;
        else if (c <= kColExport)
            a = Qt::AlignHCenter;
        else if (std::size_t(c - kFirstFieldColumn) < fields.size() &&
                 fields[std::size_t(c - kFirstFieldColumn)].RightAligned())
            a = Qt::AlignRight;
        alignments_[std::size_t(c)] = int(a | Qt::AlignVCenter);
    }
}

} // namespace orvane
