#include "platform/Paths.h"

#include "platform/BinaryFile.h"
#include "platform/Errors.h"
#include "platform/FileTexts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvane {

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {
std::string Utf8Of(const fs::path& p) {
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

// Windows' access() ignores the folder's access rights (c:\Program Files):
// only creating a file tells.
bool FolderIsWritable(const std::string& folder) {
    const fs::path probe = PathFromUtf8(folder + ".orvane-write-probe");
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(h);
    return true;
}
} // namespace
#endif

std::string WithTrailingSeparator(std::string folder) {
#ifdef _WIN32
    // '/' is a separator on Windows too (a folder picked as "C:/Fly/").
    if (!folder.empty() && folder.back() == '/') return folder;
#endif
    if (!folder.empty() && folder.back() != kNativeSeparator) folder += kNativeSeparator;
    return folder;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + kNativeSeparator + name;
}

std::string FolderOf(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string FileNameOf(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ExtensionOf(const std::string& path) {
    std::string name = FileNameOf(path);
    auto pos = name.find_last_of('.');
    return pos == std::string::npos ? std::string() : name.substr(pos);
}

std::string ToUpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string ToLowerAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

std::string ResolvePathCase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(PathFromUtf8(path), ec)) return path;
#ifdef _WIN32
    return path;
#else
    fs::path p(path);
    fs::path built = p.has_root_path() ? p.root_path() : fs::path(".");
    bool relative = !p.has_root_path();
    fs::path result = p.has_root_path() ? p.root_path() : fs::path();
    for (const auto& part : p.relative_path()) {
        if (part.empty()) continue;
        fs::path exact = built / part;
        if (fs::exists(exact, ec)) {
            built = exact;
            result /= part;
            continue;
        }
        bool found = false;
        if (fs::is_directory(built, ec)) {
            for (const auto& entry : fs::directory_iterator(built, ec)) {
                if (EqualsIgnoreCaseAscii(entry.path().filename().string(), part.string())) {
                    built = entry.path();
                    result /= entry.path().filename();
                    found = true;
                    break;
                }
            }
        }
        if (!found) return path;
    }
    (void)relative;
    return result.string();
#endif
}

std::string NativeDefaultFolder(const std::string& windowsFolder) {
#ifdef _WIN32
    return windowsFolder;
#else
    std::string rest = windowsFolder;
    std::string prefix;
    if (rest.size() >= 2 && rest[1] == ':') {
        const char* home = std::getenv("HOME");
        prefix = std::string(home ? home : "") + "/.wine/drive_" +
                 static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        rest = rest.substr(2);
    }
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return prefix + rest;
#endif
}

std::string ProgramFolder() {
#ifdef _WIN32
    std::wstring exe(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) ==
               exe.size() &&
           exe.size() < 32768)
        exe.resize(exe.size() * 2);
    exe.resize(n);
    return WithTrailingSeparator(Utf8Of(fs::path(exe).parent_path()));
#else
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return WithTrailingSeparator(fs::current_path(ec).string());
    return WithTrailingSeparator(exe.parent_path().string());
#endif
}

std::string UserConfigFolder() {
#ifdef _WIN32
    const wchar_t* appData = _wgetenv(L"APPDATA");
    const fs::path base = appData && *appData ? fs::path(appData) : fs::temp_directory_path();
    return WithTrailingSeparator(JoinPath(Utf8Of(base), "Orvane"));
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg)
        base = xdg;
    else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : ".") + "/.config";
    }
    return WithTrailingSeparator(JoinPath(base, "Orvane"));
#endif
}

std::string InstalledDataFolder(const std::string& programFolder) {
    std::error_code ec;
    const fs::path bin = PathFromUtf8(programFolder).lexically_normal().parent_path();
    if (bin.filename() != "bin") return {};
    const fs::path shared = bin.parent_path() / "share" / "orvane";
    if (!fs::is_directory(shared, ec)) return {};
#ifdef _WIN32
    return WithTrailingSeparator(Utf8Of(shared));
#else
    return WithTrailingSeparator(shared.string());
#endif
}

std::string ProgramDataFolder() {
    const std::string program = ProgramFolder();
    const std::string installed = InstalledDataFolder(program);
    return installed.empty() ? program : installed;
}

std::string ProgramFilePath(const std::string& fileName) {
    std::string folder = ProgramFolder();
#ifdef _WIN32
    const bool writable = FolderIsWritable(folder);
#else
    const bool writable = access(folder.c_str(), W_OK) == 0;
#endif
    // An installed program never writes into bin/, even with the rights to.
    if (!writable || !InstalledDataFolder(folder).empty()) {
        folder = UserConfigFolder();
        std::error_code ec;
        fs::create_directories(PathFromUtf8(folder), ec);
    }
    return folder + fileName;
}

void CreateFolders(const std::string& folder) {
    if (folder.empty()) return;
    std::error_code ec;
    fs::create_directories(PathFromUtf8(folder), ec);
    std::error_code probe;
    if (ec && !fs::is_directory(PathFromUtf8(folder), probe))
        throw FileError(txt::CannotCreateFolder, folder, ec.message());
}

} // namespace orvane
