#include "ui/commands/DirectWriteCommands.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/qt/Captions.h"

#include <string>

namespace orvane {

CommandTable DirectWriteCommands::Commands() {
    return {
        {"POD_ouvrir_ligne",
         Both(txt::MenuPodOuvrirLigne),
         Place::DbdMenu,
         {},
         When::Always,
         [this] { OpenForDirectWrite(OpenArchive); },
         true},
        {"POD_Enregistrer_ligne",
         Both(txt::MenuPodEnregistrerLigne),
         Place::DbdMenu,
         {},
         When::DirectWrite,
         [this] { WriteRowToArchive(); }},
        {"POD_mode_normal",
         Both(txt::MenuPodModeNormal),
         Place::DbdMenu,
         {},
         When::DirectWrite,
         [this] { BackToNormalMode(); }},
    };
}

void DirectWriteCommands::OpenForDirectWrite(const std::function<void()>& openArchive) {
    c_.session.EnterDirectWrite();
    c_.view.ShowMode(EditMode::DirectWrite);
    if (openArchive) openArchive();
}

void DirectWriteCommands::WriteRowToArchive() {
    SessionState& s = c_.session;
    const int row = s.Table.CurrentRow();
    const bool epd =
        s.CurrentPod && s.CurrentPod->IsOpen() && s.CurrentPod->Kind() == ArchiveKind::Epd;
    const Lang lang = c_.lang();
    bool written = false;
    try {
        written = s.WriteRow(row, c_.ui);
    } catch (const ArchiveChangedError& e) {
        // Another program replaced or rewrote the archive: nothing was
        // written; its new contents can be loaded at once.
        const std::string path = s.CurrentPod->Path();
        if (c_.ui.Confirm(e.In(lang) + "\n\n" + txt::ReloadChangedArchive.In(lang)) &&
            ReloadArchive)
            ReloadArchive(path);
        return;
    }
    if (written) {
        c_.view.ShowNote(
            Format(txt::RowWritten.In(lang), row, FileNameOf(s.CurrentPod->Path()).c_str()));
    } else if (epd) {
        c_.ui.ShowMessage(MessageKind::Warning, Format(txt::EpdNeverWritten.In(lang), row));
    }
}

void DirectWriteCommands::BackToNormalMode() {
    if (c_.session.LeaveDirectWrite(c_.ui)) c_.view.ShowMode(EditMode::Normal);
}

void DirectWriteCommands::Leave() {
    c_.session.DropDirectWrite();
    c_.view.ShowMode(EditMode::Normal);
}

} // namespace orvane
