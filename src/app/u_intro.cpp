#include "app/u_intro.h"

#include "ui/pictures.h"
#include "ui/placement.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

Tfrm_intro::Tfrm_intro(int objects, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frm_intro"));
    setWindowTitle(QStringLiteral("Welcome"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto* picture = new HallPicture(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(460, 240);
    layout->addWidget(picture);
    auto* text = new QLabel(QStringLiteral("Loading application. Wait a moment"), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    pb_loading = new QProgressBar(this);
    pb_loading->setObjectName(QStringLiteral("pb_loading"));
    pb_loading->setRange(0, 1 + objects);
    pb_loading->setValue(0);
    pb_loading->setTextVisible(false);
    pb_loading->setFixedHeight(14);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(12, 0, 12, 0);
    bar->addWidget(pb_loading);
    layout->addLayout(bar);
    setStyleSheet(QStringLiteral("Tfrm_intro { background: #f2f4f6; border: 1px solid #1f3d66; }"));
    adjustSize();
    Placement::centre(this);
}

void Tfrm_intro::step()
{
    pb_loading->setValue(pb_loading->value() + 1);
    pb_loading->repaint();
}
