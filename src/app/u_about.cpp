#include "app/u_about.h"

#include "ui/pictures.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

Tfrm_about::Tfrm_about(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_about"), QStringLiteral("About us"), parent)
{
    auto* layout = new QVBoxLayout(body());
    auto* head = new QHBoxLayout;
    auto* logo = new QLabel(body());
    logo->setPixmap(Pictures::toolIcon(Pictures::Tool::Court).pixmap(48, 48));
    head->addWidget(logo);
    auto* lines = new QVBoxLayout;
    auto* vendor = new QLabel(QStringLiteral("Vantrell Software"), body());
    QFont big = vendor->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    vendor->setFont(big);
    lines->addWidget(vendor);
    lines->addWidget(new QLabel(QStringLiteral("Desk software for tennis and squash halls"), body()));
    head->addLayout(lines, 1);
    layout->addLayout(head);

    auto* contacts = new QGroupBox(QStringLiteral("Contacts"), body());
    auto* form = new QFormLayout(contacts);
    auto link = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setCursor(Qt::PointingHandCursor);
        label->setStyleSheet(QStringLiteral("color: #1a4fa0; text-decoration: underline;"));
        label->installEventFilter(this);
        return label;
    };
    lbl_email = link("lbl_email", QStringLiteral("info@vantrell-software.com"));
    lbl_homepage = link("lbl_homepage", QStringLiteral("www.vantrell-software.com"));
    form->addRow(QStringLiteral("EMail :"), lbl_email);
    form->addRow(QStringLiteral("Homepage :"), lbl_homepage);
    layout->addWidget(contacts);

    BitBtn1 = addBottomButton(QStringLiteral("BitBtn1"), QStringLiteral("CLOSE"), true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    setFixedDialogSize(sizeHint().expandedTo(QSize(360, 220)));
}

bool Tfrm_about::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lbl_email)
            lbl_emailClick();
        else if (watched == lbl_homepage)
            lbl_homepageClick();
    }
    return DeskWindow::eventFilter(watched, event);
}

void Tfrm_about::lbl_emailClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + lbl_email->text()));
}

void Tfrm_about::lbl_homepageClick()
{
    QDesktopServices::openUrl(QUrl::fromUserInput(lbl_homepage->text()));
}
