#include "ui/RecordPages.h"

#include "ui/grid/DefinitionsPage.h"
#include "ui/grid/FilterBar.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/Captions.h"

#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>

namespace orvane {

RecordPages::RecordPages(SessionState& session, RecordGridModel* model, Captions& captions,
                         QWidget* parent)
    : QTabWidget(parent) {
    setObjectName("PageControl");
    records_ = new QWidget;
    records_->setObjectName("vue_globale");
    auto* records = new QVBoxLayout(records_);
    records->setContentsMargins(0, 0, 0, 0);
    grid_ = new RecordGridView(records_);
    grid_->setObjectName("DataGrid");
    grid_->setModel(model);
    filter_ = new FilterBar(grid_, records_); // hidden until asked for
    records->addWidget(filter_);
    auto* split = new QSplitter(Qt::Horizontal, records_);
    split->addWidget(grid_);
    check_ = new CheckPanel(session, model, split);
    check_->setObjectName("Verification");
    split->addWidget(check_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    records->addWidget(split);
    addTab(records_, QString());
    captions.Tab(this, records_, txt::TabVueGlobale);

    definitionsPage_ = new QWidget;
    definitionsPage_->setObjectName("TabSheet2");
    auto* defs = new QHBoxLayout(definitionsPage_);
    defs->setContentsMargins(0, 0, 0, 0);
    definitions_ = new DefinitionsPage(definitionsPage_);
    definitions_->setObjectName("Def_grid");
    defs->addWidget(definitions_); // the whole page: long lines read in full
    addTab(definitionsPage_, QString());
    captions.Tab(this, definitionsPage_, txt::TabDefinitions);

    map_ = new MapWidget(session, model);
    map_->setObjectName("Carte");
    captions.Text(map_->FitAllAction(), txt::MapFitAll);
    captions.Text(map_->CentreAction(), txt::MapCentre);
    captions.Text(map_->ZoomInAction(), txt::MapZoomIn);
    captions.Text(map_->ZoomOutAction(), txt::MapZoomOut);
    addTab(map_, QString());
    captions.Tab(this, map_, txt::TabCarte);
    setCurrentIndex(0);
    // The map's keys work as soon as its page shows.
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (currentWidget() == map_) map_->setFocus(Qt::TabFocusReason);
    });
}

} // namespace orvane
