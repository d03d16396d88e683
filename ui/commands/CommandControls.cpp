#include "ui/commands/CommandControls.h"

#include "ui/Captions.h"
#include "ui/qt/CommandBoundary.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace orvane {

QMenu* CommandControls::AddMenu(const char* name, BiText title) {
    if (menus_.empty()) captions_.Mnemonics(window_->menuBar());
    QMenu* m = window_->menuBar()->addMenu(QString());
    m->setObjectName(name);
    captions_.Title(m, title);
    captions_.Mnemonics(m);
    menus_.push_back(m);
    return m;
}

QMenu* CommandControls::AddSubmenu(const char* parent, const char* name, BiText title) {
    QMenu* in = nullptr;
    for (QMenu* m : menus_)
        if (m->objectName() == parent) in = m;
    QMenu* m = in->addMenu(QString());
    m->setObjectName(name);
    captions_.Title(m, title);
    submenus_.push_back(m);
    return m;
}

void CommandControls::Add(const CommandTable& table) {
    for (const Command& c : table) {
        const std::string place = c.place;
        QObject* control = nullptr;
        if (place.rfind("gb", 0) == 0) { // a group box of the window's
            auto* b = new QPushButton(window_);
            b->setAutoDefault(false);
            captions_.Text(b, c.caption);
            boundary_.Wire(b, c.run);
            control = b;
        } else {
            auto* a = new QAction(window_);
            QMenu* menu = nullptr;
            for (const auto* list : {&menus_, &submenus_})
                for (QMenu* m : *list)
                    if (m->objectName() == c.place) menu = m;
            if (place == Command::kMenuBar) // before the last menu ("Aide")
                window_->menuBar()->insertAction(menus_.back()->menuAction(), a);
            else if (menu) {
                if (c.separatorBefore) menu->addSeparator();
                menu->addAction(a);
            } else
                window_->addAction(a); // a key without an item
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
