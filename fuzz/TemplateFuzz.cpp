// The template parser on any text, then the field list it gives driving the
// record conversions both ways over a patterned record: whatever a template
// holds, its fields stay inside the record.
#include "FuzzSupport.h"

#include "database/RecordConversion.h"
#include "database/Template.h"
#include "platform/Errors.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TemplateInfo info;
    try {
        info = ParseTemplate(text);
    } catch (const OrvaneError&) {
        return 0;
    }
    fuzz::Require(info.Fields.size() == std::size_t(info.FieldCount),
                  "a field count other than the fields parsed");
    for (const FieldDef& f : info.Fields)
        fuzz::Require(f.Offset >= 0 && f.Offset + f.ByteWidth() <= kMaxRecordSize,
                      "a field outside the largest record");
    MakeDefinitionPage("AIRPORT", info, true);

    UnattendedInteraction ui;
    RecordTable table;
    ApplyColumns(table, info.Fields);
    RecordBuffer record{};
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<unsigned char>(i * 37 + 11);
    RecordToCells(record, info.Fields, table, 1, ',', BadDoublePolicy::Warn, &ui);
    try {
        BuildRecord(table, 1, info.Fields, ',', record);
    } catch (const OrvaneError&) {
    }
    return 0;
}
