#include "exchange/ExchangeShared.h"

#include "database/DbdFile.h"
#include "exchange/TableFormats.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace orvane {

ChosenFile ParseChosenFile(const std::string& path, TableFormatId format) {
    ChosenFile c;
    if (!IsFormat(path, format)) return c;
    const std::string name = ToUpperAscii(FileNameOf(path));
    c.accepted = true;
    c.folder = FolderOf(path);
    c.baseName = name.substr(0, name.find(ToUpperAscii(ExtensionOf(name))));
    return c;
}

LoadedTemplate LoadImportTemplate(const SessionState& s, const std::string& dataType,
                                  const std::string& templateSource, UserInteraction& ui) {
    std::string source = templateSource;
    if (source.empty()) {
        source = ArchivePathFor(s, dataType);
        if (source.empty()) throw RefusedError(txt::NoSimulatorVersion);
    }
    LoadedTemplate loaded;
    if (ArchiveKindOf(source) != ArchiveKind::None) {
        loaded.pod = std::make_unique<ArchiveFile>(source, &ui);
        if (!loaded.pod->IsOpen()) throw FileError(txt::CannotOpenArchive, source.c_str());
        loaded.pod->ReadHeader();
        loaded.pod->ReadDirectory();
    } else {
        loaded.pod = std::make_unique<ArchiveFile>();
        loaded.pod->SetInteraction(&ui);
    }
    loaded.found = LoadTemplate(*loaded.pod, source, dataType, ui, &loaded.info);
    // An exchange-file table has no DBD in the archive to write back into.
    loaded.pod->CloseFile();
    return loaded;
}

int TemplateRecordEnd(const std::vector<FieldDef>& fields) {
    std::int64_t end = kMinRecordSize;
    for (const auto& f : fields)
        end = std::max(end, std::int64_t{f.Offset} + std::max(f.Width, f.ByteWidth()));
    return static_cast<int>(std::min<std::int64_t>(end, kMaxRecordSize));
}

ImportRows::ImportRows(RecordTable& session, const std::vector<FieldDef>* fields, int count,
                       Lang lang)
    : session_(session), fields_(fields), count_(count), lang_(lang) {
    try {
        if (fields_) {
            for (int c = 0; c < kFirstFieldColumn; ++c)
                aside_.SetCell(c, 0, session_.Cell(c, 0));
            ApplyColumns(aside_, *fields_);
            aside_.SetRowCount(count + 1);
        } else {
            firstRow_ = session_.RowCount();
            session_.SetRowCount(firstRow_ + count);
        }
    } catch (...) {
        Abandon();
    }
}

void ImportRows::Commit() {
    if (fields_) session_.Replace(std::move(aside_));
}

void ImportRows::Abandon() {
    if (!fields_) session_.SetRowCount(std::min(firstRow_, session_.RowCount()));
    // The rows read so far go first: the message below needs memory too.
    { const RecordTable gone = std::move(aside_); }
    try {
        throw;
    } catch (const std::bad_alloc&) {
        throw OrvaneError(txt::NotEnoughMemory, count_);
    }
}

void FinishImportTable(RecordTable& t, int firstRow) {
    t.SetCurrentCell(kFirstFieldColumn < t.ColumnCount() ? kFirstFieldColumn : 0, firstRow);
    t.SetCell(kColModif, 1, "");
}

void FinishImportCounters(SessionState& s, ImportOutcome& out) {
    const Lang lang = s.Language_();
    RecordTable& t = s.Table;
    t.RecountFlags();
    out.selectLabel = Format(txt::SelectLabel.In(lang, t.SelectedCount), t.SelectedCount);
    out.deleteLabel = Format(txt::DeleteLabel.In(lang, t.DeleteCount), t.DeleteCount);
}

} // namespace orvane
