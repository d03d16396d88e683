// A session holding a table and a template of chosen fields, for the window
// tests of the record editor and printing, and helpers that act inside a
// modal dialog. Header only: the core tests do not link Qt.
#pragma once

#include "database/SessionState.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::testing {

// Fields "Field 0" .. "Field n-1" of type C and width 8.
// FillSession: a session in a language with `rows` data rows of these fields;
// cell (4 + i, r) holds "v<i>.<r>"; the current row is row 1.
// OnNextDialog: runs `step` on the next modal dialog that opens (inside its
// event loop). PdfPageCount: the page objects of a PDF file.

inline std::vector<FieldDef> PlainFields(int count) {
    std::vector<FieldDef> fields;
    for (int i = 0; i < count; ++i)
        fields.push_back({"f" + std::to_string(i), 0, 8, 'C', "Field " + std::to_string(i)});
    return fields;
}

inline void FillSession(SessionState& session, const std::vector<FieldDef>& fields, int rows,
                        const std::string& language = "francais") {
    session.Language = language;
    session.DataType = "AIRPORT";
    session.CurrentPod = std::make_unique<ArchiveFile>();
    session.CurrentPod->Fields = fields;
    session.FieldCount = int(fields.size());
    RecordTable& t = session.Table;
    t.SetColumnCount(kFirstFieldColumn + int(fields.size()));
    t.SetRowCount(rows + 1);
    for (int i = 0; i < int(fields.size()); ++i)
        t.SetCell(kFirstFieldColumn + i, 0, fields[std::size_t(i)].Title);
    for (int r = 1; r <= rows; ++r) {
        t.SetCell(kColNumber, r, std::to_string(r));
        t.SetCell(kColExport, r, "0");
        for (int i = 0; i < int(fields.size()); ++i)
            t.SetCell(kFirstFieldColumn + i, r, "v" + std::to_string(i) + "." + std::to_string(r));
    }
    t.SetCurrentCell(kFirstFieldColumn, 1);
}

inline void OnNextDialog(std::function<void(QDialog*)> step) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [step, poll] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            d && d->isVisible()) {
            step(d);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

inline int PdfPageCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string pdf = bytes.str();
    static const std::regex page(R"(/Type\s*/Page[^s])");
    return int(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

} // namespace orvane::testing
