// The main window's pages ("PageControl"): the records (the grid with the
// check's findings beside it), the template's definitions and the map.
#pragma once

#include <QTabWidget>

namespace orvane {

class Captions;
class CheckPanel;
class DefinitionsPage;
class FilterBar;
class MapWidget;
class RecordGridModel;
class RecordGridView;
struct SessionState;

class RecordPages : public QTabWidget {
    Q_OBJECT
  public:
    RecordPages(SessionState& session, RecordGridModel* model, Captions& captions, QWidget* parent);
    RecordGridView* Grid() const { return grid_; }
    FilterBar* Filter() const { return filter_; }
    DefinitionsPage* Definitions() const { return definitions_; }
    CheckPanel* Check() const { return check_; }
    MapWidget* Map() const { return map_; }
    void ShowRecords() { setCurrentWidget(records_); }
    void ShowDefinitions() { setCurrentWidget(definitionsPage_); }

  private:
    QWidget* records_;
    QWidget* definitionsPage_;
    RecordGridView* grid_;
    FilterBar* filter_;
    DefinitionsPage* definitions_;
    CheckPanel* check_;
    MapWidget* map_;
};

} // namespace orvane
