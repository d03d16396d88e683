// show and convert: load a table as the editor does, print it or save it.
#include "cli/CliSupport.h"
#include "database/DbdFile.h"
#include "database/TableCheck.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "table/TableText.h"

#include <iostream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kShowUsage =
    "Usage: orvane-cli show INPUT [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads INPUT into the record table as the editor does and prints it as\n"
    "tab-separated UTF-8 lines: the heading row, then one line per record. A tab,\n"
    "line feed, carriage return or NUL in a cell is written as \\t, \\n, \\r or \\0.\n"
    "  INPUT              a .dbd file, a .pod/.epd archive whose entry\n"
    "                     DATABASE\\<TYPE>.DBD is loaded (TYPE: the archive's name),\n"
    "                     or a .dex or .csv exchange file (opened as a new table)\n"
    "  --template SOURCE  where DATABASE\\<TYPE>.DBT is read: an archive or a .dbt\n"
    "                     file (default: INPUT when it is an archive; required for\n"
    "                     .dbd, .dex and .csv inputs)\n"
    "  --decimal SEP      '.' or ',', the decimal separator of D cells\n"
    "                     (default: the locale's)\n"
    "  --fly1             Fly! 1 is the current simulator version (default: Fly! 2).\n"
    "                     A Fly! 1 AIRPORT or RUNWAY DEX read under Fly! 2 is\n"
    "                     converted; Fly! 2 data are refused under Fly! 1.\n";

const char* kConvertUsage =
    "Usage: orvane-cli convert INPUT OUTPUT [--template SOURCE] [--selection] [--decimal SEP]\n"
    "                          [--fly1]\n"
    "\n"
    "Loads INPUT as 'show' does and writes OUTPUT as the editor saves or exports it.\n"
    "  OUTPUT             a .dbd file (DBD save), a .dex file (DEX export), a\n"
    "                     .csv file (CSV export; a cell holding ';', a line end or\n"
    "                     NUL, which CSV cannot hold, is an error and nothing is\n"
    "                     written) or a .geojson file (GeoJSON export: one Feature\n"
    "                     per record, a Point or a runway's LineString where its\n"
    "                     latitude and longitude read, null geometry elsewhere;\n"
    "                     every field a property)\n"
    "  --selection        only the rows whose Export cell is \"1\" (the CSV then\n"
    "                     takes the selection form, a \";\" after every field);\n"
    "                     no such row is an error, and no file is written\n"
    "  --template, --decimal, --fly1  as for 'show'\n";

const char* kCheckUsage =
    "Usage: orvane-cli check INPUT [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads INPUT as 'show' does and lists, one line per row and field, what a\n"
    "save would refuse or the simulator would choke on: a number that does not\n"
    "convert for its field, a text longer than its field, a one-byte value\n"
    "outside 0-255, a latitude beyond 90 degrees, a longitude outside -180 to\n"
    "360 degrees, an empty or repeated key (the unique identifier, or the ICAO\n"
    "code of airports). Exits with 1 when something is found, 0 when nothing\n"
    "is, 2 on an error (an unreadable input, output that cannot be written).\n"
    "  --template, --decimal, --fly1  as for 'show'\n";
} // namespace

// Loads INPUT into the session as the editor's open commands do.
void LoadInput(SessionState& s, CliInteraction& ui, const TableOptions& o,
               const std::string& input) {
    s.Language = "english";
    s.SimulatorVersion = o.fly1 ? 1 : 2;
    s.Display = SystemDisplayContext();
    if (o.decimal) s.Display.decimalSeparator = *o.decimal;

    const TableFormat* format = FormatOfPath(input);
    if (!format || !format->read)
        throw std::invalid_argument("cannot read " + input + ": the input must be a " +
                                    ReadableExtensions() + " file");
    if (format->needsTemplate && o.templateSource.empty())
        throw std::invalid_argument("a " + ToLowerAscii(ExtensionOf(input)) +
                                    " input needs --template SOURCE (an archive or a .dbt file)");
    const TableRead read = format->read(s, input, o.templateSource, ui, nullptr, {});
    if (read.converted)
        std::cerr << "orvane-cli: converted the Fly! 1 data of " << input
                  << " into a Fly! 2 table\n";
    // The loads throw their errors; one that loaded nothing without an error
    // (the archive's own warning said why) still fails the command.
    if (!read.loaded) throw FormatError(txt::CliNoTableLoaded, input);
}

int RunShow(const Args& args) {
    return Guarded([&] {
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kShowUsage;
            return 0;
        }
        if (o.positional.size() != 1)
            throw std::invalid_argument(std::string("show takes one INPUT\n") + kShowUsage);
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        WriteTableText(s.Table, PrintBlock);
        s.Table.LeaveRowsToProcessExit(); // the exit frees a large table faster
        return OutputWritten("the table") ? 0 : 1;
    });
}

int RunConvert(const Args& args) {
    return Guarded([&] {
        TableOptions o = ParseTableOptions(args, true);
        if (o.help) {
            std::cout << kConvertUsage;
            return 0;
        }
        if (o.positional.size() != 2)
            throw std::invalid_argument(std::string("convert takes INPUT and OUTPUT\n") +
                                        kConvertUsage);
        const std::string& output = o.positional[1];
        const TableFormat* format = FormatOfPath(output);
        if (!format || !format->write)
            throw std::invalid_argument("cannot write " + output + ": the output must be a " +
                                        WritableExtensions() + " file");
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        const int written = format->write(s, output, o.selection, ui, nullptr, {});
        s.Table.LeaveRowsToProcessExit(); // the exit frees a large table faster
        // An empty selection throws; some formats write no file of a table
        // without rows either.
        if (written == 0 && (o.selection || !format->writesEmptyTable)) {
            std::cerr << "orvane-cli: error: the table holds no record; " << output
                      << " was not written\n";
            return 1;
        }
        return 0;
    });
}

int RunCheck(const Args& args) {
    return Guarded(2, [&] {
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kCheckUsage;
            return 0;
        }
        if (o.positional.size() != 1)
            throw std::invalid_argument(std::string("check takes one INPUT\n") + kCheckUsage);
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        const std::vector<Finding> findings =
            CheckTable(s.Table, s.Fields(), s.DataType, s.DecimalSeparator());
        std::string block;
        for (const Finding& f : findings)
            block += EscapeControls(
                         FindingText(f, s.Table, s.Fields(), s.DecimalSeparator(), Lang::English)) +
                     "\n";
        PrintBlock(block);
        if (!OutputWritten("the findings")) return 2;
        const int rows = s.Table.RowCount() - 1;
        s.Table.LeaveRowsToProcessExit(); // the exit frees a large table faster
        std::cerr << "orvane-cli: " << findings.size()
                  << (findings.size() == 1 ? " finding in " : " findings in ") << rows
                  << (rows == 1 ? " row\n" : " rows\n");
        return findings.empty() ? 0 : 1;
    });
}

} // namespace orvane::cli
