#include "database/SessionState.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"

#include <utility>

namespace orvane {

const std::vector<FieldDef>& SessionState::Fields() const {
    static const std::vector<FieldDef> none;
    return CurrentPod ? CurrentPod->Fields : none;
}

namespace {

// Closes an archive being released; a failed close after a write is shown.
// It is told rather than thrown: the load or the quit that released the
// archive has already taken place, and must finish.
void CloseAndReport(TPOD& pod, UserInteraction& ui, Lang lang) {
    try {
        pod.CloseFile();
    } catch (const FileError& e) {
        ui.ShowMessage(MessageKind::Error, e.In(lang));
    }
}

} // namespace

void SessionState::ReplaceArchive(std::unique_ptr<TPOD> pod, UserInteraction& ui) {
    const std::unique_ptr<TPOD> previous = std::exchange(CurrentPod, std::move(pod));
    if (previous) CloseAndReport(*previous, ui, Language_());
}

void SessionState::ReleaseArchive(UserInteraction& ui) {
    if (CurrentPod) CloseAndReport(*CurrentPod, ui, Language_());
}

void SessionState::WriteFlagHeadings() {
    const std::uint64_t before = Table.Revision();
    Table.SetCell(kColNumber, 0, kHeadingNumber);
    Table.SetCell(kColModif, 0, Utf8ToCp1252(txt::HeadingModif.In(Language_())));
    Table.SetCell(kColSuppr, 0, "Suppr");
    Table.SetCell(kColExport, 0, "Export");
    Undo.Adopt(Table, before);
}

void SessionState::FinishLoad() {
    WriteFlagHeadings();
    Undo.Reset(Table);
    RowsAreRecords = true;
}

} // namespace orvane

namespace orvane {

CompareRule SessionState::CompareRuleFor(int keyColumn) const {
    CompareRule rule;
    rule.keyColumn = keyColumn;
    rule.decimalSeparator = DecimalSeparator();
    const auto& fields = Fields();
    rule.kinds.assign(std::size_t(kFirstFieldColumn) + fields.size(), ValueKind::Text);
    for (std::size_t f = 0; f < fields.size(); ++f) {
        ValueKind& kind = rule.kinds[std::size_t(kFirstFieldColumn) + f];
        if (fields[f].Type == 'D')
            kind = ValueKind::Decimal;
        else if (fields[f].Type == 'I' || fields[f].IsByte())
            kind = ValueKind::Whole;
    }
    return rule;
}

} // namespace orvane
