// What the DEX and CSV imports share: the chosen file's names, the template
// of a new table, the geometry check and the steps that end every import.
#pragma once

#include "database/SessionState.h"
#include "database/Template.h"
#include "exchange/DexFile.h"
#include "platform/UserInteraction.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

enum class TableFormatId;

struct ChosenFile {
    bool accepted = false; // the file is of the expected format
    std::string folder;    // with its trailing separator ("" when the path has none)
    std::string baseName;  // upper case, up to the first occurrence of the extension
};
ChosenFile ParseChosenFile(const std::string& path, TableFormatId format);

struct LoadedTemplate {
    bool found = false;
    std::unique_ptr<ArchiveFile> pod; // the new table's archive object, its file closed
    TemplateInfo info;
};
// The template of a new table of dataType: from templateSource (an archive
// or a .dbt file) or, when empty, from the data type's archive for the
// current version. found is false when an archive lacks the entry (after the
// archive's own warning for EPD). Throws when the archive cannot be opened.
LoadedTemplate LoadImportTemplate(const SessionState& s, const std::string& dataType,
                                  const std::string& templateSource, UserInteraction& ui);

// The end of the furthest template field (at least 4, at most 512 bytes).
int TemplateRecordEnd(const std::vector<FieldDef>& fields);

// Current cell on column 4 of the first imported row; row 1's "Modif" emptied.
void FinishImportTable(RecordTable& t, int firstRow);

// Where an import's rows go. An open fills a table of the new columns aside,
// which replaces the session's table only at Commit(); an add appends rows to
// the session's table and takes them back at Abandon(). Either way a failed
// import leaves the user's table as it was, and memory running out is a
// clear error.
class ImportRows {
  public:
    // fields: an open's new columns; nullptr for an add.
    ImportRows(RecordTable& session, const std::vector<FieldDef>* fields, int count, Lang lang);
    RecordTable& Table() { return fields_ ? aside_ : session_; }
    int FirstRow() const { return firstRow_; }
    void Commit();
    // From a catch block: undoes, then throws the error again (memory running
    // out as the clear error).
    [[noreturn]] void Abandon();

  private:
    RecordTable& session_;
    const std::vector<FieldDef>* fields_;
    RecordTable aside_;
    int firstRow_ = 1;
    int count_ = 0;
    Lang lang_;
};
// Recounts SelectedCount and DeleteCount, fills the labels and switches the
// selection exports on when rows are selected.
void FinishImportCounters(SessionState& s, ImportOutcome& out);

} // namespace orvane
