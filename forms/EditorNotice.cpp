#include "forms/EditorNotice.h"

namespace orvane {

void ShowNotice(const EditorNotice& notice, UserInteraction& ui) {
    if (notice.beep) ui.Beep();
    MessageKind kind = MessageKind::Information;
    if (notice.icon == NoticeIcon::Warning) kind = MessageKind::Warning;
    if (notice.icon == NoticeIcon::Error) kind = MessageKind::Error;
    ui.ShowMessage(kind, notice.text, notice.title);
}

} // namespace orvane
