#include "support/RealWorldFixtures.h"

#include "database/DbdFile.h"
#include "platform/Paths.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"

#include <stdexcept>

namespace orvane::testing {

std::string WriteRealFile(const std::string& folder, RealDataFile file,
                          const std::vector<RealRecord>& records) {
    const std::string path = JoinPath(folder, RealDataFileName(file));
    WriteBytes(path, RealFileText(file, records));
    return path;
}

RecordTable DemoTable(const std::string& demoFolder, const std::string& dataType) {
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    const std::string pod = JoinPath(demoFolder, "fly2/system/" + dataType + ".POD");
    if (!OpenDbdFromArchive(s, pod, "", ui).loaded) throw std::runtime_error("cannot load " + pod);
    return std::move(s.Table);
}

} // namespace orvane::testing
