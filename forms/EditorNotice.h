// A message box described as data: what an editing check or a dialog command
// wants shown (text, title, icon, beep). The logic decides; the dialog only
// shows it, through the user-interaction seam.
#pragma once

#include "platform/UserInteraction.h"

#include <string>

namespace orvane {

enum class NoticeIcon { None, Information, Warning, Error };

struct EditorNotice {
    std::string text;  // UTF-8, ready to show
    std::string title; // empty: the program's own title
    NoticeIcon icon = NoticeIcon::None;
    bool beep = false; // beep before the box shows

    bool operator==(const EditorNotice&) const = default;
};

// Beeps when asked, then shows the box. The seam has no icon-less box; a plain
// box is shown as information.
void ShowNotice(const EditorNotice& notice, UserInteraction& ui);

} // namespace orvane
