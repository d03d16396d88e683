#include "ui/qt/Captions.h"

#include <QComboBox>
#include <QWidget>

#include "ui/qt/QtText.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include <set>
#include <vector>

namespace orvane {

namespace {
constexpr const char* kLetter = "orvaneMnemonic";

// Text with its '&' doubled, and a mnemonic mark before position at (-1: none).
QString WithMark(const QString& plain, qsizetype at) {
    QString out;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (i == at) out += QLatin1Char('&');
        out += plain[i];
        if (plain[i] == QLatin1Char('&')) out += QLatin1Char('&');
    }
    return out;
}
} // namespace

void Captions::Bind(QObject* target, BiText text, std::function<void(const QString&)> set) {
    bindings_.push_back({target, text, std::move(set)});
    bindings_.back().set(Q(text.fr));
}

void Captions::Title(QWidget* window, BiText text, const char* prefix) {
    const QString before = QString::fromUtf8(prefix);
    Bind(window, text, [window, before](const QString& t) { window->setWindowTitle(before + t); });
}
void Captions::Title(QMenu* menu, BiText text) {
    Bind(menu, text, [menu](const QString& t) { menu->setTitle(t); });
}
void Captions::Title(QGroupBox* box, BiText text) {
    Bind(box, text, [box](const QString& t) { box->setTitle(t); });
}
void Captions::Text(QAction* action, BiText text) {
    Bind(action, text, [action](const QString& t) { action->setText(t); });
}
void Captions::Text(QAbstractButton* button, BiText text) {
    Bind(button, text, [button](const QString& t) { button->setText(t); });
}
void Captions::Text(QLabel* label, BiText text) {
    Bind(label, text, [label](const QString& t) { label->setText(t); });
}
void Captions::Tab(QTabWidget* tabs, QWidget* page, BiText text) {
    Bind(page, text, [tabs, page](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); });
}
void Captions::ItemText(QComboBox* box, int index, BiText text) {
    Bind(box, text, [box, index](const QString& t) { box->setItemText(index, t); });
}
void Captions::ToolTip(QWidget* widget, BiText text) {
    Bind(widget, text, [widget](const QString& t) { widget->setToolTip(t); });
}
void Captions::Mnemonics(QWidget* menuOrBar) {
    menus_.push_back(menuOrBar);
}

void Captions::Apply(Lang lang, const QObject* window) {
    for (const Binding& b : bindings_) {
        const QObject* o = b.target;
        while (o && o != window)
            o = o->parent();
        if (o) b.set(Q(b.text.In(lang)));
    }
}

void Captions::Apply(Lang lang) {
    for (const Binding& b : bindings_)
        if (b.target) b.set(Q(b.text.In(lang)));
    for (const auto& menu : menus_)
        if (menu) AssignMnemonics(menu);
}

// The first letter of a word not yet taken, else any letter not yet taken.
// Only the letters A to Z count: an accented one ("É") reads as its plain
// twin already underlined elsewhere and has no key of its own on most
// keyboards. An item left without a letter takes one from an item before it
// that can move to a letter still free ("Affichage" gives its A to "Aide").
void Captions::AssignMnemonics(QWidget* container) {
    // Each item's letters, in the order it would take them.
    const auto candidates = [](const QString& plain) {
        std::vector<qsizetype> order;
        for (int pass = 0; pass < 2; ++pass)
            for (qsizetype i = 0; i < plain.size(); ++i) {
                const QChar c = plain[i].toUpper();
                const bool wordStart = i == 0 || !plain[i - 1].isLetterOrNumber();
                if (c >= QLatin1Char('A') && c <= QLatin1Char('Z') && (pass == 1) != wordStart)
                    order.push_back(i);
            }
        return order;
    };
    struct Item {
        QAction* action;
        QString plain;
        std::vector<qsizetype> order;
        qsizetype at = -1;
    };
    std::vector<Item> items;
    for (QAction* a : container->actions())
        if (!a->isSeparator()) {
            const QString plain = Plain(a->text());
            items.push_back({a, plain, candidates(plain)});
        }
    std::set<QChar> taken;
    const auto letter = [](const Item& item, qsizetype at) { return item.plain[at].toUpper(); };
    for (Item& item : items)
        for (qsizetype at : item.order)
            if (!taken.count(letter(item, at))) {
                item.at = at;
                taken.insert(letter(item, at));
                break;
            }
    for (Item& lacking : items) {
        if (lacking.at >= 0) continue;
        for (qsizetype want : lacking.order) {
            for (Item& holder : items) {
                if (lacking.at >= 0) break;
                if (holder.at < 0 || letter(holder, holder.at) != letter(lacking, want)) continue;
                for (qsizetype other : holder.order)
                    if (!taken.count(letter(holder, other))) {
                        holder.at = other;
                        taken.insert(letter(holder, other));
                        lacking.at = want;
                        break;
                    }
            }
            if (lacking.at >= 0) break;
        }
    }
    for (Item& item : items) {
        if (item.at >= 0) item.action->setProperty(kLetter, letter(item, item.at));
        item.action->setText(WithMark(item.plain, item.at));
    }
}

void Captions::SetItemText(QAction* action, const QString& text) const {
    const QVariant letter = action->property(kLetter);
    qsizetype at = -1;
    if (letter.isValid())
        for (qsizetype i = 0; i < text.size() && at < 0; ++i)
            if (text[i].toUpper() == letter.toChar()) at = i;
    action->setText(WithMark(text, at));
}

QString Captions::Plain(QString text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i; // "&x" or "&&"
        out += text[i];
    }
    return out;
}

} // namespace orvane
