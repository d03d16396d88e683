#include "ui/qt/FileStatusLabel.h"

#include <QRegularExpression>

#include <algorithm>

namespace orvane {

FileStatusLabel::FileStatusLabel(QWidget* parent) : QLabel(parent) {
    setObjectName("StatusPanel0");
    // 600 pixels, or as wide as its text in the platform's font.
    setMinimumWidth(600);
}

void FileStatusLabel::ShowStatus(const QString& status, const QString& recordsWord, int records) {
    const QRegularExpression count(
        QStringLiteral("\\d+(?= %1)").arg(QRegularExpression::escape(recordsWord)));
    const QRegularExpressionMatch m = count.match(status);
    before_ = m.hasMatch() ? status.left(m.capturedStart()) : status;
    after_ = m.hasMatch() ? status.mid(m.capturedEnd()) : QString();
    hasCount_ = m.hasMatch();
    ShowCount(records);
}

void FileStatusLabel::ShowCount(int records) {
    setText(hasCount_ ? before_ + QString::number(std::max(records, 0)) + after_ : before_);
}

} // namespace orvane
