// The program-wide state of one run: the settings, the loaded table, its
// archive object and the display parameters.
#pragma once

#include "database/Archive.h"
#include "platform/LocaleInfo.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "table/History.h"
#include "table/RecordTable.h"
#include "table/TableDiff.h"

#include <memory>
#include <string>

namespace orvane {

struct SessionState : SessionSettings {
    std::string OpenFilter; // filter of the dialog that opens a DBD out of an archive
    std::string DataType;   // "AIRPORT", "COMM", "ILS", "NAVAID", "RUNWAY" (8-bit)
    int FieldCount = 0;
    std::unique_ptr<TPOD> CurrentPod; // archive object of the loaded table
    RecordTable Table;                // holds SelectedCount and DeleteCount
    DisplayContext Display;           // decimal separator, time zone, date formats
    History Undo;                     // the steps taken on Table since its load
    // Row n of Table is record n of the file it came from: false once the
    // rows may have moved before the direct-write mode came on.
    bool RowsAreRecords = false;

    Lang Language_() const { return LangOf(Language); }
    char DecimalSeparator() const { return Display.decimalSeparator; }
    // The field list of the loaded template (empty when none).
    const std::vector<FieldDef>& Fields() const;
    // How this table's cells compare with another table's, matched by the
    // given key column: numbers by value, texts by their bytes.
    CompareRule CompareRuleFor(int keyColumn) const;

    // Puts a load's archive object in place of the current one, which is
    // closed. When that close fails after a record was written into the
    // archive, the error is shown through ui: the load itself has succeeded.
    void ReplaceArchive(std::unique_ptr<TPOD> pod, UserInteraction& ui);
    // Closes the archive held open (the program ends), with the same report.
    void ReleaseArchive(UserInteraction& ui);

    // The flag columns' headings in the user's language ("Modif" reads
    // "Change" in English), taken into the history as no step.
    void WriteFlagHeadings();
    // What every load and opened exchange file ends with: the flag
    // headings, a new history in which the table as loaded is the saved
    // state, and rows that are again the records of their file.
    void FinishLoad();
};

} // namespace orvane
