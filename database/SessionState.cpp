#include "database/SessionState.h"

#include "platform/Errors.h"

#include <utility>

namespace orvane {

const std::vector<FieldDef>& SessionState::Fields() const {
    static const std::vector<FieldDef> none;
    return CurrentPod ? CurrentPod->Fields : none;
}

void SessionState::ReplaceArchive(std::unique_ptr<TPOD> pod, UserInteraction& ui) {
    std::unique_ptr<TPOD> previous = std::exchange(CurrentPod, std::move(pod));
    if (!previous) return;
    try {
        previous->CloseFile();
    } catch (const FileError& e) {
        ui.ShowMessage(MessageKind::Error, e.what());
    }
}

void SessionState::ReleaseArchive(UserInteraction& ui) {
    if (!CurrentPod) return;
    try {
        CurrentPod->CloseFile();
    } catch (const FileError& e) {
        ui.ShowMessage(MessageKind::Error, e.what());
    }
}

} // namespace orvane
