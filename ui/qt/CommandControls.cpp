#include "ui/qt/CommandControls.h"

#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace orvane {

QMenu* CommandControls::AddMenu(const MenuEntry& menu) {
    if (menus_.empty()) captions_.Mnemonics(window_->menuBar());
    QMenu* m = window_->menuBar()->addMenu(QString());
    m->setObjectName(menu.name);
    captions_.Title(m, menu.title);
    captions_.Mnemonics(m);
    menus_[menu.place] = m;
    lastMenu_ = m;
    return m;
}

QMenu* CommandControls::AddSubmenu(Place parent, const MenuEntry& menu) {
    QMenu* m = menus_.at(parent)->addMenu(QString());
    m->setObjectName(menu.name);
    captions_.Title(m, menu.title);
    menus_[menu.place] = m;
    return m;
}

void CommandControls::Add(const CommandTable& table) {
    for (const Command& c : table) {
        QObject* control = nullptr;
        if (IsButton(c.place)) { // the window's layout puts it in its group box
            auto* b = new QPushButton(window_);
            b->setAutoDefault(false);
            captions_.Text(b, c.caption);
            boundary_.Wire(b, c.run);
            control = b;
        } else {
            auto* a = new QAction(window_);
            switch (c.place) {
            case Place::KeyboardOnly: // a key without an item
                window_->addAction(a);
                break;
            case Place::MenuBar: // before the last menu (Help)
                window_->menuBar()->insertAction(lastMenu_->menuAction(), a);
                break;
            default: {
                QMenu* menu = menus_.at(c.place);
                if (c.separatorBefore) menu->addSeparator();
                menu->addAction(a);
            }
            }
            QList<QKeySequence> keys;
            for (const char* k : c.keys)
                keys << QKeySequence(QString::fromLatin1(k), QKeySequence::PortableText);
            a->setShortcuts(keys);
            if (c.caption.fr) captions_.Text(a, c.caption);
            boundary_.Wire(a, c.run);
            control = a;
        }
        control->setObjectName(c.name);
        controls_[c.name] = control;
        rules_.push_back({c.name, c.when});
    }
}

QAction* CommandControls::Item(const std::string& name) const {
    return qobject_cast<QAction*>(controls_.at(name));
}

QPushButton* CommandControls::Button(const std::string& name) const {
    return qobject_cast<QPushButton*>(controls_.at(name));
}

void CommandControls::ShowAvailable(const EditorState& state) const {
    const std::set<std::string> available = AvailableCommands(state, rules_);
    for (const auto& [name, control] : controls_)
        CommandBoundary::SetAvailable(control, available.count(name) > 0);
}

} // namespace orvane
