// lookup and write-record: the airport lookup by ICAO code, and the batch
// form of the Fly! II direct write of one record into its POD archive.
#include "cli/CliSupport.h"
#include "database/AirportLookup.h"
#include "database/DbdFile.h"
#include "database/DirectWrite.h"
#include "exchange/TableFormats.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/TableText.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <limits>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kLookupUsage =
    "Usage: orvane-cli lookup ARCHIVE CODE\n"
    "\n"
    "Looks the ICAO code CODE up in the airport index DATABASE\\APRTICAO.DBI of\n"
    "ARCHIVE (the simulator's Airport.POD or Airport.EPD) and prints, on one\n"
    "line, the text that begins the airport's record in DATABASE\\AIRPORT.DBD:\n"
    "the text the editor puts into its search box. Letters a-z of CODE count\n"
    "as upper case; the code must be the index key whole.\n"
    "An unknown code, or an archive without the index or the DBD entry, is an\n"
    "error (status 1).\n";

const char* kWriteRecordUsage =
    "Usage: orvane-cli write-record ARCHIVE ROW FROM [--decimal SEP]\n"
    "\n"
    "Writes row ROW of the table loaded from FROM over record ROW of the DBD\n"
    "entry DATABASE\\<TYPE>.DBD inside the POD archive ARCHIVE (TYPE: the\n"
    "archive's name up to its first dot), as the editor's direct write does:\n"
    "only that record's bytes change; fields whose name holds \"key\", \"ica\",\n"
    "\"lat\", \"lon\" or \"apt\", bytes 1 and 3 and bytes no field covers keep the\n"
    "archive's values; I fields must lie from -2147483648 to 2147483647.\n"
    "  ARCHIVE            a .pod archive (Fly! II); its template is used\n"
    "  ROW                1 ... the DBD entry's record count\n"
    "  FROM               a .dbd, .dex or .csv file of the archive's data type\n"
    "  --decimal SEP      '.' or ',', the decimal separator of D cells\n"
    "                     (default: the locale's; a CSV holds them as written)\n"
    "On any error nothing is written and the status is 1.\n";

// Keeps the messages of a command that fails with them, to print them as one
// error line; warnings of a command that succeeds go to stderr as usual.
class CollectingInteraction : public CliInteraction {
  public:
    void ShowMessage(MessageKind, const std::string& text, const std::string&) override {
        messages.push_back(text);
    }
    std::string Joined() const {
        std::string all;
        for (const auto& m : messages) {
            if (!all.empty()) all += "; ";
            all += m;
        }
        for (char& c : all)
            if (c == '\r' || c == '\n') c = ' ';
        return all;
    }
    std::vector<std::string> messages;
};

int FailWith(const std::string& text) {
    std::cerr << "orvane-cli: error: " << text << '\n';
    return 1;
}

int ParseRow(const std::string& text) {
    int row = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || row < 1)
        throw std::invalid_argument("ROW must be a whole number from 1 on, not '" + text + "'");
    return row;
}

void PrepareSession(SessionState& s, const TableOptions& o) {
    s.Language = "english";
    s.SimulatorVersion = 2;
    s.Display = SystemDisplayContext();
    if (o.decimal) s.Display.decimalSeparator = *o.decimal;
}

} // namespace

int RunLookup(const Args& args) {
    return Guarded([&] {
        std::vector<std::string> positional;
        for (const auto& a : args) {
            if (a == "--help" || a == "-h") {
                std::cout << kLookupUsage;
                return 0;
            }
            if (a.size() > 1 && a[0] == '-' && a[1] == '-')
                throw std::invalid_argument("unknown option " + a);
            positional.push_back(a);
        }
        if (positional.size() != 2)
            throw std::invalid_argument(
                "lookup takes ARCHIVE and CODE (see 'orvane-cli lookup --help')");
        CollectingInteraction ui;
        const auto text = LookupAirport(positional[0], Utf8ToCp1252(positional[1]), ui);
        if (!text) return FailWith(ui.Joined());
        PrintLine(EscapeControls(Cp1252ToUtf8(*text)));
        return OutputWritten("the search text") ? 0 : 1;
    });
}

int RunWriteRecord(const Args& args) {
    return Guarded([&] {
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kWriteRecordUsage;
            return 0;
        }
        if (!o.templateSource.empty() || o.fly1)
            throw std::invalid_argument(
                "write-record takes no --template or --fly1: the template is the archive's, "
                "and the direct write is for Fly! II");
        if (o.positional.size() != 3)
            throw std::invalid_argument(
                "write-record takes ARCHIVE, ROW and FROM (see 'orvane-cli write-record --help')");
        const std::string& archive = o.positional[0];
        const int row = ParseRow(o.positional[1]);
        const std::string& from = o.positional[2];

        if (ArchiveKindOf(archive) != ArchiveKind::Pod)
            throw std::invalid_argument("cannot write into " + archive +
                                        ": the direct write is for .pod archives (Fly! II) only");
        const TableFormat* fromFormat = FormatOfPath(from);
        if (!fromFormat || !fromFormat->read || fromFormat->id == TableFormatId::Archive)
            throw std::invalid_argument("cannot read " + from +
                                        ": FROM must be a .dbd, .dex or .csv file");
        const std::string archiveName = FileNameOf(archive);
        const std::string archiveType = ToUpperAscii(archiveName.substr(0, archiveName.find('.')));

        const std::string fromType = fromFormat->dataTypeOf(from);
        if (!fromType.empty() && fromType != archiveType)
            return FailWith(from + " holds " + Cp1252ToUtf8(fromType) + " data, " + archive +
                            " holds " + Cp1252ToUtf8(archiveType) + " data");

        // FROM is read as the editor opens it, with the archive's template.
        CollectingInteraction ui;
        SessionState source;
        PrepareSession(source, o);
        const TableRead read = fromFormat->read(source, from, archive, ui, nullptr, {});
        if (!read.loaded || !source.CurrentPod)
            return FailWith(ui.messages.empty() ? "no table could be loaded from " + from
                                                : ui.Joined());
        if (source.DataType != archiveType)
            return FailWith(from + " holds " + Cp1252ToUtf8(source.DataType) + " data, " + archive +
                            " holds " + Cp1252ToUtf8(archiveType) + " data");

        // The archive, opened as the editor's archive open does: it stays open
        // in CurrentPod with its DBD header.
        SessionState target;
        PrepareSession(target, o);
        if (!OpenDbdFromArchive(target, archive, "", ui).loaded || !target.CurrentPod)
            return FailWith(ui.messages.empty() ? "no DBD entry could be loaded from " + archive
                                                : ui.Joined());

        // A file whose records have another size has another layout.
        const ArchiveFile& sourcePod = *source.CurrentPod;
        const TableFormatId fromId = fromFormat->id;
        const int fromSize = fromId == TableFormatId::Dbd ? sourcePod.Dbd.RecordSize()
                             : fromId == TableFormatId::Dex && !read.converted
                                 ? sourcePod.Dex.RecordSize()
                                 : 0;
        const int archiveSize = target.CurrentPod->Dbd.RecordSize();
        if (fromSize > 0 && fromSize != archiveSize)
            return FailWith(from + " has records of " + std::to_string(fromSize) + " bytes, the " +
                            archiveType + " entry of " + archive + " records of " +
                            std::to_string(archiveSize) + " bytes");

        target.Table = std::move(source.Table);
        if (WriteCurrentRow(target, row, ui) != DirectWriteOutcome::Written)
            return FailWith(ui.messages.empty() ? "nothing was written into " + archive
                                                : ui.Joined());
        // Warnings of the loads (a value that could not be shown, ...).
        for (const auto& m : ui.messages)
            std::cerr << "orvane-cli: warning: " << m << '\n';
        // The system may report a failed write only when the file is closed.
        target.CurrentPod->CloseFile();
        return 0;
    });
}

} // namespace orvane::cli
