#include "ui/commands/SearchCommands.h"

#include "database/AirportLookup.h"
#include "settings/Texts.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace orvane {

CommandTable SearchCommands::Commands() {
    return {
        {"btnChercher1",
         txt::BtnChercher1,
         Place::SearchBox,
         {},
         When::Always,
         [this] { FindExact(); }},
        {"btnChercher2",
         txt::BtnChercher2,
         Place::SearchBox,
         {},
         When::Always,
         [this] { FindPartial(); }},
        {"btnOACI", txt::BtnOACI, Place::SearchBox, {}, When::Always, [this] { LookUpIcao(); }},
        {"FocusSearch",
         {},
         Place::KeyboardOnly,
         {"Ctrl+F"},
         When::Always,
         [this] { FocusSearchBox(); }},
        {"FindNext", {}, Place::KeyboardOnly, {"F3"}, When::Always, [this] { FindNextClick(); }},
        {"ChercherColonne",
         txt::MenuSearchThisColumn,
         Place::EditMenu,
         {"Ctrl+Shift+F"},
         When::TableLoaded,
         [this] { SearchCurrentColumn(); }},
    };
}

void SearchCommands::FocusSearchBox() {
    w_.searchBox->setFocus(Qt::ShortcutFocusReason);
    w_.searchBox->lineEdit()->selectAll();
}

namespace {

// The search box's own events: Enter (taken from the box, which would
// otherwise treat it as a pick from its list), and the focus leaving it for
// another control of the program (not for its drop-down list or another
// window).
class BoxEvents : public QObject {
  public:
    BoxEvents(QObject* parent, std::function<void()> enter, std::function<void()> left)
        : QObject(parent), enter_(std::move(enter)), left_(std::move(left)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                enter_();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) left_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> enter_;
    std::function<void()> left_;
};

} // namespace

void SearchCommands::Attach(const SearchControls& controls, const CommandBoundary& boundary) {
    w_ = controls;
    QComboBox* box = w_.searchBox;
    // The list collects the texts itself, on leaving the box.
    box->setInsertPolicy(QComboBox::NoInsert);
    QLineEdit* edit = box->lineEdit();
    const CommandBoundary* b = &boundary;
    QObject::connect(edit, &QLineEdit::textEdited, box,
                     [=, this] { b->Run([this] { SearchTextChanged(); }); });
    QObject::connect(box, &QComboBox::activated, box,
                     [=, this] { b->Run([this] { SearchTextChanged(); }); });
    // The box holds the focus and hands keys on to its line edit.
    box->installEventFilter(new BoxEvents(
        box,
        [this] {
            if (w_.findExactButton->isEnabled()) w_.findExactButton->click();
        },
        [=, this] { b->Run([this] { SearchBoxLeft(); }); }));
    // The list of fields, made afresh from the table's headings each time.
    auto* fields = new QMenu(w_.fieldChooser);
    fields->setObjectName("FieldList");
    w_.fieldChooser->setMenu(fields);
    w_.fieldChooser->setPopupMode(QToolButton::InstantPopup);
    QObject::connect(fields, &QMenu::aboutToShow, fields, [=, this] {
        fields->clear();
        const RecordTable& t = c_.session.Table;
        const auto add = [&](int column, const QString& title) {
            QAction* a = fields->addAction(title);
            a->setCheckable(true);
            a->setChecked(state_.SearchColumn == column);
            QObject::connect(a, &QAction::triggered, fields,
                             [=, this] { b->Run([=, this] { ChooseColumn(column); }); });
        };
        add(kAllColumns, Q(txt::LblNomUndefined.In(c_.lang())));
        fields->addSeparator();
        for (int c = kFirstFieldColumn; c < t.ColumnCount(); ++c)
            add(c, CellToQString(t.Cell(c, 0)));
    });
    QObject::connect(w_.icaoBox, &QLineEdit::returnPressed, w_.icaoBox, [=, this] {
        if (w_.icaoButton->isEnabled()) w_.icaoButton->click();
    });
}

void SearchCommands::ShowCaptions() {
    w_.findExactButton->setText(Q(state_.Caption(SearchMode::Exact, c_.lang())));
    w_.findPartialButton->setText(Q(state_.Caption(SearchMode::Partial, c_.lang())));
}

void SearchCommands::Press(SearchMode mode) {
    last_ = mode;
    const std::string text = QStringToCell(w_.searchBox->currentText());
    const SearchResult r = state_.Press(mode, c_.session.Table, text, c_.ui);
    if (r.found) c_.view.ShowSearchHit(r.hit);
    ShowCaptions();
}

void SearchCommands::SearchTextChanged() {
    state_.TextChanged();
    ShowCaptions();
}

void SearchCommands::SearchBoxLeft() {
    w_.searchBox->addItem(w_.searchBox->currentText());
}

void SearchCommands::FieldCellClicked(int column, const QString& title) {
    state_.FieldCellClicked(column);
    w_.fieldLabel->setText(title);
    ShowCaptions();
}

void SearchCommands::ChooseColumn(int column) {
    const RecordTable& t = c_.session.Table;
    if (column < kFirstFieldColumn || column >= t.ColumnCount()) {
        FieldCellClicked(kAllColumns, Q(txt::LblNomUndefined.In(c_.lang())));
        return;
    }
    FieldCellClicked(column, CellToQString(t.Cell(column, 0)));
}

void SearchCommands::SearchCurrentColumn() {
    ChooseColumn(c_.session.Table.CurrentColumn());
    FocusSearchBox();
}

void SearchCommands::LookUpIcao() {
    const std::string code = QStringToCell(w_.icaoBox->text());
    if (code.empty()) {
        c_.ui.Beep();
        w_.icaoBox->setFocus();
        return;
    }
    const std::optional<std::string> text = LookupAirport(c_.session, code, c_.ui);
    if (!text) return;
    w_.searchBox->setEditText(CellToQString(*text));
    // The text is a key: its own column is searched, so that Find = goes to
    // the airport, and the label says which column that is.
    const int column = KeyColumn();
    state_.LookupFilled(column);
    if (state_.SearchColumn == column)
        w_.fieldLabel->setText(CellToQString(c_.session.Table.Cell(column, 0)));
    ShowCaptions();
}

// The text the lookup reads starts at byte 4 of the record, after the two
// marks: the field that begins there.
int SearchCommands::KeyColumn() const {
    const auto& fields = c_.session.Fields();
    const int columns = c_.session.Table.ColumnCount();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].Offset == 4 && fields[i].IsText() && kFirstFieldColumn + int(i) < columns)
            return kFirstFieldColumn + int(i);
    return 0;
}

void SearchCommands::TableLoaded() {
    const RecordTable& t = c_.session.Table;
    int column = 0;
    if (state_.SearchColumn >= kFirstFieldColumn) {
        const std::string title = QStringToCell(w_.fieldLabel->text());
        for (int c = kFirstFieldColumn; c < t.ColumnCount() && column == 0; ++c)
            if (t.Cell(c, 0) == title) column = c;
    }
    if (column == 0) {
        state_.FieldCellClicked(0);
        w_.fieldLabel->setText(Q(txt::LblNomUndefined.In(c_.lang())));
    } else {
        state_.FieldCellClicked(column);
    }
    state_.TextChanged(); // a hit in the old table is no place to go on from
    ShowCaptions();
}

} // namespace orvane
