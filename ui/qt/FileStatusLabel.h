// Status panel 0: the summary of the file loaded, whose record count is the
// table's own, kept up to date as rows come and go.
#pragma once

#include <QLabel>

namespace orvane {

class FileStatusLabel : public QLabel {
    Q_OBJECT
  public:
    explicit FileStatusLabel(QWidget* parent);
    // A load's summary: the number before recordsWord is its record count.
    void ShowStatus(const QString& status, const QString& recordsWord, int records);
    void ShowCount(int records);

  private:
    QString before_, after_; // the text around the count
    bool hasCount_ = false;
};

} // namespace orvane
