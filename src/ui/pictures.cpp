#include "ui/pictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <functional>

namespace Pictures {
namespace {

const QColor lawn(58, 140, 72);
const QColor clay(196, 98, 52);
const QColor ink(40, 52, 70);

// Draws in a 48 x 48 box whatever size the icon is asked for.
class Canvas {
public:
    explicit Canvas(int size)
        : pixmap_(size, size)
    {
        pixmap_.fill(Qt::transparent);
        painter_.begin(&pixmap_);
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.scale(size / 48.0, size / 48.0);
    }
    QPainter& painter() { return painter_; }
    QPixmap finish()
    {
        painter_.end();
        return pixmap_;
    }

private:
    QPixmap pixmap_;
    QPainter painter_;
};

QPen outline(const QColor& c = ink, double width = 2.0)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Court lines in metres: 23.77 long, 10.97 wide (doubles), 8.23 singles, service line 6.40 from the net.
void courtLines(QPainter& p, const QRectF& r, const QColor& surface)
{
    p.save();
    p.fillRect(r, surface);
    const double sx = r.width() / 23.77;
    const double sy = r.height() / 10.97;
    auto x = [&](double m) { return r.left() + m * sx; };
    auto y = [&](double m) { return r.top() + m * sy; };
    QPen white(Qt::white, std::max(1.0, r.height() / 80.0));
    p.setPen(white);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const double single = (10.97 - 8.23) / 2;
    p.drawLine(QPointF(r.left(), y(single)), QPointF(r.right(), y(single)));
    p.drawLine(QPointF(r.left(), y(10.97 - single)), QPointF(r.right(), y(10.97 - single)));
    const double net = 23.77 / 2;
    p.drawLine(QPointF(x(net - 6.40), y(single)), QPointF(x(net - 6.40), y(10.97 - single)));
    p.drawLine(QPointF(x(net + 6.40), y(single)), QPointF(x(net + 6.40), y(10.97 - single)));
    p.drawLine(QPointF(x(net - 6.40), y(10.97 / 2)), QPointF(x(net + 6.40), y(10.97 / 2)));
    QPen netPen(QColor(230, 230, 230), std::max(1.5, r.height() / 45.0));
    p.setPen(netPen);
    p.drawLine(QPointF(x(net), r.top() - r.height() * 0.05), QPointF(x(net), r.bottom() + r.height() * 0.05));
    p.restore();
}

void drawBall(QPainter& p, const QPointF& centre, double radius)
{
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    g.setColorAt(0, QColor(240, 255, 120));
    g.setColorAt(1, QColor(170, 200, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, radius / 4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius * 1.6, centre.y() - radius * 0.8, radius * 1.6, radius * 1.6),
              -60 * 16, 120 * 16);
    p.drawArc(QRectF(centre.x(), centre.y() - radius * 0.8, radius * 1.6, radius * 1.6), 120 * 16, 120 * 16);
}

void paintTool(QPainter& p, Tool tool)
{
    switch (tool) {
    case Tool::Court:
        p.save();
        p.translate(24, 24);
        p.rotate(-8);
        courtLines(p, QRectF(-20, -11, 40, 22), lawn);
        p.restore();
        drawBall(p, QPointF(36, 36), 5);
        break;
    case Tool::Scheduler: {
        p.setPen(outline());
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(5, 8, 38, 34), 4, 4);
        p.setBrush(QColor(200, 50, 50));
        p.drawRoundedRect(QRectF(5, 8, 38, 9), 4, 4);
        p.setPen(Qt::NoPen);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) {
                const bool booked = (r * 5 + c) % 3 == 1;
                p.setBrush(booked ? QColor(220, 60, 60) : QColor(120, 190, 120));
                p.drawRect(QRectF(9 + c * 6.6, 21 + r * 6.6, 5, 5));
            }
        p.setPen(outline(ink, 2.5));
        p.drawLine(QPointF(14, 4), QPointF(14, 11));
        p.drawLine(QPointF(34, 4), QPointF(34, 11));
        break;
    }
    case Tool::DailyAccount: {
        p.setPen(outline());
        p.setBrush(QColor(250, 250, 240));
        QPainterPath receipt;
        receipt.moveTo(9, 4);
        receipt.lineTo(33, 4);
        receipt.lineTo(33, 40);
        for (int i = 0; i < 6; ++i) {
            receipt.lineTo(31 - i * 4, 44 - (i % 2) * 3);
        }
        receipt.lineTo(9, 40);
        receipt.closeSubpath();
        p.drawPath(receipt);
        p.setPen(outline(QColor(120, 120, 120), 1.5));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(13, 11 + i * 6), QPointF(i == 4 ? 22 : 29, 11 + i * 6));
        QRadialGradient coin(QPointF(34, 34), 12);
        coin.setColorAt(0, QColor(255, 230, 110));
        coin.setColorAt(1, QColor(210, 160, 20));
        p.setPen(outline(QColor(150, 100, 0)));
        p.setBrush(coin);
        p.drawEllipse(QPointF(35, 35), 10, 10);
        p.setPen(QPen(QColor(130, 80, 0), 2));
        p.setFont(QFont(QStringLiteral("Sans"), 11, QFont::Bold));
        p.drawText(QRectF(25, 25, 20, 20), Qt::AlignCenter, QStringLiteral("$"));
        break;
    }
    case Tool::AccountsOverview: {
        p.setPen(outline());
        for (int i = 2; i >= 0; --i) {
            p.setBrush(i == 0 ? QColor(250, 250, 240) : QColor(225, 225, 215));
            p.drawRect(QRectF(6 + i * 4, 6 + i * 4, 28, 34));
        }
        p.setPen(outline(QColor(60, 110, 170), 2));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(10, 13 + i * 5.5), QPointF(29, 13 + i * 5.5));
        p.setPen(outline(ink, 3));
        p.setBrush(QColor(200, 225, 250, 160));
        p.drawEllipse(QPointF(33, 31), 7, 7);
        p.drawLine(QPointF(38, 36), QPointF(44, 42));
        break;
    }
    case Tool::Stock: {
        const QColor side(190, 140, 80), top(220, 175, 110), front(170, 120, 65);
        p.setPen(outline(QColor(90, 60, 30)));
        QPolygonF lid{QPointF(6, 16), QPointF(24, 8), QPointF(42, 16), QPointF(24, 24)};
        QPolygonF left{QPointF(6, 16), QPointF(24, 24), QPointF(24, 44), QPointF(6, 36)};
        QPolygonF right{QPointF(24, 24), QPointF(42, 16), QPointF(42, 36), QPointF(24, 44)};
        p.setBrush(top);
        p.drawPolygon(lid);
        p.setBrush(side);
        p.drawPolygon(left);
        p.setBrush(front);
        p.drawPolygon(right);
        p.setPen(outline(QColor(240, 225, 170), 3));
        p.drawLine(QPointF(15, 12), QPointF(33, 20));
        p.drawLine(QPointF(33, 20), QPointF(33, 28));
        break;
    }
    case Tool::Members: {
        auto person = [&p](double x, double y, double s, const QColor& shirt) {
            p.setPen(outline(ink, 1.5));
            p.setBrush(QColor(250, 215, 180));
            p.drawEllipse(QPointF(x, y), 6 * s, 6 * s);
            p.setBrush(shirt);
            QPainterPath body;
            body.moveTo(x - 11 * s, y + 22 * s);
            body.cubicTo(x - 11 * s, y + 8 * s, x + 11 * s, y + 8 * s, x + 11 * s, y + 22 * s);
            body.closeSubpath();
            p.drawPath(body);
        };
        person(33, 14, 0.9, QColor(70, 130, 200));
        person(18, 17, 1.05, QColor(60, 160, 90));
        break;
    }
    case Tool::Parameters: {
        p.save();
        p.translate(20, 22);
        p.setPen(outline(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(160, 170, 185));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.rotate(i * 45);
            p.drawRect(QRectF(-3.5, -16, 7, 8));
            p.restore();
        }
        p.drawEllipse(QPointF(0, 0), 11, 11);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 4, 4);
        p.restore();
        p.setPen(outline(QColor(120, 80, 0), 1.5));
        p.setBrush(QColor(255, 210, 80));
        QPolygonF tag{QPointF(28, 26), QPointF(40, 26), QPointF(45, 35), QPointF(40, 44), QPointF(28, 44)};
        p.drawPolygon(tag);
        p.setPen(QPen(QColor(120, 80, 0), 1));
        p.setFont(QFont(QStringLiteral("Sans"), 9, QFont::Bold));
        p.drawText(QRectF(27, 26, 16, 18), Qt::AlignCenter, QStringLiteral("%"));
        break;
    }
    case Tool::SaveDatas: {
        p.setPen(outline(QColor(30, 40, 80)));
        p.setBrush(QColor(60, 90, 170));
        QPainterPath disk;
        disk.moveTo(6, 6);
        disk.lineTo(36, 6);
        disk.lineTo(42, 12);
        disk.lineTo(42, 42);
        disk.lineTo(6, 42);
        disk.closeSubpath();
        p.drawPath(disk);
        p.setBrush(QColor(210, 215, 225));
        p.drawRect(QRectF(13, 6, 20, 13));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(26, 8, 4, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(11, 25, 26, 17));
        p.setPen(outline(QColor(150, 150, 150), 1.2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(14, 30 + i * 4), QPointF(34, 30 + i * 4));
        break;
    }
    case Tool::Close: {
        p.setPen(outline(QColor(90, 60, 30)));
        p.setBrush(QColor(150, 100, 55));
        p.drawRect(QRectF(10, 5, 22, 38));
        p.setBrush(QColor(90, 60, 30));
        p.drawEllipse(QPointF(27, 25), 1.8, 1.8);
        p.setPen(outline(QColor(200, 40, 40), 4));
        p.drawLine(QPointF(30, 24), QPointF(44, 24));
        p.drawLine(QPointF(38, 17), QPointF(44, 24));
        p.drawLine(QPointF(38, 31), QPointF(44, 24));
        break;
    }
    case Tool::Login: {
        p.setPen(outline(QColor(120, 90, 0), 2));
        p.setBrush(QColor(250, 200, 60));
        p.drawEllipse(QPointF(15, 24), 10, 10);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(13, 24), 3, 3);
        p.setPen(outline(QColor(120, 90, 0), 5));
        p.drawLine(QPointF(25, 24), QPointF(43, 24));
        p.drawLine(QPointF(37, 24), QPointF(37, 31));
        p.drawLine(QPointF(42, 24), QPointF(42, 30));
        break;
    }
    case Tool::Rights: {
        p.setPen(outline());
        p.setBrush(QColor(80, 140, 210));
        QPainterPath shield;
        shield.moveTo(24, 4);
        shield.lineTo(41, 10);
        shield.cubicTo(41, 28, 34, 38, 24, 44);
        shield.cubicTo(14, 38, 7, 28, 7, 10);
        shield.closeSubpath();
        p.drawPath(shield);
        p.setPen(outline(Qt::white, 4));
        p.drawLine(QPointF(16, 24), QPointF(22, 30));
        p.drawLine(QPointF(22, 30), QPointF(33, 17));
        break;
    }
    case Tool::Lights:
    case Tool::LightOff: {
        const bool lit = tool == Tool::Lights;
        QRadialGradient glow(QPointF(24, 19), 16);
        glow.setColorAt(0, lit ? QColor(255, 250, 190) : QColor(235, 235, 240));
        glow.setColorAt(1, lit ? QColor(255, 210, 40) : QColor(150, 150, 160));
        p.setPen(outline(lit ? QColor(150, 110, 0) : QColor(90, 90, 100)));
        p.setBrush(glow);
        QPainterPath bulb;
        bulb.addEllipse(QPointF(24, 18), 13, 13);
        p.drawPath(bulb);
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(18, 31, 12, 10));
        p.setPen(outline(QColor(90, 90, 100), 1.5));
        p.drawLine(QPointF(18, 34.5), QPointF(30, 34.5));
        p.drawLine(QPointF(18, 38), QPointF(30, 38));
        break;
    }
    case Tool::Cardreader: {
        p.setPen(outline());
        p.setBrush(QColor(70, 120, 190));
        p.drawRoundedRect(QRectF(4, 11, 40, 26), 4, 4);
        p.setBrush(QColor(230, 190, 70));
        p.drawRoundedRect(QRectF(9, 17, 11, 9), 2, 2);
        p.setPen(outline(Qt::white, 2));
        p.drawLine(QPointF(9, 31), QPointF(38, 31));
        p.drawLine(QPointF(25, 20), QPointF(38, 20));
        break;
    }
    case Tool::Statistic: {
        p.setPen(outline(ink, 1.5));
        const double heights[] = {14, 26, 20, 34};
        const QColor colours[] = {QColor(80, 140, 210), QColor(230, 120, 50), QColor(90, 170, 90),
                                  QColor(200, 60, 60)};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colours[i]);
            p.drawRect(QRectF(7 + i * 9.5, 42 - heights[i], 7, heights[i]));
        }
        p.drawLine(QPointF(4, 42), QPointF(44, 42));
        break;
    }
    case Tool::Help:
    case Tool::About: {
        p.setPen(outline(QColor(20, 70, 140)));
        p.setBrush(QColor(70, 140, 220));
        p.drawEllipse(QPointF(24, 24), 19, 19);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("Serif"), 22, QFont::Bold));
        p.drawText(QRectF(5, 4, 38, 40), Qt::AlignCenter,
                   tool == Tool::Help ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    }
}

void paintNavigator(QPainter& p, Navigator button)
{
    const QColor blue(40, 80, 160);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    auto triangle = [&p](double tip, bool left) {
        const double d = left ? 14 : -14;
        p.drawPolygon(QPolygonF{QPointF(tip, 24), QPointF(tip + d, 12), QPointF(tip + d, 36)});
    };
    switch (button) {
    case Navigator::First:
        p.drawRect(QRectF(10, 12, 4, 24));
        triangle(15, true);
        break;
    case Navigator::Prior: triangle(16, true); break;
    case Navigator::Next: triangle(32, false); break;
    case Navigator::Last:
        p.drawRect(QRectF(34, 12, 4, 24));
        triangle(33, false);
        break;
    case Navigator::Insert:
        p.drawRect(QRectF(21, 10, 6, 28));
        p.drawRect(QRectF(10, 21, 28, 6));
        break;
    case Navigator::Delete: p.drawRect(QRectF(10, 21, 28, 6)); break;
    case Navigator::Edit:
        p.setBrush(QColor(230, 170, 40));
        p.setPen(outline(ink, 1.5));
        p.drawPolygon(
            QPolygonF{QPointF(12, 36), QPointF(14, 29), QPointF(32, 11), QPointF(37, 16), QPointF(19, 34)});
        break;
    case Navigator::Post:
        p.setPen(outline(QColor(30, 140, 60), 5));
        p.drawLine(QPointF(11, 25), QPointF(20, 34));
        p.drawLine(QPointF(20, 34), QPointF(37, 14));
        break;
    case Navigator::Cancel:
        p.setPen(outline(QColor(190, 40, 40), 5));
        p.drawLine(QPointF(13, 13), QPointF(35, 35));
        p.drawLine(QPointF(35, 13), QPointF(13, 35));
        break;
    case Navigator::Refresh: {
        p.setPen(outline(QColor(30, 140, 60), 4.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(11, 11, 26, 26), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 140, 60));
        p.drawPolygon(QPolygonF{QPointF(27, 4), QPointF(36, 13), QPointF(25, 17)});
        break;
    }
    }
}

// Paints an icon only at the size and in the mode it is shown in, when it is first shown: the
// start-up does not pay for pictures of menus nobody has opened yet.
class PaintedIcon : public QIconEngine {
public:
    explicit PaintedIcon(std::function<void(QPainter&)> paint)
        : paint_(std::move(paint))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        const QString key = QStringLiteral("%1-%2").arg(side).arg(int(mode));
        if (auto it = cache_.constFind(key); it != cache_.constEnd())
            return *it;
        Canvas canvas(side);
        paint_(canvas.painter());
        QPixmap result = canvas.finish();
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        cache_.insert(key, result);
        return result;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    QIconEngine* clone() const override { return new PaintedIcon(paint_); }

private:
    std::function<void(QPainter&)> paint_;
    QHash<QString, QPixmap> cache_;
};

} // namespace

QIcon toolIcon(Tool tool)
{
    return QIcon(new PaintedIcon([tool](QPainter& p) { paintTool(p, tool); }));
}

QIcon navigatorIcon(Navigator button)
{
    return QIcon(new PaintedIcon([button](QPainter& p) { paintNavigator(p, button); }));
}

void paintHall(QPainter& p, const QRect& area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(area);
    // The hall: a roof of light girders over a dark floor.
    QLinearGradient wall(r.topLeft(), r.bottomLeft());
    wall.setColorAt(0, QColor(24, 44, 74));
    wall.setColorAt(0.42, QColor(52, 86, 128));
    wall.setColorAt(0.43, QColor(34, 62, 52));
    wall.setColorAt(1, QColor(18, 40, 30));
    p.fillRect(r, wall);
    p.setPen(QPen(QColor(255, 255, 255, 28), std::max(1.0, r.width() / 500)));
    for (int i = 0; i <= 12; ++i) {
        const double x = r.left() + r.width() * i / 12.0;
        p.drawLine(QPointF(x, r.top()),
                   QPointF(r.center().x() + (x - r.center().x()) * 0.5, r.top() + r.height() * 0.42));
    }
    // Lamps along the roof.
    for (int i = 0; i < 6; ++i) {
        const QPointF c(r.left() + r.width() * (i + 0.5) / 6, r.top() + r.height() * 0.1);
        QRadialGradient light(c, r.width() / 10);
        light.setColorAt(0, QColor(255, 250, 225, 170));
        light.setColorAt(1, QColor(255, 250, 225, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(light);
        p.drawEllipse(c, r.width() / 10, r.width() / 10);
        p.setBrush(QColor(255, 252, 235));
        p.drawRect(QRectF(c.x() - r.width() / 60, c.y() - 2, r.width() / 30, 4));
    }
    // Two courts in perspective: a tennis court of clay and one of green carpet.
    auto court = [&](const QPolygonF& quad, const QColor& surface) {
        const QRectF flat(0, 0, 23.77 * 10, 10.97 * 10);
        const QPolygonF corners{flat.topLeft(), flat.topRight(), flat.bottomRight(), flat.bottomLeft()};
        QTransform t;
        if (!QTransform::quadToQuad(corners, quad, t))
            return;
        p.save();
        p.setTransform(t, true);
        QRectF run = flat.adjusted(-30, -18, 30, 18);
        p.fillRect(run, surface.darker(125));
        courtLines(p, flat, surface);
        p.restore();
    };
    const double h = r.height(), w = r.width();
    const double far = r.top() + h * 0.5, nearY = r.bottom() - h * 0.04;
    // Points in the order far left, near left, near right, far right: the court's length runs
    // from the back wall towards the gallery.
    court(QPolygonF{QPointF(r.left() + w * 0.16, far), QPointF(r.left() - w * 0.02, nearY),
                    QPointF(r.left() + w * 0.45, nearY), QPointF(r.left() + w * 0.44, far)},
          clay);
    court(QPolygonF{QPointF(r.left() + w * 0.56, far), QPointF(r.left() + w * 0.55, nearY),
                    QPointF(r.left() + w * 1.02, nearY), QPointF(r.left() + w * 0.84, far)},
          lawn);
    drawBall(p, QPointF(r.left() + w * 0.62, r.top() + h * 0.63), std::max(4.0, h / 55));
    // The name on the back wall.
    QFont title(QStringLiteral("Sans"));
    title.setPixelSize(int(std::max(14.0, h * 0.11)));
    title.setBold(true);
    title.setLetterSpacing(QFont::PercentageSpacing, 108);
    p.setFont(title);
    const QRectF titleBox(r.left(), r.top() + h * 0.17, w, h * 0.14);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(titleBox.translated(2, 3), Qt::AlignCenter, QStringLiteral("COURTORIA"));
    p.setPen(QColor(250, 250, 245));
    p.drawText(titleBox, Qt::AlignCenter, QStringLiteral("COURTORIA"));
    QFont sub(QStringLiteral("Sans"));
    sub.setPixelSize(int(std::max(9.0, h * 0.035)));
    sub.setLetterSpacing(QFont::PercentageSpacing, 130);
    p.setFont(sub);
    p.setPen(QColor(200, 220, 240));
    p.drawText(QRectF(r.left(), titleBox.bottom(), w, h * 0.06), Qt::AlignCenter,
               QStringLiteral("TENNIS  \u00b7  SQUASH  \u00b7  FRONT DESK"));
    p.restore();
}

QPixmap tennisCourt(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(lawn.darker(130));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r =
        QRectF(pixmap.rect())
            .adjusted(size.width() * 0.08, size.height() * 0.12, -size.width() * 0.08, -size.height() * 0.12);
    courtLines(p, r, lawn);
    return pixmap;
}

QPixmap squashCourt(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(QColor(225, 190, 140));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    p.setPen(QPen(QColor(200, 30, 30), std::max(1.0, h / 40)));
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
    p.drawLine(QPointF(w * 0.45, 0), QPointF(w * 0.45, h));
    p.drawLine(QPointF(w * 0.45, h / 2), QPointF(w, h / 2));
    p.drawRect(QRectF(w * 0.45, 0, w * 0.2, h * 0.25));
    p.drawRect(QRectF(w * 0.45, h * 0.75, w * 0.2, h * 0.25));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(w * 0.25, h * 0.4), h / 18, h / 18);
    return pixmap;
}

void paintClosing(QPainter& p, const QRect& area, int frame)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(area);
    const double s = std::min(r.width() / 280.0, r.height() / 70.0);
    p.translate(r.center().x() - 140 * s, r.center().y() - 35 * s);
    p.scale(s, s);
    // The folder on the left.
    p.setPen(outline(QColor(150, 110, 20), 2));
    p.setBrush(QColor(250, 205, 90));
    p.drawRect(QRectF(10, 22, 56, 40));
    p.drawRect(QRectF(10, 16, 22, 6));
    // The bin on the right.
    p.setBrush(QColor(170, 180, 190));
    p.setPen(outline(QColor(80, 90, 100), 2));
    p.drawPolygon(QPolygonF{QPointF(214, 22), QPointF(262, 22), QPointF(256, 66), QPointF(220, 66)});
    p.drawRect(QRectF(210, 16, 56, 6));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(226 + i * 12, 28), QPointF(226 + i * 11, 60));
    // Three sheets on their way, one after another along an arc.
    for (int sheet = 0; sheet < 3; ++sheet) {
        const int f = (frame + sheet * 8) % closingFrames;
        const double t = f / double(closingFrames - 1);
        const double x = 40 + t * 196;
        const double y = 30 - std::sin(t * M_PI) * 26;
        p.save();
        p.translate(x, y);
        p.rotate(t * 300);
        p.setPen(outline(QColor(110, 110, 110), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(-8, -10, 16, 20));
        p.setPen(QPen(QColor(150, 170, 200), 1));
        for (int l = 0; l < 4; ++l)
            p.drawLine(QPointF(-5, -6 + l * 4), QPointF(5, -6 + l * 4));
        p.restore();
    }
    p.restore();
}

} // namespace Pictures

void HallPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Pictures::paintHall(p, rect());
}
