#include "ui/commands/OptionsCommands.h"

#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtText.h"

#include <QAction>
#include <QDialog>

namespace orvane {

std::string OpenFilterFor(int version, Lang lang) {
    if (version == 1) return txt::OpenFilterFly1.In(lang);
    if (version == 2) return txt::OpenFilterFly2.In(lang);
    return txt::OpenFilterAll.In(lang);
}

void OptionsCommands::OpenDirectories() {
    if (init_) init_->exec();
}

bool OptionsCommands::ReadSettings() {
    if (!StartupRead(c_.session, iniPath_)) {
        c_.session.FirstRunDone = false;
        return false; // French, no version mark, "Fly! version ?", no archive filter
    }
    if (c_.lang() == Lang::English) captions_.Apply(Lang::English);
    c_.view.MarkVersion(c_.session.SimulatorVersion);
    c_.view.ShowVersion(c_.session.SimulatorVersion);
    c_.session.OpenFilter = OpenFilterFor(c_.session.SimulatorVersion, c_.lang());
    return true;
}

void OptionsCommands::FirstRunCheck() {
    if (c_.session.FirstRunDone || inFirstRunCheck_) return;
    inFirstRunCheck_ = true;
    c_.ui.ShowMessage(MessageKind::Warning, txt::FirstRunNotice.In(c_.lang()));
    if (init_) init_->exec();
    inFirstRunCheck_ = false;
    firstRunChecked_ = true;
    if (AfterFirstRun) AfterFirstRun();
}

CommandTable OptionsCommands::Commands() {
    return {
        {"Initialisation",
         txt::MenuInitialisation,
         Place::OptionsMenu,
         {},
         When::Always,
         [this] { OpenDirectories(); }},
        {"Langage",
         txt::MenuLangage,
         Place::OptionsMenu,
         {},
         When::Always,
         [this] { SwitchLanguage(); }},
        {"Fly11",
         Both(txt::MenuFly11),
         Place::OptionsMenu,
         {},
         When::Always,
         [this] { Fly11Click(); },
         true},
        {"Fly21",
         Both(txt::MenuFly21),
         Place::OptionsMenu,
         {},
         When::Always,
         [this] { Fly21Click(); }},
    };
}

void OptionsCommands::SwitchLanguage() {
    const bool toEnglish = Captions::Plain(langage_->text()).contains(QStringLiteral("English"));
    LanguageWrite(iniPath_, toEnglish);
    captions_.SetItemText(langage_, Q(toEnglish ? txt::MenuLangage.en : txt::MenuLangage.fr));
    c_.ui.ShowMessage(MessageKind::Warning, txt::RestartForLanguage);
}

void OptionsCommands::SelectVersion(int version) {
    orvane::SelectVersion(c_.session, version);
    // The open dialog offers this version's archives first.
    c_.session.OpenFilter = OpenFilterFor(version, c_.lang());
    c_.view.ShowVersion(version);
    c_.view.MarkVersion(version);
}

} // namespace orvane
