#include "ui/commands/ViewCommands.h"

#include <QAction>

namespace orvane {

CommandTable ViewCommands::Commands() {
    const auto toggle = [this](Which which) { return [this, which] { Toggle(which); }; };
    return {
        {"VoirVerification",
         txt::MenuVoirVerification,
         Place::ViewMenu,
         {},
         When::Always,
         toggle(Check)},
        {"VoirComparaison",
         txt::MenuVoirComparaison,
         Place::ViewMenu,
         {},
         When::TableLoaded,
         toggle(Comparison)},
        {"VoirMondeReel",
         txt::MenuVoirMondeReel,
         Place::ViewMenu,
         {},
         When::TableLoaded,
         toggle(RealWorld)},
        {"VoirCarte", txt::MenuVoirCarte, Place::ViewMenu, {}, When::Always, toggle(Map), true},
    };
}

void ViewCommands::SetItems(const std::array<QAction*, kPanels>& items) {
    items_ = items;
    for (QAction* item : items_)
        item->setCheckable(true);
    ShowMarks();
}

void ViewCommands::ShowMarks() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] && panels_[i].shown) items_[i]->setChecked(panels_[i].shown());
}

// The item's own check mark has flipped already; the panel decides it.
void ViewCommands::Toggle(Which which) {
    Panel& p = panels_[which];
    if (p.shown && p.shown()) {
        if (p.hide) p.hide();
    } else if (p.show) {
        p.show();
    }
    ShowMarks();
}

} // namespace orvane
