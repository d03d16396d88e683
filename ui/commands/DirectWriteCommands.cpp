#include "ui/commands/DirectWriteCommands.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "ui/Captions.h"
#include "ui/grid/RecordGridModel.h"

#include <string>

namespace orvane {

CommandTable DirectWriteCommands::Commands() {
    return {
        {"POD_ouvrir_ligne",
         Both(txt::MenuPodOuvrirLigne),
         "FichierDBD",
         {},
         When::Always,
         [this] { POD_ouvrir_ligneClick(OpenArchive); },
         true},
        {"POD_Enregistrer_ligne",
         Both(txt::MenuPodEnregistrerLigne),
         "FichierDBD",
         {},
         When::DirectWrite,
         [this] { POD_Enregistrer_ligneClick(); }},
        {"POD_mode_normal",
         Both(txt::MenuPodModeNormal),
         "FichierDBD",
         {},
         When::DirectWrite,
         [this] { POD_mode_normalClick(); }},
    };
}

void DirectWriteCommands::POD_ouvrir_ligneClick(const std::function<void()>& openArchive) {
    const bool wasOn = mode_ == EditMode::DirectWrite;
    EnterDirectWriteMode(c_.session, mode_);
    if (!wasOn) c_.session.RowsAreRecords = false;
    c_.view.ShowMode(mode_);
    UpdateTracking();
    if (openArchive) openArchive();
}

void DirectWriteCommands::POD_Enregistrer_ligneClick() {
    SessionState& s = c_.session;
    const int row = s.Table.CurrentRow();
    if (!s.RowsAreRecords) throw RefusedError(txt::LoadedBeforeDirectWrite);
    const bool epd =
        s.CurrentPod && s.CurrentPod->IsOpen() && s.CurrentPod->Kind() == ArchiveKind::Epd;
    const DirectWriteOutcome outcome = WriteCurrentRow(s, row, c_.ui);
    const Lang lang = c_.lang();
    if (outcome == DirectWriteOutcome::Written) {
        c_.model.MarkWritten(row);
        if (c_.model.UnwrittenRows().empty()) c_.view.MarkSaved();
        c_.view.ShowNote(
            Format(txt::RowWritten.In(lang), row, FileNameOf(s.CurrentPod->Path()).c_str()));
    } else if (epd)
        c_.ui.ShowMessage(MessageKind::Warning, Format(txt::EpdNeverWritten.In(lang), row));
}

void DirectWriteCommands::POD_mode_normalClick() {
    if (MayDropUnwritten()) Leave();
}

void DirectWriteCommands::Leave() {
    mode_ = EditMode::Normal;
    c_.view.ShowMode(mode_);
    UpdateTracking();
}

void DirectWriteCommands::TableLoaded() {
    UpdateTracking();
}

void DirectWriteCommands::UpdateTracking() {
    const SessionState& s = c_.session;
    c_.model.TrackUnwritten(mode_ == EditMode::DirectWrite && s.RowsAreRecords && s.CurrentPod &&
                            s.CurrentPod->IsOpen() && s.CurrentPod->Kind() == ArchiveKind::Pod);
}

bool DirectWriteCommands::MayReplaceTable() {
    if (c_.model.TrackingUnwritten() && !c_.model.UnwrittenRows().empty())
        return MayDropUnwritten();
    return c_.session.Undo.IsClean(c_.session.Table) ||
           c_.ui.Confirm(txt::UnsavedChanges.In(c_.lang()));
}

bool DirectWriteCommands::MayDropUnwritten() {
    const std::set<int>& rows = c_.model.UnwrittenRows();
    if (rows.empty()) return true;
    // The first rows by number; a long list ends with an ellipsis.
    constexpr std::size_t kListed = 10;
    std::string list;
    std::size_t n = 0;
    for (int row : rows) {
        if (n == kListed) {
            list += ", \xE2\x80\xA6"; // an ellipsis
            break;
        }
        list += (n++ ? ", " : "") + std::to_string(row);
    }
    const BiText& question =
        rows.size() == 1 ? txt::UnwrittenRowQuestion : txt::UnwrittenRowsQuestion;
    return c_.ui.Confirm(Format(question.In(c_.lang()), list.c_str()));
}

} // namespace orvane
