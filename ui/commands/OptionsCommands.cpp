#include "ui/commands/OptionsCommands.h"

#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/Captions.h"
#include "ui/qt/QtText.h"

#include <QAction>
#include <QDialog>

namespace orvane {

std::string OpenFilterFor(int version, Lang lang) {
    if (version == 1) return txt::OpenFilterFly1.In(lang);
    if (version == 2) return txt::OpenFilterFly2.In(lang);
    return txt::OpenFilterAll.In(lang);
}

void OptionsCommands::InitialisationClick() {
    if (init_) init_->exec();
}

void OptionsCommands::LangageClick(QAction* langage) {
    const bool toEnglish = Captions::Plain(langage->text()).contains(QStringLiteral("English"));
    LanguageWrite(iniPath_, toEnglish);
    captions_.SetItemText(langage, Q(toEnglish ? txt::MenuLangage.en : txt::MenuLangage.fr));
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
