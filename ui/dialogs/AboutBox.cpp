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

AboutBox::AboutBox(Lang lang, QWidget* parent) : QDialog(parent) {
    setObjectName("TForm_about");
    setModal(true);
    captions_.Title(this, txt::AboutCaption);

    auto* text = new QPlainTextEdit(this);
    text->setObjectName("Memo");
    text->setReadOnly(true);
    text->setPlainText(AboutText(lang));
    QPalette aqua = text->palette();
    aqua.setColor(QPalette::Base, QColor(0, 255, 255));
    aqua.setColor(QPalette::Text, Qt::black);
    text->setPalette(aqua);
    // Wide enough for the notice's lines, tall enough for all of them.
    const QFontMetrics fm(text->font());
    text->setFixedSize(fm.averageCharWidth() * 52, fm.lineSpacing() * 10);

    auto* close = new QPushButton(this);
    close->setObjectName("btnFermer");
    close->setDefault(true);
    captions_.Text(close, txt::DialogClose);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed frame
    captions_.Apply(lang);
}

} // namespace orvane
