// The session's rules, driven as a user drives them: random sequences of
// commands of every family over the demo tables, in both modes, with the
// rules checked after every step. A failing seed prints its steps.
//
// ORVANE_SESSION_SEEDS sets how many seeds run (CI's fuzz step runs more).
#include "database/CellEntry.h"
#include "database/DbdFile.h"
#include "database/DirectWrite.h"
#include "database/SessionState.h"
#include "demo/DemoFolder.h"
#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "realworld/OurAirports.h"
#include "realworld/Reconcile.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "table/TableOperations.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace orvane {
namespace {

using testing::ScriptedInteraction;
using testing::TempDir;

using Snapshot = std::vector<std::vector<std::string>>; // rows 1.., columns 1..

Snapshot Take(const RecordTable& t) {
    Snapshot s;
    for (int r = 1; r < t.RowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 1; c < t.ColumnCount(); ++c)
            row.emplace_back(t.Cell(c, r));
        s.push_back(std::move(row));
    }
    return s;
}

// Where two snapshots first differ ("" when they do not).
std::string FirstDifference(const Snapshot& a, const Snapshot& b) {
    if (a.size() != b.size())
        return std::to_string(a.size()) + " rows against " + std::to_string(b.size());
    for (std::size_t r = 0; r < a.size(); ++r)
        for (std::size_t c = 0; c < std::max(a[r].size(), b[r].size()); ++c) {
            const std::string x = c < a[r].size() ? a[r][c] : "",
                              y = c < b[r].size() ? b[r][c] : "";
            if (x != y)
                return "row " + std::to_string(r + 1) + " column " + std::to_string(c + 1) +
                       ": \"" + x + "\" against \"" + y + "\"";
        }
    return "";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SessionRules : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        demo_ = new TempDir;
        MakeDemoFolder(demo_->Path());
        real_ = new RealWorldData(ReadRealWorldData(
            demo_->File("ourairports"), {RealDataFile::Airports, RealDataFile::Runways,
                                         RealDataFile::Navaids, RealDataFile::Frequencies}));
    }
    static void TearDownTestSuite() {
        delete real_;
        delete demo_;
    }
    static TempDir* demo_;
    static RealWorldData* real_;
};
TempDir* SessionRules::demo_ = nullptr;
RealWorldData* SessionRules::real_ = nullptr;

// One random session over a copy of one demo archive.
class RandomSession {
  public:
    RandomSession(unsigned seed, const std::string& type, const TempDir& demo,
                  const RealWorldData& real)
        : rng_(seed), type_(type), real_(real) {
        archive_ = dir_.File(type + ".POD");
        std::filesystem::copy_file(demo.File("fly2/system/" + type + ".POD"), archive_);
        dex_ = demo.File("work/" + type + ".dex");
        original_ = ReadAll(archive_);
        s_.Language = "english";
        s_.SimulatorVersion = 2;
        Load();
        pristine_ = LoadAside();
    }

    // Runs `steps` random commands; false (with a message) at the first broken rule.
    void Run(int steps) {
        for (int i = 0; i < steps && !::testing::Test::HasFailure(); ++i) {
            Step();
            Check();
        }
        // Every step taken back: the table as the history started it.
        if (!::testing::Test::HasFailure()) {
            while (s_.UndoStep()) {
            }
            Log("undo all");
            EXPECT_EQ(FirstDifference(Take(s_.Table), base_), "") << Steps();
            Check();
        }
    }

  private:
    int Pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    int Rows() const { return s_.Table.RowCount() - 1; }
    int AnyRow() { return 1 + Pick(Rows()); }
    int AnyField() { return kFirstFieldColumn + Pick(s_.Table.ColumnCount() - kFirstFieldColumn); }
    void Log(std::string what) { steps_.push_back(std::move(what)); }
    std::string Steps() const {
        std::ostringstream out;
        out << "type " << type_ << ", steps:";
        for (const std::string& s : steps_)
            out << "\n  " << s;
        return out.str();
    }

    std::unique_ptr<SessionState> LoadAside() const {
        auto other = std::make_unique<SessionState>();
        static_cast<SessionSettings&>(*other) = s_;
        ScriptedInteraction quiet;
        OpenDbdFromArchive(*other, archive_, "", quiet);
        return other;
    }
    void Load() {
        OpenDbdFromArchive(s_, archive_, "", ui_);
        s_.CameFrom({SourceKind::Archive, archive_, "DATABASE\\" + type_ + ".DBD"});
        saved_ = base_ = Take(s_.Table);
    }

    // A change through the gate; a refusal must leave the table as it was.
    void Change(const std::string& what, const std::function<bool(RecordTable&)>& change) {
        const Snapshot before = Take(s_.Table);
        const int selected = s_.Table.SelectedCount;
        try {
            s_.ChangeTable({txt::StepTyping, 0, {}}, change);
            Log(what);
        } catch (const RefusedError&) {
            Log(what + " (refused)");
            EXPECT_EQ(s_.Mode, EditMode::DirectWrite) << "refused in normal mode\n" << Steps();
            EXPECT_EQ(FirstDifference(Take(s_.Table), before), "")
                << "a refusal changed the table\n"
                << Steps();
            EXPECT_EQ(s_.Table.SelectedCount, selected) << Steps();
        }
    }

    void Step() {
        ui_.defaultAnswer = Chance(70);
        RecordTable& t = s_.Table;
        switch (Pick(19)) {
        case 0:
        case 1: { // typing: a value another row holds in that column
            // Now and then a flag cell, as the record editor writes them.
            const bool flag = Chance(15);
            const int row = AnyRow(), from = AnyRow();
            const int col = flag ? (Chance(50) ? kColExport : kColSuppr) : AnyField();
            const std::string text = flag ? std::string(Chance(50)          ? ""
                                                        : col == kColExport ? "1"
                                                                            : "x")
                                          : std::string(t.Cell(col, from));
            Change("type row " + std::to_string(row) + " col " + std::to_string(col),
                   [&](RecordTable& table) {
                       table.SetCell(col, row, text);
                       return true;
                   });
            break;
        }
        case 2: {
            const int row = AnyRow();
            const bool exportCol = Chance(50);
            Change(std::string(exportCol ? "toggle export " : "toggle suppr ") +
                       std::to_string(row),
                   [&](RecordTable& table) {
                       exportCol ? ToggleExport(table, row) : ToggleSuppr(table, row);
                       return true;
                   });
            break;
        }
        case 3: {
            const int op = Pick(5);
            const char* names[] = {"insert", "append", "delete line", "delete selection",
                                   "erase all"};
            if (Rows() > 0) t.SetCurrentRow(AnyRow());
            Change(names[op], [&](RecordTable& table) {
                switch (op) {
                case 0:
                    InsertLineAfter(table, s_.FieldCount);
                    return true;
                case 1:
                    AppendLine(table, s_.FieldCount);
                    return true;
                case 2:
                    return DeleteLine(table, ui_, Lang::English);
                case 3:
                    return DeleteSelection(table, ui_, Lang::English);
                default:
                    return EraseAll(table, ui_, Lang::English);
                }
            });
            break;
        }
        case 4: {
            const bool all = Chance(50);
            Change(all ? "select all" : "select none", [&](RecordTable& table) {
                // With a filter on, on the rows it shows.
                const std::vector<int>* shown = s_.Filtering() ? &s_.KeptRows() : nullptr;
                return all ? SelectAll(table, ui_, Lang::English, shown)
                           : SelectNone(table, ui_, Lang::English, shown);
            });
            break;
        }
        case 5: {
            const int col = Pick(t.ColumnCount());
            Change("sort by " + std::to_string(col), [&](RecordTable& table) {
                table.SortByColumn(col, Chance(50), s_.DecimalSeparator());
                return true;
            });
            break;
        }
        case 6:
            Change("add DEX", [&](RecordTable&) {
                ImportDex(s_, dex_, ImportMode::Add, ui_);
                return true;
            });
            break;
        case 7:
            CompareAndTake();
            break;
        case 8:
            TakeRealWorldValues();
            break;
        case 9:
        case 10:
            Log(Chance(60) ? (s_.UndoStep() ? "undo" : "undo (none)")
                           : (s_.RedoStep() ? "redo" : "redo (none)"));
            break;
        case 11: { // open for direct write: the mode, then the archive
            const bool was = s_.Mode == EditMode::DirectWrite;
            s_.EnterDirectWrite();
            if (!was) base_ = Take(s_.Table); // the steps went with the mode
            Log("enter direct write");
            if (Chance(80)) Reload();
            break;
        }
        case 12: {
            if (s_.Mode != EditMode::DirectWrite) break;
            const bool tracked = s_.TracksUnwritten();
            const bool left = s_.LeaveDirectWrite(ui_);
            Log(left ? "leave direct write" : "leave direct write (cancelled)");
            if (left && tracked) saved_ = Take(LoadAside()->Table);
            if (left) base_ = Take(s_.Table);
            break;
        }
        case 13:
        case 14:
            if (s_.Mode == EditMode::DirectWrite) {
                WriteRow();
            } else {
                Save();
            }
            break;
        case 16:
            Paste();
            break;
        case 17:
            Replace();
            break;
        case 18: { // a filter on a field, or none
            RowFilter filter;
            if (Chance(70) && Rows() > 0) {
                const int col = AnyField();
                const std::string cell(t.Cell(col, AnyRow()));
                filter.Set(col, Chance(50) ? "=" + cell : cell.substr(0, 2));
            }
            s_.SetFilter(filter);
            Log(filter.Active() ? "filter" : "no filter");
            if (filter.Active())
                EXPECT_EQ(s_.ShownRows(), filter.KeptRows(t, s_.DecimalSeparator())) << Steps();
            else
                EXPECT_EQ(int(s_.ShownRows().size()), Rows()) << Steps();
            break;
        }
        default:
            Reload();
            break;
        }
    }

    // A block of values other rows hold, pasted into the rows shown, now
    // and then past the last one.
    void Paste() {
        PasteTarget target;
        target.viewRows = s_.ShownRows();
        if (target.viewRows.empty()) return Log("paste (no row shown)");
        target.anchorRow = Pick(int(target.viewRows.size()) + 1) - (Chance(70) ? 1 : 0);
        target.anchorRow = std::max(target.anchorRow, 0);
        target.anchorColumn = Chance(10) ? kColExport : AnyField();
        TextBlock block(std::size_t(1 + Pick(4)));
        for (auto& row : block)
            for (int c = 0, n = 1 + Pick(3); c < n; ++c) {
                const int col = std::min(target.anchorColumn + c, s_.Table.ColumnCount() - 1);
                row.push_back(Cp1252ToUtf8(s_.Table.Cell(col, AnyRow())));
            }
        const CellPlan plan = PlanPaste(s_, block, target);
        if (!plan.refused.empty()) return Log("paste (refused cells)");
        Change("paste " + std::to_string(block.size()) + " rows at " +
                   std::to_string(target.anchorRow) + " (+" + std::to_string(plan.rowsToAppend) +
                   ")",
               [&](RecordTable&) {
                   ApplyCellPlan(s_, {txt::StepTyping, 0, {}}, plan);
                   return true;
               });
    }

    // One field's value replaced by another row's, in every row.
    void Replace() {
        if (Rows() == 0) return;
        const int col = AnyField();
        const std::string from(s_.Table.Cell(col, AnyRow())), to(s_.Table.Cell(col, AnyRow()));
        if (from.empty()) return;
        const CellReplacer rule({from, to, false, true, true});
        const CellPlan plan = PlanReplace(s_, rule, {}, {col});
        Change("replace in col " + std::to_string(col), [&](RecordTable&) {
            ApplyCellPlan(s_, {txt::StepTyping, 0, {}}, plan);
            return true;
        });
    }

    // Save: to the DBD saved to before, else where the user says (a table
    // out of an archive has no DBD of its own to go back to).
    bool Save() {
        const std::string target = s_.SaveTarget().empty()
                                       ? dir_.File(Chance(50) ? "saved.dbd" : "other.dbd")
                                       : s_.SaveTarget();
        try {
            SaveDbd(s_, target, false, ui_);
        } catch (const OrvaneError&) { // a cell that does not convert
            Log("save DBD (refused)");
            return false;
        }
        const std::string before = s_.SaveTarget(), named = s_.DocumentName();
        s_.SavedAs(target);
        saved_ = Take(s_.Table);
        Log("save DBD to " + FileNameOf(target));
        if (s_.Mode == EditMode::DirectWrite) { // a copy: the archive stays the file edited
            EXPECT_EQ(s_.SaveTarget(), before) << Steps();
            EXPECT_EQ(s_.DocumentName(), named) << Steps();
            return true;
        }
        EXPECT_EQ(s_.SaveTarget(), target) << Steps();
        EXPECT_EQ(s_.DocumentName(), FileNameOf(target)) << Steps();
        EXPECT_EQ(s_.StatusText().rfind("File " + FileNameOf(target) + " - ", 0), 0u)
            << s_.StatusText() << "\n"
            << Steps();
        return true;
    }

    // Another load: unsaved changes are saved, discarded or kept, as answered.
    void Reload() {
        const bool asked = s_.Unwritten.empty() && !s_.Undo.IsClean(s_.Table);
        const SaveChoice choice = std::array{SaveChoice::Save, SaveChoice::Discard,
                                             SaveChoice::Cancel}[std::size_t(Pick(3))];
        ui_.saveChoices = {choice};
        bool saved = false;
        const bool replaced = s_.MayReplaceTable(ui_, [&] { return saved = Save(); });
        if (asked) {
            EXPECT_EQ(replaced, choice == SaveChoice::Discard || saved) << Steps();
            if (choice == SaveChoice::Save && saved) {
                EXPECT_FALSE(s_.HasUnsavedChanges()) << Steps();
            }
        }
        if (!replaced) {
            Log("load (kept the table)");
            return;
        }
        Load();
        Log("load");
        EXPECT_EQ(s_.SaveTarget(), "") << "Save would write over the archive\n" << Steps();
        EXPECT_EQ(s_.WindowTitle().rfind(type_ + ".POD \xE2\x96\xB8 DATABASE\\", 0), 0u)
            << s_.WindowTitle() << "\n"
            << Steps();
    }

    void WriteRow() {
        const int row = AnyRow();
        try {
            if (s_.WriteRow(row, ui_)) written_.insert(row);
            Log("write row " + std::to_string(row));
        } catch (const OrvaneError& e) { // no record, or a cell that does not convert
            Log("write row " + std::to_string(row) + " (refused: " + e.In(Lang::English) + ")");
        }
    }

    // The other file: the archive as shipped with a few values changed and
    // a row gone, so that every kind of difference comes up.
    void CompareAndTake() {
        SessionState& other = *pristine_;
        RecordTable copy;
        copy.SetColumnCount(other.Table.ColumnCount());
        copy.SetRowCount(other.Table.RowCount());
        for (int r = 0; r < other.Table.RowCount(); ++r)
            for (int c = 0; c < other.Table.ColumnCount(); ++c)
                copy.SetCell(c, r, other.Table.Cell(c, r));
        for (int i = 0; i < 3 && copy.RowCount() > 2; ++i)
            copy.SetCell(AnyField(), 1 + Pick(copy.RowCount() - 1), "7");
        if (Chance(50) && copy.RowCount() > 2) copy.RemoveRow(1 + Pick(copy.RowCount() - 1));
        const CompareRule rule = s_.CompareRuleFor(DefaultKeyColumn(s_.Table));
        const TableDifference diff = CompareTables(s_.Table, copy, rule);
        const std::vector<DifferenceEntry> list = ListDifferences(diff);
        std::vector<MergeTake> takes;
        for (std::size_t e = 0; e < list.size(); ++e)
            if (Chance(30)) takes.push_back({e, -1});
        if (takes.empty()) return Log("compare (nothing taken)");
        Change("take the other (" + std::to_string(takes.size()) + ")", [&](RecordTable& table) {
            TakeOtherSide(table, copy, diff, list, takes);
            return true;
        });
    }

    void TakeRealWorldValues() {
        std::vector<ReconcileFinding> findings;
        try {
            findings = Reconcile(s_.Table, s_.Fields(), type_, real_, {});
        } catch (const RefusedError&) {
            return Log("real world (no counterpart)");
        }
        std::vector<std::pair<int, int>> choices;
        for (std::size_t f = 0; f < findings.size(); ++f)
            if (Chance(50)) choices.emplace_back(int(f), -1);
        Change("take real world (" + std::to_string(choices.size()) + ")", [&](RecordTable& table) {
            TakeRealWorld(table, findings, choices);
            return true;
        });
    }

    // The rules, after every step.
    void Check() {
        const RecordTable& t = s_.Table;
        // The rows shown are rows of the table, in order, each once.
        const std::vector<int> shown = s_.ShownRows();
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_TRUE(shown[i] >= 1 && shown[i] < t.RowCount()) << Steps();
            if (i) {
                ASSERT_LT(shown[i - 1], shown[i]) << Steps();
            }
        }
        EXPECT_EQ(t.SelectedCount, t.CountSelected()) << Steps();
        EXPECT_EQ(t.DeleteCount, t.CountDeleted()) << Steps();
        const std::string count = std::to_string(Rows()) + (Rows() == 1 ? " record " : " records ");
        EXPECT_NE(s_.StatusText().find(count), std::string::npos) << s_.StatusText() << "\n"
                                                                  << Steps();
        if (s_.TracksUnwritten()) {
            CheckAgainstArchive();
        } else if (Take(t) != saved_) {
            EXPECT_TRUE(s_.HasUnsavedChanges()) << "changed, yet no unsaved mark\n" << Steps();
        }
        CheckArchiveBytes();
    }

    // Direct write: the rows are the archive's records, and every row that
    // differs from its record is marked unwritten.
    void CheckAgainstArchive() {
        const auto written = LoadAside();
        const RecordTable& t = s_.Table;
        ASSERT_EQ(t.RowCount(), written->Table.RowCount()) << "rows moved\n" << Steps();
        const TableDifference d =
            CompareTables(t, written->Table, s_.CompareRuleFor(kKeyRowNumber));
        std::set<int> differ;
        for (const RowDifference& r : d.changed)
            differ.insert(r.rowA);
        // The marks as the archive's record gives them back ("" is no
        // Export number: such a row cannot be written as it stands).
        for (int r = 1; r < t.RowCount(); ++r)
            for (int c : {kColSuppr, kColExport})
                if (t.Cell(c, r) != written->Table.Cell(c, r)) differ.insert(r);
        for (int r : differ) {
            EXPECT_TRUE(s_.Unwritten.count(r)) << "row " << r << " differs, not marked\n"
                                               << Steps();
            for (const RowDifference& rd : d.changed) {
                if (rd.rowA != r) continue;
                for (const CellDifference& cell : rd.cells)
                    EXPECT_TRUE(s_.MayChangeColumn(cell.column))
                        << "protected field changed: row " << r << " col " << cell.column << "\n"
                        << Steps();
            }
        }
        // And a row marked differs: nothing is left to write once it is its
        // record again.
        for (int r : s_.Unwritten)
            EXPECT_TRUE(differ.count(r)) << "row " << r << " marked, not different\n" << Steps();
        EXPECT_EQ(s_.HasUnsavedChanges(), !differ.empty()) << Steps();
    }

    // The archive differs from the shipped one only inside records written,
    // in their marks and the fields the in-place write covers.
    void CheckArchiveBytes() {
        const std::string now = ReadAll(archive_);
        ASSERT_EQ(now.size(), original_.size()) << Steps();
        if (now == original_) return;
        const auto& fields = pristine_->Fields();
        ArchiveFile& pod = *pristine_->CurrentPod;
        const std::int64_t entry = pod.ReadDbdHeader("DATABASE\\" + type_ + ".DBD");
        const int size = pod.Dbd.RecordSize();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] == original_[i]) continue;
            const std::int64_t into = std::int64_t(i) - entry - 56;
            ASSERT_GE(into, 0) << "byte " << i << " outside the records\n" << Steps();
            const int row = int(into / size) + 1, at = int(into % size);
            ASSERT_TRUE(written_.count(row)) << "record " << row << " never written\n" << Steps();
            bool covered = at == 0 || at == 2;
            for (const FieldDef& f : fields)
                covered = covered || (!IsProtectedField(f) && f.IsConverted() && at >= f.Offset &&
                                      at < f.Offset + f.ByteWidth());
            ASSERT_TRUE(covered) << "record " << row << " byte " << at << "\n" << Steps();
        }
    }

    std::mt19937 rng_;
    std::string type_;
    const RealWorldData& real_;
    TempDir dir_;
    std::string archive_, dex_, original_;
    SessionState s_;
    ScriptedInteraction ui_;
    std::unique_ptr<SessionState> pristine_;
    Snapshot saved_; // the table as last loaded, saved or left written
    Snapshot base_;  // the table where the history starts
    std::set<int> written_;
    std::vector<std::string> steps_;
};

// What Save writes to and what the title names, by where the table came from
// and where it was saved.
TEST(SessionFile, SaveTargetAndTitleFollowTheSourceAndTheLastSave) {
    struct Row {
        TableSource source;
        std::string savedTo, target, title;
    };
    const std::string dash = " \xE2\x80\x94 Orvane", entry = "DATABASE\\AIRPORT.DBD";
    const Row rows[] = {
        {{}, "", "", ""}, // before any load: the program's caption
        {{SourceKind::Dbd, "/w/AIRPORT.dbd", {}}, "", "/w/AIRPORT.dbd", "AIRPORT.dbd[*]" + dash},
        // Save never writes over an archive, a DEX or a CSV file: it asks.
        {{SourceKind::Archive, "/s/AIRPORT.POD", entry},
         "",
         "",
         "AIRPORT.POD \xE2\x96\xB8 DATABASE\\AIRPORT.DBD[*]" + dash},
        {{SourceKind::Dex, "/w/OLD.dex", {}}, "", "", "OLD.dex[*]" + dash},
        {{SourceKind::Csv, "/w/x.csv", {}}, "", "", "x.csv[*]" + dash},
        // Once saved, Save goes back there, and the title names that file.
        {{SourceKind::Archive, "/s/AIRPORT.POD", entry},
         "/w/NEW.dbd",
         "/w/NEW.dbd",
         "NEW.dbd[*]" + dash},
        {{SourceKind::Dbd, "/w/AIRPORT.dbd", {}},
         "/w/COPY.dbd",
         "/w/COPY.dbd",
         "COPY.dbd[*]" + dash},
    };
    for (const Row& row : rows) {
        SessionState s;
        s.SavedTo = "/w/before.dbd"; // a load forgets where the table before went
        s.CameFrom(row.source);
        EXPECT_EQ(s.SavedTo, "") << row.title;
        s.SavedTo = row.savedTo;
        EXPECT_EQ(s.SaveTarget(), row.target) << row.title;
        EXPECT_EQ(s.WindowTitle(), row.title);
    }
}

int SeedCount() {
    const char* env = std::getenv("ORVANE_SESSION_SEEDS");
    const int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : 24;
}

TEST_F(SessionRules, RandomSequencesKeepEveryRule) {
    const char* types[] = {"NAVAID", "AIRPORT", "RUNWAY", "COMM", "ILS"};
    const int seeds = SeedCount();
    for (int seed = 1; seed <= seeds && !HasFailure(); ++seed) {
        const std::string type = types[seed % 5];
        SCOPED_TRACE("seed " + std::to_string(seed) + " " + type);
        RandomSession session(unsigned(seed), type, *demo_, *real_);
        session.Run(60);
    }
}

} // namespace
} // namespace orvane
