// "Compare with OurAirports…": the loaded table beside the real world as
// OurAirports publishes it (a folder of its CSV files). The findings are
// listed in a panel of their own (moves, elevations, names, frequencies,
// runway numbers and lengths, rows the real world lacks, and real-world
// airports and navaids the table lacks), drawn on the map as a line from
// the old to the new place, and shown over the cells as hints. The panel
// counts them per kind, filters them by kind and country, and lists the ones
// a take mends first, the places the table lacks last and collapsed. The
// user takes the real-world value per finding, per field or for every
// finding of a kind, or adds the places the table lacks; each is one
// undoable step, and the check opens when the result holds a finding.
#pragma once

#include "realworld/RealWorldAdd.h"
#include "realworld/Reconcile.h"
#include "ui/commands/Command.h"
#include "ui/commands/CommandContext.h"
#include "ui/grid/FindingsDock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QDockWidget;
class QMainWindow;
class QPushButton;
class QSpinBox;

namespace orvane {

class Captions;
class DifferencePanel;

class ReconcileCommands {
  public:
    ReconcileCommands(CommandContext context, QMainWindow* window, Captions& captions);
    ~ReconcileCommands();
    CommandTable Commands();

    void CompareWithRealWorldClick();
    void ClearClick();
    // The table changed: the findings are worked out again once the change
    // under way is over.
    void Refresh();
    // Another table was loaded: the comparison ends.
    void TableReplaced();
    bool Active() const { return dock_.Active(); }

    // The window's: makes a table cell current (column -1: the current one).
    std::function<void(int row, int column)> GoToCell;
    // The window's: the real-world comparison begins (another comparison ends).
    std::function<void()> Started;
    // The window's: the map's lines from the old to the new places.
    std::function<void(std::vector<std::pair<GeoPoint, GeoPoint>>)> ShowMoves;
    // The window's: ends a cell edit under way, so that the comparison
    // starts from the table as typed.
    std::function<void()> CommitEdit;
    // The window's: runs the panel's buttons as commands (an error shows
    // at their end, as a menu item's does).
    std::function<void(const std::function<void()>&)> RunCommand;
    // The window's: shows the check's findings, after a take or an add
    // whose rows hold one.
    std::function<void()> CheckTable;

    QDockWidget* Dock() const { return dock_.Dock(); }
    DifferencePanel* Panel() const { return dock_.Panel(); }

  private:
    void Run(const std::function<void()>& command);
    void Recompute();
    void Match();
    void Show(int current);
    void ShowFilters();
    void ShowOwnButtons();
    // The findings the panel's choices (entry, column) name, as (finding, column).
    std::vector<std::pair<int, int>>
    OfFindings(const std::vector<std::pair<int, int>>& choices) const;
    // `current`: the panel's entry made current after the relist.
    void Take(const std::vector<std::pair<int, int>>& choices, int current);
    void Keep(const std::vector<std::pair<int, int>>& choices, int current);
    void TakeKind();
    void Add(const std::vector<std::pair<int, int>>& choices, int current);
    void WriteAirportParts(const std::vector<RealWorldAdded>& added, std::int32_t stamp);
    // Whether the check finds anything in these table rows.
    bool CheckFindsIn(const std::set<int>& rows) const;
    std::string KeptKey(const ReconcileFinding& f, int column) const;
    std::string FolderToOffer() const;

    CommandContext c_;
    QSpinBox* threshold_;
    QComboBox* kindFilter_;
    QComboBox* countryFilter_;
    QPushButton* takeKind_;
    QPushButton* add_;
    FindingsDock dock_;

    std::unique_ptr<RealWorldData> real_;
    std::string folderName_; // UTF-8
    std::string lastFolder_; // the folder read last, where the next choice starts
    ReconcileColumns columns_;
    std::vector<ReconcileFinding> findings_; // the kept ones left out
    std::vector<int> shown_; // per panel entry, its finding: the filter's, in review order
    std::optional<ReconcileKind> kind_; // the filters: none, every kind
    std::string country_;               // empty: every country
    std::set<RealDataFile> read_;       // the files of the comparison's folder read
};

} // namespace orvane
