#include "database/TableWriter.h"

#include "platform/Errors.h"

namespace orvane {

const RecordTable& TableToWrite(const SessionState& s) {
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded.In(s.Language_()));
    return s.Table;
}

bool HasRowsToWrite(const RecordTable& t, const TableWrite& w, const EmptyWrite& empty, Lang lang) {
    if (w.selectionOnly) {
        for (int r = 1; r < t.RowCount(); ++r)
            if (IsSelectedForExport(t.Cell(kColExport, r))) return true;
        w.ui.ShowMessage(MessageKind::Error, empty.noSelection->In(lang));
        return false;
    }
    return t.RowCount() > 1 || !empty.skipsEmptyTable;
}

} // namespace orvane
