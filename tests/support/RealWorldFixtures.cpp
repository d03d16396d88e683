#include "support/RealWorldFixtures.h"

#include "database/DbdFile.h"
#include "platform/BinaryFile.h"
#include "platform/Paths.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"

#include <optional>
#include <stdexcept>

namespace orvane::testing {

std::string WriteRealFile(const std::string& folder, RealDataFile file,
                          const std::vector<RealRecord>& records) {
    const std::string path = JoinPath(folder, RealDataFileName(file));
    WriteBytes(path, RealFileText(file, records));
    return path;
}

const RealWorldData* SharedRealData() {
    static const std::optional<RealWorldData> data = []() -> std::optional<RealWorldData> {
        const std::string folder = std::string(ORVANE_SOURCE_DIR) + "/../shared/data/ourairports";
        if (!DirectoryExists(folder)) return std::nullopt;
        return ReadRealWorldData(
            folder, {RealDataFile::Runways, RealDataFile::Navaids, RealDataFile::Frequencies});
    }();
    return data ? &*data : nullptr;
}

SessionState DemoSession(const std::string& demoFolder, const std::string& dataType) {
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    const std::string pod = JoinPath(demoFolder, "fly2/system/" + dataType + ".POD");
    if (!OpenDbdFromArchive(s, pod, "", ui).loaded) throw std::runtime_error("cannot load " + pod);
    return s;
}

RecordTable DemoTable(const std::string& demoFolder, const std::string& dataType) {
    return std::move(DemoSession(demoFolder, dataType).Table);
}

} // namespace orvane::testing
