// The program-wide state of one run: the settings, the loaded table, its
// archive object and the display parameters.
#pragma once

#include "database/Archive.h"
#include "platform/LocaleInfo.h"
#include "settings/RecentFiles.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "table/History.h"
#include "table/RecordTable.h"
#include "table/RowFilter.h"
#include "table/TableDiff.h"
#include "table/TableEffect.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace orvane {

// Normal editing, or the direct write of single rows into an open archive.
enum class EditMode { Normal, DirectWrite };

struct SessionState : SessionSettings {
    std::string OpenFilter; // filter of the dialog that opens a DBD out of an archive
    std::string DataType;   // "AIRPORT", "COMM", "ILS", "NAVAID", "RUNWAY" (8-bit)
    int FieldCount = 0;
    std::unique_ptr<ArchiveFile> CurrentPod; // archive object of the loaded table
    RecordTable Table;                       // holds SelectedCount and DeleteCount
    DisplayContext Display;                  // decimal separator, time zone, date formats
    History Undo;                            // the steps taken on Table since its load
    // Row n of Table is record n of the file it came from: false once the
    // rows may have moved before the direct-write mode came on.
    bool RowsAreRecords = false;
    EditMode Mode = EditMode::Normal;
    // Rows changed in direct-write mode and not yet written into the archive.
    std::set<int> Unwritten;
    // The loaded file's summary as its loader worded it (UTF-8); the record
    // count in it follows the table (StatusText).
    std::string LoadStatus;
    // The file the table was loaded from, and the DBD it was last saved to
    // whole (empty: none since the load).
    TableSource Source;
    std::string SavedTo;
    // Told after every change of the table or of its marks: a change made
    // through the gate, an undo or redo, a row written, the mode switched.
    std::function<void(const TableEffect&)> Changed;
    // Told once a load or an opened exchange file has put another table in
    // place, finished (FinishLoad).
    std::function<void()> TableReplaced;

    Lang Language_() const { return LangOf(Language); }
    char DecimalSeparator() const { return Display.decimalSeparator; }
    // The field list of the loaded template (empty when none).
    const std::vector<FieldDef>& Fields() const;
    // How this table's cells compare with another table's, matched by the
    // given key column: numbers by value, texts by their bytes.
    CompareRule CompareRuleFor(int keyColumn) const;

    // Puts a load's archive object in place of the current one, which is
    // closed. When that close fails after a record was written into the
    // archive, the error is shown through ui: the load itself has succeeded.
    void ReplaceArchive(std::unique_ptr<ArchiveFile> pod, UserInteraction& ui);
    // Closes the archive held open (the program ends), with the same report.
    void ReleaseArchive(UserInteraction& ui);

    // The flag columns' headings in the user's language ("Modif" reads
    // "Change" in English), taken into the history as no step. Written once
    // (the window's start), they stay across loads.
    void WriteFlagHeadings();
    // What every load and opened exchange file ends with, in the core (the
    // batch tool's too): the flag headings as they were written, a new
    // history in which the table as loaded is the saved state, no unwritten
    // row, rows that are again their file's records, counters recounted;
    // then TableReplaced is told.
    void FinishLoad();

    // --- The one gate of every change to the table -------------------------

    // Runs `change` as one undo step named `name`, then holds the session's
    // rules against what it did, whichever command asked. In direct-write
    // mode a change that adds, removes or moves rows, changes the columns or
    // a field the in-place write leaves alone is taken back whole and
    // refused (RefusedError, the table as it was). Otherwise the marks
    // follow: the flag counters are recounted when flags or rows changed,
    // rows changed in direct-write mode become unwritten. `change` returns
    // false when it chose to change nothing (a question was cancelled).
    // A gate opened inside another joins it; the outer one checks.
    TableEffect ChangeTable(StepName name, const std::function<bool(RecordTable&)>& change);
    // Undo and redo through the same rules (false: nothing to take).
    bool UndoStep();
    bool RedoStep();
    // Whether a cell of this column may change in the current mode.
    bool MayChangeColumn(int column) const;
    // What a take says when the mode left some of its choices out: rows
    // to add or remove, values of fields the write leaves alone (one of
    // their titles, UTF-8), whether the rest was taken.
    std::string LeftOutText(int rows, int values, const std::string& field, bool taken) const;
    // Whether rows may be added, removed or reordered in the current mode.
    bool MayMoveRows() const { return Mode != EditMode::DirectWrite; }

    // --- Saved state and marks ---------------------------------------------

    // The table differs, or may differ, from what was last loaded, saved
    // whole or written into the archive.
    bool HasUnsavedChanges() const;
    // The table was saved whole (rows not written into the archive stay
    // unwritten).
    void MarkSaved();
    // The direct write tracks unwritten rows: the mode is on over a table
    // whose rows are the records of an open Fly! II archive.
    bool TracksUnwritten() const;
    // The status bar's text: the load's summary with the table's record count.
    std::string StatusText() const;

    // --- Which file --------------------------------------------------------

    // A load put in a table from this file, saved nowhere yet.
    void CameFrom(TableSource source);
    // Where Save writes without asking: the DBD last saved to, else the DBD
    // the table was loaded from; empty (Save asks where) for a table out of
    // an archive, a DEX or a CSV file until its first save. Never an archive.
    std::string SaveTarget() const;
    // The file being edited as the title names it (UTF-8): the DBD last
    // saved to, else the file loaded; empty before any load.
    std::string DocumentName() const;
    // The window's title for that file ("[*]" where the unsaved mark goes);
    // empty before any load (the program's own caption stays).
    std::string WindowTitle() const;
    // The table was saved whole to the DBD at `path`: it is the saved state
    // (MarkSaved), Save writes there from now on, and the status bar names
    // that file, its data type, record count and size. In direct-write mode
    // the archive stays the file edited: the DBD is a copy, and Save asks.
    void SavedAs(const std::string& path);

    // --- Direct-write mode -------------------------------------------------

    // Fly! 1: RefusedError "Fly! 2 only". Otherwise the mode comes on; the
    // history's steps go (the rows now stand for records of the archive).
    void EnterDirectWrite();
    // Back to normal mode. Rows not yet written are named in a question;
    // on OK their changes are discarded (the records are read back from the
    // archive), on Cancel the mode stays (false).
    bool LeaveDirectWrite(UserInteraction& ui);
    // Back to normal mode without a question (its caller asked through
    // MayReplaceTable): the rows not written get their records back.
    void DropDirectWrite();
    // Writes table row `row` into the archive (WriteCurrentRow); a written
    // row is no longer unwritten, and once none is left the table is saved.
    // Returns whether the record was written.
    bool WriteRow(int row, UserInteraction& ui);
    // Before a load or the end of the program replaces the table: asks about
    // unwritten rows (OK or Cancel), else about unsaved changes (Save,
    // Discard or Cancel; Save runs `save`, which tells whether the table was
    // saved). False: keep the table.
    bool MayReplaceTable(UserInteraction& ui, const std::function<bool()>& save = {});

    // --- The grid's filter -------------------------------------------------

    // The filter's conditions; the rows shown follow every change of the
    // table's rows (rows a change inserts stay shown until the filter is
    // set again). A load clears it.
    void SetFilter(RowFilter filter);
    const RowFilter& Filter() const { return filter_; }
    bool Filtering() const { return filter_.Active(); }
    // The data rows the grid shows, in order (all of them when not filtering).
    std::vector<int> ShownRows() const;
    // While filtering: the rows kept, in order.
    const std::vector<int>& KeptRows() const { return kept_; }
    bool IsShown(int row) const;

  private:
    void Notify(const TableEffect& effect);
    void Refilter(const std::vector<int>& alsoShown);
    RowFilter filter_;
    std::vector<int> kept_;
    void MarkUnwritten(const std::vector<int>& rows);
    std::int64_t ArchiveDbdEntry();
    bool ReadArchiveRecord(std::int64_t entry, int row, RecordTable& into, int intoRow);
    bool TakeStep(bool undo);
    void RevertUnwritten();
    int gateDepth_ = 0;
    bool headingsWritten_ = false;
};

} // namespace orvane
