#include "ui/dialogs/RecordEditorDialog.h"

#include "platform/Errors.h"

#include "database/DirectWrite.h"
#include "ui/dialogs/ByteEntryDialog.h"
#include "ui/dialogs/CoordinateDialog.h"
#include "ui/print/GridPrinter.h"
#include "ui/qt/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane {

constexpr int kValueColumn = 3;

// The value column's editor: a line edit that remembers the text it started
// with, so the end of the editing can tell whether the value changed.
class ValueDelegate : public QStyledItemDelegate {
  public:
    explicit ValueDelegate(EditorPageGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {
        connect(this, &QAbstractItemDelegate::closeEditor, this,
                [this](QWidget* editor, EndEditHint hint) {
                    if (grid_->editor_ == editor) grid_->editor_ = nullptr;
                    if (hint == RevertModelCache && grid_->Reverted)
                        grid_->Reverted(editor->property("row").toInt());
                });
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setProperty("row", index.row() + 1);
        editor->setProperty("page", grid_->Page());
        grid_->editor_ = editor; // a guarded pointer: gone with the editor
        if (grid_->EditorOpened) grid_->EditorOpened(editor);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        editor->setProperty("entered", static_cast<QLineEdit*>(editor)->text());
    }
    // The focus taken by a check's message box leaves the editor open.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && grid_->EditorHeld()) return false;
        return QStyledItemDelegate::eventFilter(object, event);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const QString now = static_cast<QLineEdit*>(editor)->text();
        const QString entered = editor->property("entered").toString();
        const QString keep = grid_->Validate ? grid_->Validate(index.row() + 1, entered, now) : now;
        model->setData(index, keep);
        editor->setProperty("entered", keep);
    }

  private:
    EditorPageGrid* grid_;
};

EditorPageGrid::EditorPageGrid(int page, QWidget* parent)
    : QTableWidget(kFieldsPerPage, 4, parent), page_(page) {
    setObjectName(QStringLiteral("grid%1").arg(page));
    setItemDelegateForColumn(kValueColumn, new ValueDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false); // Tab leaves the grid for the buttons
    setWordWrap(false);
    for (int r = 0; r < kFieldsPerPage; ++r)
        for (int c = 0; c < 4; ++c)
            setItem(r, c, new QTableWidgetItem);
}

void EditorPageGrid::mousePressEvent(QMouseEvent* event) {
    const bool onCell = indexAt(event->position().toPoint()).isValid();
    QTableWidget::mousePressEvent(event);
    if (onCell) emit pressed(event->button());
}

void EditorPageGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) {
        CommitEdit(); // F4 while typing: the value is checked first
        emit entryKeyPressed();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void EditorPageGrid::CommitEdit() {
    if (QPointer<QLineEdit> editor = editor_.data()) {
        commitData(editor);
        // Closed now, deleted later: no longer this page's open editor.
        editor_ = nullptr;
        if (editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool EditorPageGrid::RevertEdit() {
    QPointer<QLineEdit> editor = editor_.data();
    if (!editor) return false;
    // Through the delegate, as Escape in the cell goes: the row's value reverts too.
    emit itemDelegateForColumn(kValueColumn)
        ->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    return true;
}

// --- The editor window -------------------------------------------------------------------

RecordEditorDialog::RecordEditorDialog(SessionState& session, UserInteraction& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui),
      boundary_(ui, [this] { return session_.Language_(); }) {
    setObjectName("TForm_Saisie");
    // Fixed size, no buttons in the title bar: "Fermer" and "Annuler" (or
    // Escape) are the ways out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    captions_.Title(this, txt::EditorCaption);
    const Lang lang = session_.Language_();
    editor_.DecimalSeparator = session_.DecimalSeparator();

    topRow_ = BuildTopRow();
    pages_ = new QStackedWidget(this);
    for (int p = 1; p <= kEditorPages; ++p) {
        grids_[p - 1] = BuildPage(p);
        pages_->addWidget(grids_[p - 1]);
        WirePage(grids_[p - 1]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addLayout(topRow_);
    layout->addWidget(pages_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    byteDialog_ = new ByteEntryDialog(lang, ui_, this);
    coordinateDialog_ = new CoordinateDialog(lang, editor_.DecimalSeparator, ui_, this);
}

// The page tabs, then "Imprimer", "Fermer" and "Annuler".
QLayout* RecordEditorDialog::BuildTopRow() {
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabControl");
    for (int p = 1; p <= kEditorPages; ++p)
        tabs_->addTab(Q(Format(txt::EditorPageTab, p)));
    auto button = [this](const char* name, BiText text) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        captions_.Text(b, text);
        return b;
    };
    QPushButton* print = button("btnPrint", txt::EditorPrint);
    QPushButton* ok = button("btnOK", txt::DialogClose);
    QPushButton* cancel = button("btnCancel", txt::DialogCancel);
    if (session_.Language_() == Lang::English) captions_.Apply(Lang::English);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(tabs_, 0, Qt::AlignBottom);
    top->addStretch(1);
    for (QPushButton* b : {print, ok, cancel}) {
        // No default button: Enter belongs to the grid's cells.
        b->setAutoDefault(false);
        b->setFixedSize(std::max(60, b->fontMetrics().horizontalAdvance(b->text()) + 16),
                        std::max(20, b->sizeHint().height() - 4));
        top->addWidget(b, 0, Qt::AlignBottom);
    }

    connect(tabs_, &QTabBar::currentChanged, this,
            [this](int index) { boundary_.Run([&] { ShowPage(index); }); });
    boundary_.Wire(print, [this] { PrintPage(); });
    boundary_.Wire(ok, [this] { CarryBack(); });
    // Ctrl+Enter, which opens the editor on the grid, also closes it with
    // its values ("Fermer"), from a cell being typed into too.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(Qt::ControlModifier | key), this), &QShortcut::activated,
                ok, &QPushButton::click);
    boundary_.Wire(cancel, [this] { reject(); });
    return top;
}

EditorPageGrid* RecordEditorDialog::BuildPage(int p) {
    auto* grid = new EditorPageGrid(p, pages_);
    const BiText headings[4] = {txt::EditorHeadingTitle, txt::EditorHeadingType,
                                txt::EditorHeadingWidth, txt::EditorHeadingValue};
    QStringList labels;
    for (const BiText& h : headings)
        labels << Q(h.In(session_.Language_()));
    grid->setHorizontalHeaderLabels(labels);
    const QFontMetrics fm(grid->font());
    const QFontMetrics hfm(grid->horizontalHeader()->font());
    const int rowHeight = std::max(kEditorRowHeight, fm.height() + 4);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->horizontalHeader()->setFixedHeight(std::max(kEditorRowHeight, hfm.height() + 4));
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        const int w =
            std::max(kEditorColumnWidths[std::size_t(c)], hfm.horizontalAdvance(labels[c]) + 14);
        grid->setColumnWidth(c, w);
        width += w;
    }
    const int frame = 2 * grid->frameWidth();
    grid->setFixedSize(
        std::max(435, width + frame),
        std::max(580, grid->horizontalHeader()->height() + kFieldsPerPage * rowHeight + frame));
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

// A page's events: the end of an editing, Escape, the keys typed, the presses.
void RecordEditorDialog::WirePage(EditorPageGrid* grid) {
    grid->Validate = [this, grid](int row, const QString& entered, const QString& now) {
        QString keep = now;
        boundary_.Run([&] {
            const CheckResult r = editor_.ValidateOnLeave(grid->Page(), row, QStringToCell(entered),
                                                          QStringToCell(now), session_.Language_());
            keep = CellToQString(r.value);
            // The editor closes next: the page keeps the focus.
            if (r.notice) Notify(grid, *r.notice, true);
            if (r.backToRow)
                QTimer::singleShot(0, grid,
                                   [grid, row] { grid->setCurrentCell(row - 1, kValueColumn); });
        });
        return keep;
    };
    grid->Reverted = [this, grid](int row) {
        editor_.SetValue(grid->Page(), row, QStringToCell(grid->item(row - 1, 3)->text()));
    };
    grid->EditorOpened = [this](QLineEdit* e) {
        keysDown_.clear();
        e->installEventFilter(this);
    };
    connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kValueColumn) ShowWhole(item);
    });
    connect(grid, &EditorPageGrid::pressed, this, [this, grid](Qt::MouseButton button) {
        boundary_.Run([&] { OpenEntryDialog(grid, button); });
    });
    connect(grid, &EditorPageGrid::entryKeyPressed, this,
            [this, grid] { boundary_.Run([&] { OpenEntryDialog(grid, Qt::RightButton); }); });
}

// A cell editing still open when the window goes (the program ends) is
// committed by Qt as its pages go: no check of this window may run then.
RecordEditorDialog::~RecordEditorDialog() {
    for (EditorPageGrid* grid : grids_) {
        grid->disconnect(this);
        grid->Validate = nullptr;
        grid->Reverted = nullptr;
        grid->EditorOpened = nullptr;
    }
}

void RecordEditorDialog::showEvent(QShowEvent* event) {
    boundary_.Run([this] { Fill(); });
    QDialog::showEvent(event);
}

// Filled when the editor opens, not when it becomes active again: coming back
// from an entry dialog keeps what was typed.
void RecordEditorDialog::Fill() {
    const RecordTable& table = session_.Table;
    editor_.FillFrom(table, table.CurrentRow(), session_.Fields());
    DrawAll();
    FitValueColumn();
    for (EditorPageGrid* grid : grids_)
        grid->setCurrentCell(0, kValueColumn);
    tabs_->setCurrentIndex(editor_.CurrentPage - 1);
    pages_->setCurrentIndex(editor_.CurrentPage - 1);
    CurrentGrid()->setFocus();
}

void RecordEditorDialog::Draw(int page) {
    EditorPageGrid* grid = Grid(page);
    for (int r = 1; r <= kFieldsPerPage; ++r) {
        const EditorLine& line = editor_.Line(page, r);
        const std::string* texts[4] = {&line.title, &line.type, &line.width, &line.value};
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = grid->item(r - 1, c);
            item->setText(CellToQString(*texts[c]));
            // Title, type and width steer the checks: read only. Empty rows
            // hold nothing to edit.
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            const bool locked = c == kValueColumn && IsProtected(line);
            if (c == kValueColumn && line.field >= 0 && !locked) flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            if (c == 0) // the title says why the value is locked
                item->setToolTip(IsProtected(line)
                                     ? Q(txt::ProtectedFieldHint.In(session_.Language_()))
                                     : QString());
            if (c == 1) item->setTextAlignment(Qt::AlignCenter);
            if (c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

bool RecordEditorDialog::IsProtected(const EditorLine& line) const {
    return protectFields_ && IsProtectedFieldAt(session_.Fields(), line.field);
}

void RecordEditorDialog::DrawAll() {
    for (int p = 1; p <= kEditorPages; ++p)
        Draw(p);
}

namespace {
constexpr int kCellPadding = 12; // a cell's text margins and grid line
}

void RecordEditorDialog::FitValueColumn() {
    const QFontMetrics fm(grids_[0]->font());
    int others = 0;
    for (int c = 0; c < kValueColumn; ++c)
        others += grids_[0]->columnWidth(c);
    const int frame = 2 * grids_[0]->frameWidth();
    int width =
        std::max(kEditorColumnWidths[kValueColumn], topRow_->sizeHint().width() - others - frame);
    for (EditorPageGrid* grid : grids_)
        for (int r = 0; r < kFieldsPerPage; ++r)
            width = std::max(width, fm.horizontalAdvance(grid->item(r, kValueColumn)->text()) +
                                        kCellPadding);
    // Never wider than the screen leaves: longer values have their tooltip.
    const QScreen* shown = screen();
    const int room = shown ? shown->availableGeometry().width() - others - frame - 40 : width;
    width = std::min(width, std::max(kEditorColumnWidths[kValueColumn], room));
    for (EditorPageGrid* grid : grids_) {
        grid->setColumnWidth(kValueColumn, width);
        grid->setFixedWidth(std::max(435, others + width + frame));
        for (int r = 0; r < kFieldsPerPage; ++r)
            ShowWhole(grid->item(r, kValueColumn));
    }
}

void RecordEditorDialog::ShowWhole(QTableWidgetItem* item) const {
    QTableWidget* grid = item->tableWidget();
    const int room = grid->columnWidth(item->column()) - kCellPadding;
    const bool cut = QFontMetrics(grid->font()).horizontalAdvance(item->text()) > room;
    const QString tip = cut ? item->text() : QString();
    if (item->toolTip() != tip) item->setToolTip(tip);
}

void RecordEditorDialog::ShowPage(int index) {
    CommitEdits();
    editor_.CurrentPage = index + 1;
    pages_->setCurrentIndex(index);
}

void RecordEditorDialog::CommitEdits() {
    for (EditorPageGrid* grid : grids_)
        grid->CommitEdit();
}

void RecordEditorDialog::Notify(EditorPageGrid* grid, const EditorNotice& notice, bool focusGrid) {
    grid->HoldEditor(true);
    try {
        ShowNotice(notice, ui_);
        if (focusGrid && grid->isVisible()) grid->setFocus();
    } catch (...) {
        grid->HoldEditor(false);
        throw;
    }
    grid->HoldEditor(false);
}

void RecordEditorDialog::React(EditorPageGrid* grid, int row, const CheckResult& result,
                               const QPointer<QLineEdit>& open) {
    if (result.valueChanged) {
        const QString value = CellToQString(result.value);
        if (open) {
            const int cursor = open->cursorPosition();
            open->setText(value);
            open->setCursorPosition(std::min(cursor, int(value.size())));
        } else {
            grid->item(row - 1, kValueColumn)->setText(value);
        }
    }
    if (result.notice) Notify(grid, *result.notice);
    if (result.backToRow) grid->setCurrentCell(row - 1, kValueColumn);
}

// The keys typed into a value: the checks before the key (a character key)
// and after it (any key released).
bool RecordEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease) return QDialog::eventFilter(watched, event);
    auto* open = qobject_cast<QLineEdit*>(watched);
    if (!open) return QDialog::eventFilter(watched, event);
    const int page = open->property("page").toInt();
    if (page < 1 || page > kEditorPages || Grid(page)->OpenEditor() != open)
        return false; // closing
    const int row = open->property("row").toInt();
    const auto* key = static_cast<QKeyEvent*>(event);
    // A release whose press went elsewhere (the key that closed a message
    // box, the F2 that opened this editor) checks nothing: otherwise the
    // Enter closing the box about a wrong value opens the same box again.
    if (!press && !keysDown_.remove(key->key())) return false;
    if (press) {
        keysDown_.insert(key->key());
        const QString text = key->text();
        const bool character = key->key() == Qt::Key_Backspace ||
                               (text.size() == 1 && text[0].isPrint() &&
                                !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)));
        if (!character) return false;
    }
    const QPointer<QLineEdit> guard(open);
    boundary_.Run([&] {
        const std::string value = QStringToCell(open->text());
        const CheckResult r =
            press ? editor_.KeyPressed(page, row, value) : editor_.KeyReleased(page, row, value);
        React(Grid(page), row, r, guard);
    });
    // A check never cancels the key, but a key whose editor is gone goes nowhere.
    return guard.isNull();
}

void RecordEditorDialog::OpenEntryDialog(EditorPageGrid* grid, Qt::MouseButton button) {
    const int page = grid->Page();
    const int row = grid->currentRow() + 1;
    if (row < 1) return;
    if (IsProtected(editor_.Line(page, row))) return; // its entry dialog would change it
    const MouseButton b = button == Qt::LeftButton    ? MouseButton::Left
                          : button == Qt::RightButton ? MouseButton::Right
                                                      : MouseButton::Other;
    const EntryRequest req = editor_.OpenEntryDialog(page, row, b);
    if (req.kind == EntryRequest::Kind::Coordinates) {
        CoordinateEntry& entry = coordinateDialog_->Entry();
        entry.Latitude = req.latitude;
        entry.Longitude = req.longitude;
        if (coordinateDialog_->exec() != QDialog::Accepted) return;
        editor_.ApplyCoordinates(req, entry.Latitude, entry.Longitude);
    } else if (req.kind == EntryRequest::Kind::Byte) {
        byteDialog_->Entry().Preset(req.byteViews);
        if (byteDialog_->exec() != QDialog::Accepted) return;
        editor_.ApplyByte(req, byteDialog_->Entry().ResultText);
    } else {
        return;
    }
    // The pair may span two pages.
    DrawAll();
}

void RecordEditorDialog::CarryBack() {
    CommitEdits();
    CarryBackResult res;
    try {
        session_.ChangeTable({txt::StepCarryBack, session_.Table.CurrentRow(), {}},
                             [&](RecordTable& t) {
                                 res = editor_.CarryBack(t, session_.Language_());
                                 return res.done;
                             });
    } catch (const OrvaneError& e) { // the session refused the change: the row is as it was
        ui_.ShowMessage(MessageKind::Error, e.In(session_.Language_()));
        return;
    }
    if (res.done) {
        accept();
        return;
    }
    if (res.notice) ShowNotice(*res.notice, ui_);
    tabs_->setCurrentIndex(res.focus.page - 1);
    Grid(res.focus.page)->setCurrentCell(res.focus.row - 1, kValueColumn);
    Grid(res.focus.page)->setFocus();
}

void RecordEditorDialog::reject() {
    bool ended = false;
    for (EditorPageGrid* grid : grids_)
        ended = grid->RevertEdit() || ended;
    if (ended) {
        CurrentGrid()->setFocus();
        return;
    }
    bool close = true;
    boundary_.Run([&] {
        close =
            !editor_.Changed() || ui_.Confirm(txt::EditorDiscardChanges.In(session_.Language_()));
    });
    if (close) QDialog::reject();
}

void RecordEditorDialog::PrintPage() {
    CommitEdits();
    const auto choice =
        ui_.ChoosePrinter({SuggestedPrintFile(session_.WorkDir, session_.DataType)});
    if (!choice) return;
    EditorPageGrid* grid = CurrentGrid();
    PrintSheet sheet;
    sheet.columnCount = 4;
    sheet.rowCount = RowsPerPage;
    sheet.cell = [grid](int c, int r) {
        return r == 0 ? grid->horizontalHeaderItem(c)->text() : grid->item(r - 1, c)->text();
    };
    sheet.screenWidth = [grid](int c) { return grid->columnWidth(c); };
    sheet.alignment = [](int c) {
        return c == 1 ? Qt::AlignHCenter : c == 2 ? Qt::AlignRight : Qt::AlignLeft;
    };
    PrintLook look;
    look.landscape = false;
    look.editorPage = true;
    look.title = Q(EditorPrintTitle(editor_.CurrentPage, session_.DataType, editor_.TableRow()));
    PrintRangeOf(*choice, sheet, {0, 3, 1, kFieldsPerPage}, look);
}

} // namespace orvane
