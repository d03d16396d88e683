#include "ui/commands/DirectWriteCommands.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"

namespace orvane {

void DirectWriteCommands::POD_ouvrir_ligneClick(const std::function<void()>& openArchive) {
    const bool wasOn = mode_ == EditMode::DirectWrite;
    if (!EnterDirectWriteMode(c_.session, mode_, c_.ui)) return;
    if (!wasOn) rowsAreRecords_ = false;
    c_.view.ShowMode(ViewOf(mode_));
    if (openArchive) openArchive();
}

void DirectWriteCommands::POD_Enregistrer_ligneClick() {
    SessionState& s = c_.session;
    const int row = s.Table.CurrentRow();
    if (!rowsAreRecords_) throw RefusedError(txt::LoadedBeforeDirectWrite.In(c_.lang()));
    const bool epd =
        s.CurrentPod && s.CurrentPod->IsOpen() && s.CurrentPod->Kind() == ArchiveKind::Epd;
    const DirectWriteOutcome outcome = WriteCurrentRow(s, row, c_.ui);
    const Lang lang = c_.lang();
    if (outcome == DirectWriteOutcome::Written)
        c_.view.ShowNote(
            Format(txt::RowWritten.In(lang), row, FileNameOf(s.CurrentPod->Path()).c_str()));
    else if (epd)
        c_.ui.ShowMessage(MessageKind::Warning, Format(txt::EpdNeverWritten.In(lang), row));
}

void DirectWriteCommands::POD_mode_normalClick() {
    mode_ = EditMode::Normal;
    c_.view.ShowMode(ViewOf(mode_));
}

} // namespace orvane
