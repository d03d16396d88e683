// The definitions page's grid (Def_grid): row 0 the template summary, rows
// 1.. one template line each. A line is elided only when its column is too
// narrow for it, and then reads in full in its hint.
#pragma once

#include <QTableWidget>

namespace orvane {

struct DefinitionPage;

class DefinitionsPage : public QTableWidget {
    Q_OBJECT
  public:
    explicit DefinitionsPage(QWidget* parent = nullptr);
    void Show(const DefinitionPage& page);

  protected:
    bool viewportEvent(QEvent* event) override;
};

} // namespace orvane
