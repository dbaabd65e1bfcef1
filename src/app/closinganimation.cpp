#include "app/closinganimation.h"

#include "ui/pictures.h"

#include <QPainter>
#include <QTimer>

ClosingAnimation::ClosingAnimation(QWidget* parent)
    : QWidget(parent)
    , timer_(new QTimer(this))
{
    setMinimumSize(280, 70);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (++frame_ >= Pictures::closingFrames - 1)
            timer_->stop();
        update();
    });
}

void ClosingAnimation::start(int milliseconds)
{
    frame_ = 0;
    timer_->start(std::max(1, milliseconds / Pictures::closingFrames));
    update();
}

void ClosingAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Pictures::paintClosing(p, rect(), frame_);
}
