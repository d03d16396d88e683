#include "ui/dialogs/AboutBox.h"

#include "ui/qt/QtText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

QString AboutText(Lang lang) {
    QString notice = Q(txt::AboutNotice.In(lang));
    notice.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return Q(txt::AboutVersion) + QStringLiteral("\n\n") + notice;
}

TForm_about::TForm_about(Lang lang, QWidget* parent) : QDialog(parent) {
    setObjectName("TForm_about");
    setModal(true);
    captions_.Title(this, txt::AboutCaption);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setReadOnly(true);
    Memo->setPlainText(AboutText(lang));
    QPalette aqua = Memo->palette();
    aqua.setColor(QPalette::Base, QColor(0, 255, 255));
    aqua.setColor(QPalette::Text, Qt::black);
    Memo->setPalette(aqua);
    // Wide enough for the notice's lines, tall enough for all of them.
    const QFontMetrics fm(Memo->font());
    Memo->setFixedSize(fm.averageCharWidth() * 52, fm.lineSpacing() * 10);

    btnFermer = new QPushButton(this);
    btnFermer->setObjectName("btnFermer");
    btnFermer->setDefault(true);
    captions_.Text(btnFermer, txt::DialogClose);
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnFermer);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed frame
    captions_.Apply(lang);
}

} // namespace orvane
