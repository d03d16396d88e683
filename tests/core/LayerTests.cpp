// The layers stay as they are: every #include between the project's folders
// points down the layer order, nothing below the windows includes Qt, and
// inside ui/ the dialogs never reach the commands nor the Qt helpers anything
// above them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders each folder may include from (itself included).
const std::map<std::string, std::set<std::string>>& Allowed() {
    static const std::set<std::string> core = {"platform", "settings", "table", "database",
                                               "exchange"};
    static const std::map<std::string, std::set<std::string>> allowed = [] {
        auto with = [](std::set<std::string> s, std::initializer_list<const char*> more) {
            s.insert(more.begin(), more.end());
            return s;
        };
        return std::map<std::string, std::set<std::string>>{
            {"platform", {"platform"}},
            {"settings", {"platform", "settings"}},
            {"table", {"platform", "settings", "table"}},
            {"database", {"platform", "settings", "table", "database"}},
            {"exchange", core},
            // Real-world data reads its files with the formats' helpers; no
            // file format reaches it.
            {"realworld", with(core, {"realworld"})},
            {"demo", with(core, {"realworld", "demo"})},
            {"cli", with(core, {"realworld", "demo", "cli"})},
            // The windows' logic: the table and below, never a window.
            {"forms", {"platform", "settings", "table", "forms"}},
            {"ui", with(core, {"realworld", "forms", "ui"})},
            {"app", with(core, {"realworld", "forms", "ui", "app"})},
        };
    }();
    return allowed;
}

bool IsCore(const std::string& folder) {
    return folder != "ui" && folder != "app";
}

// Inside ui/, by the including file's subfolder: a dialog never includes a
// command, the Qt helpers include nothing of ui/ but their own and the
// command row (plain data) that the menu builder reads.
bool UiIncludeAllowed(const std::string& fromSub, const std::string& included) {
    if (fromSub == "dialogs") return included.rfind("ui/commands/", 0) != 0;
    if (fromSub == "qt")
        return included.rfind("ui/", 0) != 0 || included.rfind("ui/qt/", 0) == 0 ||
               included == "ui/commands/Command.h";
    return true;
}

// Files of the windows' folder that stay free of Qt: the command row.
bool IsQtFree(const std::filesystem::path& relative) {
    const std::string name = relative.generic_string();
    return name == "ui/commands/Command.h";
}

TEST(Layers, IncludesPointDownTheLayerOrder) {
    const fs::path root = ORVANE_SOURCE_DIR;
    const std::regex quoted(R"re(^\s*#\s*include\s+"(([^/"]+)/[^"]*)")re");
    const std::regex angled(R"(^\s*#\s*include\s+<(Q[A-Za-z]*)[>/])");
    std::vector<std::string> faults;
    int files = 0;
    for (const auto& [folder, may] : Allowed()) {
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            const fs::path inFolder = fs::relative(entry.path(), root / folder);
            const std::string sub =
                folder == "ui" && std::distance(inFolder.begin(), inFolder.end()) > 1
                    ? inFolder.begin()->string()
                    : "";
            std::ifstream in(entry.path());
            int lineNumber = 0;
            for (std::string line; std::getline(in, line);) {
                ++lineNumber;
                std::smatch m;
                const std::string where = fs::relative(entry.path(), root).string() + ":" +
                                          std::to_string(lineNumber) + ": ";
                if (std::regex_search(line, m, quoted) &&
                    ((Allowed().count(m[2].str()) && !may.count(m[2].str())) ||
                     !UiIncludeAllowed(sub, m[1].str())))
                    faults.push_back(where + line);
                if ((IsCore(folder) || IsQtFree(fs::relative(entry.path(), root))) &&
                    std::regex_search(line, m, angled))
                    faults.push_back(where + line + " (Qt below the windows)");
            }
        }
    }
    EXPECT_GT(files, 50) << "the sources were not found under " << root;
    std::string list;
    for (const auto& f : faults)
        list += f + "\n";
    EXPECT_TRUE(faults.empty()) << "includes against the layer order:\n" << list;
}

} // namespace
