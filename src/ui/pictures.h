#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

class QPainter;
class QRect;

// The program's pictures, drawn rather than loaded: they stay sharp at any size and need no
// image files beside the program.
namespace Pictures {

enum class Tool {
    Court,
    Scheduler,
    DailyAccount,
    AccountsOverview,
    Stock,
    Members,
    Parameters,
    SaveDatas,
    Close,
    Login,
    Rights,
    Lights,
    LightOff, // the same bulb, unlit
    Cardreader,
    Statistic,
    Help,
    About,
};

enum class Navigator { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

QIcon toolIcon(Tool tool);
QIcon navigatorIcon(Navigator button);

// The hall seen from the gallery, for the main window and the loading screen.
void paintHall(QPainter& painter, const QRect& area);
// A tennis or squash court seen from above.
QPixmap tennisCourt(const QSize& size);
QPixmap squashCourt(const QSize& size);

// One frame of the closing animation: sheets flying from a folder into a bin.
inline constexpr int closingFrames = 24;
void paintClosing(QPainter& painter, const QRect& area, int frame);

} // namespace Pictures

// A widget showing the hall, stretched over its area (the main window's Image1, the loading screen).
class HallPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};
