#include "ui/qt/QtUserInteraction.h"
#include "ui/qt/QtText.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpacerItem>
#include <QStringList>

#include <algorithm>

namespace orvane {

namespace {

// Message texts keep the Windows line ends of the catalogue; a label wants "\n".
QString MessageText(const std::string& text) {
    QString t = Q(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

// A dialog answered: the window that was active is active again and the
// widget that had the focus has it again, as a window manager does for the
// window under a closed dialog (not every platform does, and a cell editor
// kept open under a message is typed into next).
class FocusReturn {
  public:
    FocusReturn() : window_(QApplication::activeWindow()), widget_(QApplication::focusWidget()) {}
    ~FocusReturn() {
        QWidget* back = widget_ && widget_->isVisible() ? widget_.data() : window_.data();
        if (!back || !back->isVisible()) return;
        // A dialog opened over that window meanwhile keeps the focus.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != back->window()) return;
        back->activateWindow();
        if (back == widget_) back->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

  private:
    QPointer<QWidget> window_;
    QPointer<QWidget> widget_;
};

int Answer(QDialog& dialog) {
    const FocusReturn focus;
    return dialog.exec();
}

QString Title(const std::string& title) {
    return title.empty() ? QApplication::applicationName() : Q(title);
}

// A Windows folder text the dialog can start in, or empty when it does not
// exist here (the dialog then starts where it likes).
QString StartFolder(const std::string& folder) {
    if (folder.empty()) return {};
    QString f = Q(folder);
    return QDir(f).exists() ? f : QString();
}

} // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(variant)) patterns << variant;
        }
        out << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

void WidenForTitle(QMessageBox& box) {
    // The title bar's icon and its three buttons, with their spacing.
    constexpr int kTitleBarRoom = 140;
    QFont font = box.font();
    font.setBold(true); // title bars often use a bold face
    const int needed = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

QtUserInteraction::QtUserInteraction(QWidget* fallbackParent) : fallback_(fallbackParent) {}
QtUserInteraction::~QtUserInteraction() = default;

QWidget* QtUserInteraction::Parent() const {
    QWidget* active = QApplication::activeModalWidget();
    if (!active) active = QApplication::activeWindow();
    return active ? active : fallback_;
}

void QtUserInteraction::ShowMessage(MessageKind kind, const std::string& text,
                                    const std::string& title) {
    QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                             : kind == MessageKind::Warning ? QMessageBox::Warning
                                                            : QMessageBox::Information;
    QMessageBox box(icon, Title(title), MessageText(text), QMessageBox::Ok, Parent());
    WidenForTitle(box);
    Answer(box);
}

bool QtUserInteraction::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), MessageText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, Parent());
    WidenForTitle(box);
    box.setDefaultButton(QMessageBox::Ok);
    return Answer(box) == QMessageBox::Ok;
}

SaveChoice QtUserInteraction::AskSave(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), MessageText(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Parent());
    WidenForTitle(box);
    box.setDefaultButton(QMessageBox::Save);
    switch (Answer(box)) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void QtUserInteraction::Beep() {
    QApplication::beep();
}

namespace {

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, Q(r.title), StartFolder(r.initialFolder), QtFileFilter(r.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultExtension.empty()) dialog.setDefaultSuffix(Q(r.defaultExtension));
    if (save && !r.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.fileName.empty()) dialog.selectFile(Q(r.fileName));
    if (Answer(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return NativePath(dialog.selectedFiles().first());
}

} // namespace

std::optional<std::string> QtUserInteraction::OpenFile(const FileDialogRequest& request) {
    return RunFileDialog(Parent(), request, false);
}

std::optional<std::string> QtUserInteraction::SaveFile(const FileDialogRequest& request) {
    return RunFileDialog(Parent(), request, true);
}

std::optional<std::string> QtUserInteraction::PickFolder(const std::string& title,
                                                         const std::string& start) {
    QString folder;
    {
        const FocusReturn focus;
        folder = QFileDialog::getExistingDirectory(Parent(), Q(title), StartFolder(start));
    }
    if (folder.isEmpty()) return std::nullopt;
    return NativePath(folder);
}

std::optional<PrinterChoice> QtUserInteraction::ChoosePrinter(const PrinterRequest& request) {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Without a printer on this machine the dialog can only print to a
    // file: propose one where the user works.
    if (QPrinterInfo::availablePrinterNames().isEmpty() && !request.suggestedFile.empty())
        printer_->setOutputFileName(Q(request.suggestedFile));
    QPrintDialog dialog(printer_.get(), Parent());
    // A page range chosen there would not be used: the print range window decides.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (Answer(dialog) != QDialog::Accepted) return std::nullopt;
    PrinterChoice choice;
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        choice.outputFile = NativePath(printer_->outputFileName());
    else
        choice.printerName = printer_->printerName().toStdString();
    choice.copies = printer_->copyCount();
    const QSizeF mm = printer_->pageLayout().pageSize().size(QPageSize::Millimeter);
    choice.paperWidthMm = std::min(mm.width(), mm.height());
    choice.paperHeightMm = std::max(mm.width(), mm.height());
    choice.color = printer_->colorMode() == QPrinter::Color;
    return choice;
}

void QtBusyIndicator::Begin() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
void QtBusyIndicator::End() {
    QApplication::restoreOverrideCursor();
}

} // namespace orvane
