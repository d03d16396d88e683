#include "ui/dialogs/ArchiveViewer.h"

#include "database/Extraction.h"
#include "exchange/TableFormats.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/grid/RecordGridView.h"
#include "ui/qt/QtText.h"

#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace orvane {

namespace {
enum Column { kMark, kName, kFolder, kSize, kDate, kColumns };
const QColor kMarkedRow(255, 244, 190);
} // namespace

// --- Entry model ----------------------------------------------------------------------

void ArchiveEntryModel::SetArchive(const ArchiveFile& archive, const DisplayContext& display) {
    beginResetModel();
    const std::vector<EntryRow> rows = EntryRows(archive, display);
    const auto& entries = archive.Entries();
    rows_.clear();
    rows_.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows_.push_back({CellToQString(rows[i].name), CellToQString(rows[i].folder),
                         Q(rows[i].size), Q(rows[i].date), entries[i].size, entries[i].stamp});
    marks_.assign(rows_.size(), 0);
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), 0);
    endResetModel();
}

void ArchiveEntryModel::Clear() {
    beginResetModel();
    rows_.clear();
    marks_.clear();
    order_.clear();
    endResetModel();
}

int ArchiveEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(order_.size());
}

int ArchiveEntryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ArchiveEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::size_t entry = std::size_t(Entry(index.row()));
    const Row& r = rows_[entry];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case kMark:
            return marks_[entry] ? QStringLiteral("x") : QString();
        case kName:
            return r.name;
        case kFolder:
            return r.folder;
        case kSize:
            return r.size;
        default:
            return r.date;
        }
    case Qt::TextAlignmentRole:
        return int((index.column() == kSize   ? Qt::AlignRight
                    : index.column() == kMark ? Qt::AlignHCenter
                                              : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (marks_[entry]) return QBrush(kMarkedRow);
        return {};
    default:
        return {};
    }
}

QVariant ArchiveEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::ToolTipRole && section == kMark) return Q(txt::PodviewMarkAllHint.In(lang_));
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case kMark:
        return Q(txt::PodviewHeadingMark);
    case kName:
        return Q(txt::PodviewHeadingName.In(lang_));
    case kFolder:
        return Q(txt::PodviewHeadingFolder.In(lang_));
    case kSize:
        return Q(txt::PodviewHeadingSize.In(lang_));
    default:
        return Q(txt::PodviewHeadingDate);
    }
}

void ArchiveEntryModel::sort(int column, Qt::SortOrder order) {
    if (column <= kMark || column >= kColumns) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> entriesBefore;
    for (const QModelIndex& i : before)
        entriesBefore.push_back(Entry(i.row()));

    auto less = [&](int a, int b) {
        const Row& x = rows_[std::size_t(a)];
        const Row& y = rows_[std::size_t(b)];
        switch (column) {
        case kName:
            return x.name.compare(y.name, Qt::CaseInsensitive) < 0;
        case kFolder:
            return x.folder.compare(y.folder, Qt::CaseInsensitive) < 0;
        case kSize:
            return x.bytes < y.bytes;
        default:
            return x.stamp < y.stamp;
        }
    };
    // Equal keys keep directory order, whichever the direction.
    std::iota(order_.begin(), order_.end(), 0);
    if (order == Qt::AscendingOrder)
        std::stable_sort(order_.begin(), order_.end(), less);
    else
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return less(b, a); });

    std::vector<int> rowOf(order_.size());
    for (std::size_t r = 0; r < order_.size(); ++r)
        rowOf[std::size_t(order_[r])] = int(r);
    QModelIndexList after;
    for (std::size_t k = 0; k < std::size_t(before.size()); ++k)
        after << index(rowOf[std::size_t(entriesBefore[k])], before[qsizetype(k)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ArchiveEntryModel::ToggleMark(int row) {
    if (row < 0 || row >= rowCount()) return;
    char& mark = marks_[std::size_t(Entry(row))];
    mark = !mark;
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

void ArchiveEntryModel::MarkAll(bool on) {
    std::fill(marks_.begin(), marks_.end(), char(on));
    if (!order_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

std::vector<int> ArchiveEntryModel::Marked() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < marks_.size(); ++i)
        if (marks_[i]) out.push_back(int(i));
    return out;
}

// --- Window ---------------------------------------------------------------------------

ArchiveViewer::ArchiveViewer(SessionState& session, UserInteraction& ui, BusyIndicator* busy,
                             QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), busy_(busy),
      boundary_(ui, [this] { return lang(); }) {
    setObjectName("TForm_podview");
    setModal(true);
    captions_.Title(this, txt::PodviewCaption);
    progress_.parent = this;
    resize(720, 480);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildToolBar());
    keepFolders_ = new QCheckBox(this);
    keepFolders_->setObjectName("cbStruct");
    captions_.Text(keepFolders_, txt::PodviewStructure);
    layout->addWidget(keepFolders_);
    layout->addWidget(BuildEntryList(), 1);
    layout->addWidget(BuildStatusBar());

    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);
    StartEmpty();
}

// "Ouvrir", "Extraire", "Effacer" and the folder shown.
QLayout* ArchiveViewer::BuildToolBar() {
    auto* top = new QHBoxLayout;
    auto button = [&](const char* name, BiText text, auto handler) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        captions_.Text(b, text);
        top->addWidget(b);
        boundary_.Wire(b, handler);
        return b;
    };
    button("tbOuvrir", txt::PodviewOpen, [this] { ChooseArchive(); });
    extract_ = button("tbExtraire", txt::PodviewExtract, [this] { ExtractMarked(); });
    button("tbEfface", txt::PodviewErase, [this] { Clear(); });
    folder_ = new QLineEdit(this);
    folder_->setObjectName("edRepertoire");
    folder_->setReadOnly(true);
    top->addWidget(folder_, 1);
    return top;
}

QTableView* ArchiveViewer::BuildEntryList() {
    model_ = new ArchiveEntryModel(session_.Language_(), this);
    entries_ = new QTableView(this);
    entries_->setObjectName("sgPodview");
    entries_->setHorizontalHeader(new SortArrowHeader(entries_)); // the grid's arrow
    entries_->setModel(model_);
    entries_->setSelectionBehavior(QAbstractItemView::SelectRows);
    entries_->setSelectionMode(QAbstractItemView::SingleSelection);
    entries_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    entries_->verticalHeader()->hide();
    entries_->verticalHeader()->setDefaultSectionSize(20);
    entries_->horizontalHeader()->setSectionsClickable(true);
    entries_->horizontalHeader()->setHighlightSections(false);
    entries_->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{kMark, 32}, {kName, 250}, {kFolder, 140}, {kSize, 80}})
        entries_->setColumnWidth(column, width);

    connect(entries_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { boundary_.Run([&] { ToggleMark(index.row()); }); });
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), entries_);
    space->setContext(Qt::WidgetShortcut);
    connect(space, &QShortcut::activated, this,
            [this] { boundary_.Run([this] { ToggleMark(entries_->currentIndex().row()); }); });
    connect(entries_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { boundary_.Run([&] { HeadingClick(column); }); });
    return entries_;
}

QStatusBar* ArchiveViewer::BuildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar");
    statusBar_->setSizeGripEnabled(false);
    statusLabel_ = new QLabel(statusBar_);
    statusBar_->addWidget(statusLabel_, 1);
    return statusBar_;
}

ArchiveViewer::~ArchiveViewer() = default;

std::string ArchiveViewer::SystemFolder() const {
    if (session_.FlyDir.empty()) return {};
    return WithTrailingSeparator(ResolvePathCase(JoinPath(session_.FlyDir, "system")));
}

QString ArchiveViewer::StatusText() const {
    return statusLabel_->text();
}

void ArchiveViewer::showEvent(QShowEvent* event) {
    boundary_.Run([this] { StartEmpty(); });
    QDialog::showEvent(event);
}

void ArchiveViewer::StartEmpty() {
    Clear();
    keepFolders_->setChecked(false);
    folder_->setText(Q(SystemFolder()));
}

void ArchiveViewer::ChooseArchive() {
    FileDialogRequest r;
    r.filter = session_.OpenFilter.empty() ? std::string(txt::OpenFilterAll.In(lang()))
                                           : session_.OpenFilter;
    r.initialFolder = SystemFolder();
    const auto path = ui_.OpenFile(r);
    if (!path) return;
    if (!IsFormat(*path, TableFormatId::Archive)) return; // silently, as a wrong pick
    OpenArchive(*path);
}

void ArchiveViewer::OpenArchive(const std::string& path) {
    BusyScope busy(busy_);
    // The list shown stays until the new archive has been read.
    auto pod = std::make_unique<ArchiveFile>(path, &ui_);
    if (!pod->IsOpen()) throw FileError(txt::CannotOpenArchive, path);
    pod->ReadHeader();
    pod->ReadDirectory();
    model_->SetArchive(*pod, session_.Display);
    pod_ = std::move(pod);
    markAll_ = false;
    sortColumn_ = -1;
    entries_->horizontalHeader()->setSortIndicatorShown(false);
    CommandBoundary::SetAvailable(extract_, true);
    folder_->setText(Q(WithTrailingSeparator(FolderOf(path))));
    statusBar_->clearMessage();
    statusLabel_->setText(Q(EntryListStatus(*pod_, FileNameOf(path), lang())));
}

void ArchiveViewer::ExtractMarked() {
    if (!pod_) return;
    const std::vector<int> marked = model_->Marked();
    if (marked.empty()) {
        statusBar_->showMessage(Q(txt::PodviewNothingMarked.In(lang())), 15000);
        return;
    }
    auto folder = ui_.PickFolder(txt::PodviewFolderTitle.In(lang()), session_.FlyDir);
    if (!folder) return;
    const std::string target = WithTrailingSeparator(*folder);
    QtProgress progress(&progress_, txt::ProgressExtract, target, lang());
    int written = 0;
    {
        BusyScope busy(busy_);
        written =
            ExtractEntries(*pod_, marked, target, keepFolders_->isChecked(), progress.Callback());
    }
    const CountText& done =
        progress.WasCancelled() ? txt::PodviewExtractStopped : txt::PodviewExtracted;
    statusBar_->showMessage(Q(Format(done.In(lang(), written), written, target.c_str())));
}

void ArchiveViewer::Clear() {
    model_->Clear();
    pod_.reset();
    markAll_ = false;
    sortColumn_ = -1;
    entries_->horizontalHeader()->setSortIndicatorShown(false);
    statusBar_->clearMessage();
    statusLabel_->clear();
    CommandBoundary::SetAvailable(extract_, false);
}

void ArchiveViewer::ToggleMark(int row) {
    model_->ToggleMark(row);
}

void ArchiveViewer::HeadingClick(int column) {
    if (column == kMark) {
        markAll_ = !markAll_;
        model_->MarkAll(markAll_);
    } else if (model_->rowCount() >= 2) {
        sortOrder_ = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder;
        sortColumn_ = column;
        BusyScope busy(busy_);
        model_->sort(column, sortOrder_);
    }
    // The arrow shows the order the rows are in (the header would put it
    // on any heading clicked, "sel" included).
    QHeaderView* h = entries_->horizontalHeader();
    h->setSortIndicatorShown(sortColumn_ > 0);
    h->setSortIndicator(sortColumn_, sortOrder_);
}

} // namespace orvane
