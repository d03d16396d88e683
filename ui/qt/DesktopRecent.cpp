#include "ui/qt/DesktopRecent.h"

#ifdef ORVANE_HAVE_GLIB
#include <glib.h>
#include <glib/gstdio.h>
#endif

namespace orvane {

#ifdef ORVANE_HAVE_GLIB

namespace {

// The file types this program declares for its files (data/orvane-mime.xml).
const char* MimeTypeOf(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(g_ascii_tolower(c));
    if (ext == "dbd") return "application/x-fly-dbd";
    if (ext == "pod") return "application/x-fly-pod";
    if (ext == "epd") return "application/x-fly-epd";
    if (ext == "dex") return "application/x-fly-dex";
    if (ext == "csv") return "text/csv";
    return "application/octet-stream";
}

} // namespace

void AddToDesktopRecent(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri) return; // not an absolute path
    gchar* file = g_build_filename(g_get_user_data_dir(), "recently-used.xbel", nullptr);
    GBookmarkFile* list = g_bookmark_file_new();
    // A missing list starts empty; one that does not read is left alone.
    GError* error = nullptr;
    const bool readable = g_bookmark_file_load_from_file(list, file, &error) ||
                          g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    g_clear_error(&error);
    if (readable) {
        g_bookmark_file_set_mime_type(list, uri, MimeTypeOf(path));
        // Registers the program, or counts one more use, with the time now.
        g_bookmark_file_add_application(list, uri, "Orvane", "orvane %u");
        gchar* folder = g_path_get_dirname(file);
        g_mkdir_with_parents(folder, 0700);
        g_free(folder);
        g_bookmark_file_to_file(list, file, nullptr); // written to a temporary file, then renamed
    }
    g_bookmark_file_free(list);
    g_free(file);
    g_free(uri);
}

#else

void AddToDesktopRecent(const std::string&) {}

#endif

} // namespace orvane
