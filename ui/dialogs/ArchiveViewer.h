// The archive viewer and extractor "Extraction POD": every entry of an EPD or
// POD archive with its folder, size and date; the user marks entries (a
// click on a row, Space, or the "sel" heading for all) and extracts them into
// a folder, flat or recreating their folders. It never changes the archive.
#pragma once

#include "database/SessionState.h"
#include "ui/qt/Captions.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtProgress.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace orvane {

// The entries of one archive: row r shows entry Entry(r); sorting changes
// only that order, so each mark stays with its entry.
class ArchiveEntryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ArchiveEntryModel(Lang lang, QObject* parent = nullptr)
        : QAbstractTableModel(parent), lang_(lang) {}

    void SetArchive(const ArchiveFile& archive, const DisplayContext& display);
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Columns 1-4: by name, folder, size (as numbers), date (as time stamps).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int Entry(int row) const { return order_[std::size_t(row)]; }
    void ToggleMark(int row);
    void MarkAll(bool on);
    // The marked entries, in directory order.
    std::vector<int> Marked() const;

  private:
    struct Row {
        QString name, folder, size, date;
        std::uint32_t bytes = 0;
        std::int32_t stamp = 0;
    };
    Lang lang_;
    std::vector<Row> rows_;   // in directory order
    std::vector<char> marks_; // per entry
    std::vector<int> order_;  // view row -> entry
};

class ArchiveViewer : public QDialog {
    Q_OBJECT
  public:
    ArchiveViewer(SessionState& session, UserInteraction& ui, BusyIndicator* busy,
                  QWidget* parent = nullptr);
    ~ArchiveViewer() override;

    ArchiveEntryModel* Model() const { return model_; }
    ProgressSettings& Progress() { return progress_; }
    // The list's status text (the extraction's result shows over it for a while).
    QString StatusText() const;

    // Every showing starts empty.
    void StartEmpty();
    // "Ouvrir": an archive chosen in the file dialog.
    void ChooseArchive();
    // Opens an archive without the dialog (the work half of ChooseArchive).
    void OpenArchive(const std::string& path);
    // "Extraire": the marked entries into a folder the user picks.
    void ExtractMarked();
    // "Effacer": the list emptied, the archive let go.
    void Clear();
    // A click on a row toggles its mark.
    void ToggleMark(int row);
    // The "sel" heading marks every row, then none; the others sort.
    void HeadingClick(int column);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLayout* BuildToolBar();
    QTableView* BuildEntryList();
    QStatusBar* BuildStatusBar();
    Lang lang() const { return session_.Language_(); }
    std::string SystemFolder() const;

    SessionState& session_;
    UserInteraction& ui_;
    BusyIndicator* busy_;
    CommandBoundary boundary_;
    Captions captions_;
    ProgressSettings progress_;
    ArchiveEntryModel* model_ = nullptr;
    QPushButton* extract_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QCheckBox* keepFolders_ = nullptr;
    QTableView* entries_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    std::unique_ptr<ArchiveFile> pod_;
    bool markAll_ = false;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace orvane
