#include "ui/commands/RecentCommands.h"

#include "platform/Errors.h"
#include "ui/commands/ExchangeCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/qt/QtText.h"

#include <QAction>
#include <QMenu>

namespace orvane {

namespace {
// The object names of the list's items: "Recent1" to "Recent10".
const std::vector<std::string>& ItemNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (std::size_t i = 1; i <= kRecentFilesKept; ++i)
            n.push_back("Recent" + std::to_string(i));
        return n;
    }();
    return names;
}
} // namespace

RecentCommands::RecentCommands(CommandContext context, std::string iniPath, FileCommands& files,
                               ExchangeCommands& exchange)
    : c_(context), iniPath_(std::move(iniPath)), files_(files), exchange_(exchange),
      list_(ReadRecentFiles(iniPath_)), reopen_(ReadReopenLast(iniPath_)) {}

CommandTable RecentCommands::Commands() {
    CommandTable rows;
    for (std::size_t i = 0; i < kRecentFilesKept; ++i)
        rows.push_back({ItemNames()[i].c_str(), {}, Place::RecentMenu, {}, When::Always, [this, i] {
                            OpenRecent(i);
                        }});
    rows.push_back({"RouvrirDernier",
                    txt::MenuRouvrirDernier,
                    Place::OptionsMenu,
                    {},
                    When::Always,
                    [this] { ToggleReopenLast(); },
                    true});
    return rows;
}

void RecentCommands::SetItems(std::vector<QAction*> items, QMenu* menu, QAction* reopenItem) {
    items_ = std::move(items);
    menu_ = menu;
    reopenItem_ = reopenItem;
    reopenItem_->setCheckable(true);
    Show();
}

void RecentCommands::Opened(const TableSource& source) {
    if (source.kind == SourceKind::None) return;
    AddRecentFile(list_, source);
    Write();
    Show();
    if (ToDesktop) ToDesktop(source.path);
}

void RecentCommands::OpenRecent(std::size_t index) {
    if (index < list_.size()) Open(list_[index]);
}

bool RecentCommands::Open(const RecentFile& file) {
    if (!RecentFileExists(file)) {
        const RecentFile gone = file; // the list holds it
        c_.ui.ShowMessage(MessageKind::Warning,
                          Format(txt::RecentFileMissing.In(c_.lang()), gone.source.path.c_str()));
        RemoveRecentFile(list_, gone.source);
        Write();
        Show();
        return false;
    }
    if (!c_.view.MayReplaceTable()) return false;
    const TableSource source = file.source;
    switch (source.kind) {
    case SourceKind::Dbd:
        return files_.LoadDbd(source.path);
    case SourceKind::Archive:
        return files_.LoadArchive(source.path);
    case SourceKind::Dex:
    case SourceKind::Csv:
        if (LeaveDirectWrite) LeaveDirectWrite();
        exchange_.Import(source.kind == SourceKind::Dex ? ExchangeFormat::Dex : ExchangeFormat::Csv,
                         source.path, ImportMode::Open);
        return c_.session.Source == source;
    case SourceKind::None:
        break;
    }
    return false;
}

void RecentCommands::ToggleReopenLast() {
    reopen_ = !reopen_;
    WriteReopenLast(iniPath_, reopen_);
    Show();
}

void RecentCommands::ReopenLast() {
    if (!reopen_ || list_.empty()) return;
    const RecentFile last = list_.front();
    if (Open(last) && last.row > 0 && GoToRow) GoToRow(last.row);
}

TableSource RecentCommands::Current() const {
    const SessionState& s = c_.session;
    return s.SavedTo.empty() ? s.Source : TableSource{SourceKind::Dbd, s.SavedTo, {}};
}

void RecentCommands::Closing(int row) {
    if (list_.empty() || list_.front().source != Current()) return;
    list_.front().row = row;
    Write();
}

// The list is a convenience: settings that cannot be written keep it for
// this run only, without a message at every load.
void RecentCommands::Write() {
    try {
        WriteRecentFiles(iniPath_, list_);
    } catch (const OrvaneError&) {
    }
}

void RecentCommands::Show() {
    if (reopenItem_) reopenItem_->setChecked(reopen_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        QAction* item = items_[i];
        item->setVisible(i < list_.size());
        if (i >= list_.size()) continue;
        // "1 AIRPORT.POD ▸ DATABASE\AIRPORT.DBD", the number its key, the path its tip.
        const QString name = Q(SourceName(list_[i].source)).replace('&', "&&");
        item->setText(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(name));
        item->setToolTip(Q(list_[i].source.path));
        item->setStatusTip(Q(list_[i].source.path));
    }
    if (menu_) menu_->menuAction()->setEnabled(!list_.empty());
}

} // namespace orvane
