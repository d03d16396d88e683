#include "ui/commands/CompareCommands.h"

#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "table/TableDiff.h"
#include "ui/Captions.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/qt/QtText.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QTimer>

namespace orvane {

CompareCommands::CompareCommands(CommandContext context, QMainWindow* window, Captions& captions)
    : c_(context), panel_(new QDockWidget(window)), list_(new QListWidget(panel_)) {
    panel_->setObjectName("ComparePanel");
    captions.Title(panel_, txt::ComparePanel);
    panel_->setWidget(list_);
    panel_->setMinimumWidth(320);
    panel_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    window->addDockWidget(Qt::RightDockWidgetArea, panel_);
    panel_->hide();
    QObject::connect(list_, &QListWidget::itemActivated, panel_, [this](QListWidgetItem* item) {
        if (GoToRow) GoToRow(item->data(Qt::UserRole).toInt());
    });
    QObject::connect(list_, &QListWidget::itemClicked, panel_, [this](QListWidgetItem* item) {
        if (GoToRow) GoToRow(item->data(Qt::UserRole).toInt());
    });
}

namespace {

// The other table, loaded as the open commands load (same settings, same
// template source), in a session of its own.
bool LoadOther(SessionState& other, const SessionState& s, const std::string& path,
               UserInteraction& ui, BusyIndicator* busy) {
    static_cast<SessionSettings&>(other) = s;
    other.Display = s.Display;
    const std::string ext = ToUpperAscii(ExtensionOf(path));
    if (ext == ".POD" || ext == ".EPD") return OpenDbdFromArchive(other, path, {}, ui, busy).loaded;
    if (ext == ".DEX") return ImportDex(other, path, ImportMode::Open, ui, busy, "").tableChanged;
    if (ext == ".CSV") return ImportCsv(other, path, ImportMode::Open, ui, busy, "").tableChanged;
    return OpenDbdFromDisk(other, path, {}, ui, busy).loaded;
}

} // namespace

void CompareCommands::CompareWithClick() {
    const Lang lang = c_.lang();
    SessionState& s = c_.session;
    if (s.DataType.empty() || !s.CurrentPod) {
        c_.ui.ShowMessage(MessageKind::Warning, txt::CompareNoTable.In(lang));
        return;
    }
    FileDialogRequest r;
    r.filter = txt::CompareFilter.In(lang);
    r.initialFolder = s.WorkDir;
    const auto path = c_.ui.OpenFile(r);
    if (!path) return;
    SessionState other;
    if (!LoadOther(other, s, *path, c_.ui, c_.busy)) return;
    if (other.DataType != s.DataType) {
        c_.ui.ShowMessage(MessageKind::Warning,
                          Format(txt::CompareOtherType.In(lang), FileNameOf(*path).c_str(),
                                 Cp1252ToUtf8(other.DataType).c_str(),
                                 Cp1252ToUtf8(s.DataType).c_str()));
        return;
    }
    const int key = DefaultKeyColumn(s.Table);
    const TableDifference d = CompareTables(s.Table, other.Table, key);

    CompareMarks marks;
    marks.revision = s.Table.Revision();
    marks.rows.assign(static_cast<std::size_t>(s.Table.RowCount()), CompareMarks::Same);
    for (int row : d.onlyInA)
        marks.rows[static_cast<std::size_t>(row)] = CompareMarks::Added;
    for (const RowDifference& row : d.changed)
        for (const CellDifference& cell : row.cells)
            marks.cells.insert(CompareMarks::Key(row.rowA, cell.column));
    c_.model.SetCompareMarks(std::move(marks));

    // A missing row leads to the row that came before it in the other table.
    list_->clear();
    for (int rb : d.onlyInB) {
        int at = 1;
        for (int prev = rb - 1; prev >= 1; --prev)
            if (const int ra = d.rowInA[static_cast<std::size_t>(prev)]) {
                at = ra;
                break;
            }
        // The key, then the first fields, so the user knows the record.
        std::string name =
            key == kKeyRowNumber ? std::to_string(rb) : Cp1252ToUtf8(other.Table.Cell(key, rb));
        for (int c = kFirstFieldColumn; c < other.Table.ColumnCount() && c < kFirstFieldColumn + 4;
             ++c) {
            const std::string_view cell = other.Table.Cell(c, rb);
            if (c == key || cell.empty()) continue;
            name += "  " + Cp1252ToUtf8(cell);
        }
        auto* item = new QListWidgetItem(
            Q(Format(txt::CompareMissingItem.In(lang), name.c_str(), rb)), list_);
        item->setData(Qt::UserRole, at);
    }
    panel_->setVisible(!d.onlyInB.empty());
    const auto count = [lang](const CountText& text, std::size_t n) {
        return Format(text.In(lang, static_cast<long long>(n)), static_cast<int>(n));
    };
    c_.view.ShowNote(Format(txt::CompareSummary.In(lang), FileNameOf(*path).c_str(),
                            count(txt::CompareChanged, d.changed.size()).c_str(),
                            count(txt::CompareAdded, d.onlyInA.size()).c_str(),
                            count(txt::CompareMissing, d.onlyInB.size()).c_str()));
}

void CompareCommands::Refresh() {
    if (!c_.model.HasCompareMarks() || c_.model.CompareMarksCurrent()) return;
    // The stale colours are no longer painted; the grid is told once the
    // change under way (maybe a reset) is over.
    RecordGridModel* model = &c_.model;
    QTimer::singleShot(0, model, [model] {
        if (model->HasCompareMarks() && !model->CompareMarksCurrent()) model->SetCompareMarks({});
    });
    list_->clear();
    panel_->hide();
}

} // namespace orvane
