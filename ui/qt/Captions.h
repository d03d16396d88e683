// The captions of a window: each widget is bound once to its catalogue text,
// and Apply writes every bound text in one language. Menus get keyboard
// mnemonics, chosen per menu so that no two items share a letter.
#pragma once

#include "settings/Texts.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QTabWidget;
class QWidget;

namespace orvane {

// A text that reads the same in both languages.
constexpr BiText Both(const char* text) {
    return {text, text};
}

class Captions {
  public:
    // The place of a window's unsaved mark (Qt shows "*" there while the
    // window is modified, nothing otherwise).
    static constexpr const char* kUnsavedMark = "[*]";
    // prefix: written before the text in both languages (the unsaved mark).
    void Title(QWidget* window, BiText text, const char* prefix = "");
    void Title(QMenu* menu, BiText text);
    void Title(QGroupBox* box, BiText text);
    void Text(QAction* action, BiText text);
    void Text(QAbstractButton* button, BiText text);
    void Text(QLabel* label, BiText text);
    void Tab(QTabWidget* tabs, QWidget* page, BiText text);
    void ItemText(QComboBox* box, int index, BiText text);
    void ToolTip(QWidget* widget, BiText text);
    // The items of this menu or menu bar get mnemonics at each Apply.
    void Mnemonics(QWidget* menuOrBar);

    void Apply(Lang lang);
    // The texts bound to `window` and its children only (a window made
    // after the language was applied); the others keep what they show.
    void Apply(Lang lang, const QObject* window);

    // A menu item's text written at run time (a row number in it): keeps
    // the mnemonic letter Apply gave the item.
    void SetItemText(QAction* action, const QString& text) const;

    // A caption without its mnemonic mark.
    static QString Plain(QString text);

  private:
    struct Binding {
        QPointer<QObject> target;
        BiText text;
        std::function<void(const QString&)> set;
    };
    void Bind(QObject* target, BiText text, std::function<void(const QString&)> set);
    void AssignMnemonics(QWidget* container);

    std::vector<Binding> bindings_;
    std::vector<QPointer<QWidget>> menus_;
};

} // namespace orvane
