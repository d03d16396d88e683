// The desktop's own list of recently used files (the freedesktop.org
// recently-used.xbel that file managers and file dialogs show), through
// GLib's bookmark file, which keeps the format and the other programs'
// entries as they are.
#pragma once

#include <string>

namespace orvane {

// Adds or refreshes the file (UTF-8 path) as used now by this program.
// Quietly does nothing where GLib is missing (Windows builds) or the list
// cannot be written: it is the desktop's convenience, not the editor's work.
void AddToDesktopRecent(const std::string& path);

} // namespace orvane
