#include "database/TableWriter.h"

#include "platform/Errors.h"

namespace orvane {

const RecordTable& TableToWrite(const SessionState& s) {
    if (!s.CurrentPod) throw RefusedError(txt::NoTableLoaded);
    return s.Table;
}

bool HasRowsToWrite(const RecordTable& t, const TableWrite& w, const EmptyWrite& empty) {
    if (w.selectionOnly) {
        for (int r = 1; r < t.RowCount(); ++r)
            if (IsSelectedForExport(t.Cell(kColExport, r))) return true;
        throw RefusedError(*empty.noSelection);
    }
    return t.RowCount() > 1 || !empty.skipsEmptyTable;
}

} // namespace orvane
