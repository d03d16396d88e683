// What every command class works with: the session, the user-interaction
// seam, the grid's model, and the window's display of their results
// (EditorView, the main window's side).
#pragma once

#include "database/DirectWrite.h"
#include "database/SessionState.h"
#include "ui/EditorView.h"
#include "ui/commands/Command.h"
#include "ui/qt/QtProgress.h"

namespace orvane {

class RecordGridModel;

struct CommandContext {
    SessionState& session;
    UserInteraction& ui;
    BusyIndicator* busy;
    RecordGridModel& model;
    EditorView& view;
    // Progress dialogs of long work (none: the work runs without one).
    const ProgressSettings* progress = nullptr;
    Lang lang() const { return session.Language_(); }
};

} // namespace orvane
