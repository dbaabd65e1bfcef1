#include "reservations/quartergrid.h"

#include "reservations/quartergridaccessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolTip>

QString Tplatzviertelstunde::name(int court, int quarter)
{
    return QStringLiteral("STUNDENFELD%1%2").arg(court).arg(quarter);
}

Ttagstunde::Ttagstunde(int column, int hour)
    : column_(column)
    , hour_(hour)
{
}

QString Ttagstunde::name() const
{
    return QStringLiteral("FELD%1%2").arg(column_).arg(hour_);
}

QuarterGeometry QuarterGeometry::scheduler()
{
    return QuarterGeometry{};
}

QuarterGeometry QuarterGeometry::reservation()
{
    QuarterGeometry g;
    g.columns = 1;
    g.labelWidth = 136;
    g.cellLeft = 139;
    g.cellPitchX = 305;
    g.cellTop = 1;
    g.cellPitchY = 128;
    g.cellWidth = 305;
    g.cellHeight = 127;
    g.quarterLeft = 3;
    g.quarterPitchX = 24;
    g.groupGap = 3;
    g.quarterTop = 6;
    g.quarterPitchY = 30;
    g.quarterWidth = 21;
    g.quarterHeight = 27;
    g.hourFontPixels = 16;
    g.quarterFontPixels = 12;
    return g;
}

QRect QuarterGeometry::cellRect(int column, int hour) const
{
    return {cellLeft + cellPitchX * (column - 1), cellTop + cellPitchY * (hour - 1), cellWidth, cellHeight};
}

QRect QuarterGeometry::quarterRect(int court, int quarter) const
{
    // One extra gap before each group of three courts: ceil(court / 3) of them.
    return {quarterLeft + quarterPitchX * (court - 1) + groupGap * ((court + 2) / 3),
            quarterTop + quarterPitchY * (quarter - 1), quarterWidth, quarterHeight};
}

QSize QuarterGeometry::size() const
{
    const QRect last = cellRect(columns, 24);
    return {last.right() + 2, last.bottom() + 2};
}

QuarterGrid::QuarterGrid(const QuarterGeometry& geometry, QWidget* parent)
    : QWidget(parent)
    , geometry_(geometry)
{
    cells_.reserve(std::size_t(geometry.columns) * 24);
    for (int column = 1; column <= geometry.columns; ++column)
        for (int hour = 1; hour <= 24; ++hour)
            cells_.emplace_back(column, hour);
    setFixedSize(geometry.size());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    QuarterGridAccessibility::install();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Ttagstunde* QuarterGrid::findCell(const QString& name)
{
    for (Ttagstunde& c : cells_)
        if (c.name() == name)
            return &c;
    return nullptr;
}

void QuarterGrid::resetColumn(int column, Belegung state)
{
    for (Ttagstunde& c : cells_) {
        if (column != 0 && c.column() != column)
            continue;
        for (int court = 1; court <= courtCount; ++court)
            for (int quarter = 1; quarter <= 4; ++quarter) {
                Tplatzviertelstunde& q = c.quarter(court, quarter);
                q.belegung = q.basis = state;
            }
    }
    update();
}

void QuarterGrid::colourColumn(int column, int datum, const OccupancyGrid& grid)
{
    if (datum >= grid.von() && datum <= grid.bis()) {
        const Belegung* states = grid.day(datum);
        for (int court = 1; court <= courtCount; ++court, states += slotsPerDay)
            for (int slot = 0; slot < slotsPerDay; ++slot)
                if (states[slot] != Belegung::frei) {
                    Tplatzviertelstunde& q = cell(column, slot / 4 + 1).quarter(court, slot % 4 + 1);
                    q.belegung = q.basis = states[slot];
                }
    }
    update(geometry_.cellRect(column, 1).united(geometry_.cellRect(column, 24)));
}

QRect QuarterGrid::quarterArea(int column, int hour, int court, int quarter) const
{
    return geometry_.quarterRect(court, quarter).translated(geometry_.cellRect(column, hour).topLeft());
}

void QuarterGrid::updateQuarter(int column, int hour, int court, int quarter)
{
    update(quarterArea(column, hour, court, quarter));
}

bool QuarterGrid::cellAt(const QPoint& point, int* column, int* hour) const
{
    const QuarterGeometry& g = geometry_;
    if (point.x() < g.cellLeft || point.y() < g.cellTop)
        return false;
    const int c = (point.x() - g.cellLeft) / g.cellPitchX + 1;
    const int h = (point.y() - g.cellTop) / g.cellPitchY + 1;
    if (c > g.columns || h > 24 || !g.cellRect(c, h).contains(point))
        return false;
    *column = c;
    *hour = h;
    return true;
}

bool QuarterGrid::quarterAt(const QPoint& point, int* column, int* hour, int* court, int* quarter) const
{
    if (!cellAt(point, column, hour))
        return false;
    const QPoint inCell = point - geometry_.cellRect(*column, *hour).topLeft();
    for (int k = 1; k <= 4; ++k)
        for (int l = 1; l <= courtCount; ++l)
            if (geometry_.quarterRect(l, k).contains(inCell)) {
                *court = l;
                *quarter = k;
                return true;
            }
    return false;
}

void QuarterGrid::paintLabels(QPainter& painter, const QRect& dirty) const
{
    const QuarterGeometry& g = geometry_;
    QFont hourFont = font();
    hourFont.setPixelSize(g.hourFontPixels);
    QFont quarterFont = font();
    quarterFont.setPixelSize(g.quarterFontPixels);
    painter.setPen(palette().color(QPalette::WindowText));
    const int half = g.labelWidth / 2;
    for (int hour = 1; hour <= 24; ++hour) {
        const QRect row(0, g.cellTop + g.cellPitchY * (hour - 1), g.labelWidth, g.cellHeight);
        if (!row.intersects(dirty))
            continue;
        const HourLabel label = hourRowLabel(hour);
        painter.setFont(hourFont);
        const int line = g.hourFontPixels + 2;
        painter.drawText(QRect(row.left() + 1, row.top() + 1, half, line), Qt::AlignLeft | Qt::AlignVCenter,
                         label.time);
        painter.drawText(QRect(row.left() + 1, row.top() + 1 + line, half, line),
                         Qt::AlignLeft | Qt::AlignVCenter, label.half);
        painter.setFont(quarterFont);
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const QRect q = g.quarterRect(1, quarter);
            painter.drawText(
                QRect(row.left() + half, row.top() + q.top(), g.labelWidth - half - 2, q.height()),
                Qt::AlignRight | Qt::AlignVCenter, quarterLabel(quarter));
        }
    }
}

void QuarterGrid::paintCell(QPainter& painter, const Ttagstunde& cell) const
{
    const QRect r = geometry_.cellRect(cell.column(), cell.hour());
    painter.fillRect(r, palette().color(QPalette::Button));
    // The raised outer bevel of a panel.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    for (int quarter = 1; quarter <= 4; ++quarter)
        for (int court = 1; court <= courtCount; ++court)
            painter.fillRect(geometry_.quarterRect(court, quarter).translated(r.topLeft()),
                             QColor(QRgb(belegungRgb(cell.quarter(court, quarter).belegung))));
}

void QuarterGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().color(QPalette::Window));
    if (dirty.left() < geometry_.labelWidth)
        paintLabels(painter, dirty);
    for (const Ttagstunde& c : cells_)
        if (geometry_.cellRect(c.column(), c.hour()).intersects(dirty))
            paintCell(painter, c);
    if (hasFocus()) {
        // The keyboard's quarter, framed outside its box so that its colour stays readable.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.drawRect(focusArea().adjusted(0, 0, -1, -1));
    }
}

QRect QuarterGrid::focusArea() const
{
    return quarterArea(current_.column, current_.hour, current_.court, current_.quarter)
        .adjusted(-1, -1, 1, 1);
}

QString QuarterGrid::stateText(Belegung state)
{
    switch (state) {
    case Belegung::frei: return QStringLiteral("free");
    case Belegung::reserviert1:
    case Belegung::reserviert2: return QStringLiteral("reserved");
    case Belegung::bezahlt: return QStringLiteral("paid");
    case Belegung::gewaehlt: return QStringLiteral("selected");
    case Belegung::keinplatz: return QStringLiteral("no court");
    }
    return {};
}

void QuarterGrid::setCurrent(const Position& position)
{
    update(focusArea());
    current_ = position;
    update(focusArea());
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
            const QRect cellArea = geometry_.cellRect(current_.column, current_.hour);
            scroll->ensureVisible(cellArea.center().x(), cellArea.center().y(), cellArea.width() / 2 + 2,
                                  cellArea.height() / 2 + 2);
            break;
        }
    emit cellHovered(current_.column, current_.hour);
    if (hasFocus())
        QuarterGridAccessibility::currentMoved(this);
}

void QuarterGrid::moveCurrent(int columnStep, int courtStep, int quarterStep)
{
    Position p = current_;
    // Courts run on across the day columns, quarters across the hours.
    int courtIndex = (p.column - 1) * courtCount + p.court - 1 + courtStep + columnStep * courtCount;
    courtIndex = std::clamp(courtIndex, 0, geometry_.columns * courtCount - 1);
    p.column = courtIndex / courtCount + 1;
    p.court = courtIndex % courtCount + 1;
    const int slot = std::clamp((p.hour - 1) * 4 + p.quarter - 1 + quarterStep, 0, slotsPerDay - 1);
    p.hour = slot / 4 + 1;
    p.quarter = slot % 4 + 1;
    setCurrent(p);
}

void QuarterGrid::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: moveCurrent(control ? -1 : 0, control ? 0 : -1, 0); return;
    case Qt::Key_Right: moveCurrent(control ? 1 : 0, control ? 0 : 1, 0); return;
    case Qt::Key_Up: moveCurrent(0, 0, control ? -4 : -1); return;
    case Qt::Key_Down: moveCurrent(0, 0, control ? 4 : 1); return;
    case Qt::Key_PageUp: moveCurrent(0, 0, -4); return;
    case Qt::Key_PageDown: moveCurrent(0, 0, 4); return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            emit quarterReleased(current_.hour, current_.court, current_.quarter, Qt::LeftButton);
            emit cellClicked(current_.column, current_.hour);
            if (hasFocus())
                QuarterGridAccessibility::currentMoved(this);
        }
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void QuarterGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(focusArea());
    QuarterGridAccessibility::currentMoved(this);
}

void QuarterGrid::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(focusArea());
}

void QuarterGrid::mousePressEvent(QMouseEvent* event)
{
    // The keyboard goes on from where the mouse was.
    Position at;
    if (quarterAt(event->position().toPoint(), &at.column, &at.hour, &at.court, &at.quarter)) {
        update(focusArea());
        current_ = at;
        update(focusArea());
    }
    if (!cellAt(event->position().toPoint(), &pressedColumn_, &pressedHour_))
        pressedColumn_ = pressedHour_ = 0;
    QWidget::mousePressEvent(event);
}

void QuarterGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    int column = 0, hour = 0, court = 0, quarter = 0;
    if (quarterAt(point, &column, &hour, &court, &quarter))
        emit quarterReleased(hour, court, quarter, event->button());
    // A click is a press and a release on the same hour cell, with the left button.
    if (event->button() == Qt::LeftButton && cellAt(point, &column, &hour) && column == pressedColumn_ &&
        hour == pressedHour_)
        emit cellClicked(column, hour);
    pressedColumn_ = pressedHour_ = 0;
    QWidget::mouseReleaseEvent(event);
}

void QuarterGrid::mouseMoveEvent(QMouseEvent* event)
{
    int column = 0, hour = 0;
    if (cellAt(event->position().toPoint(), &column, &hour))
        emit cellHovered(column, hour);
    QWidget::mouseMoveEvent(event);
}

bool QuarterGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        int column = 0, hour = 0, court = 0, quarter = 0;
        QString text;
        if (bookingText && quarterAt(help->pos(), &column, &hour, &court, &quarter)) {
            const Belegung state = cell(column, hour).quarter(court, quarter).belegung;
            if (state == Belegung::reserviert1 || state == Belegung::reserviert2 ||
                state == Belegung::bezahlt)
                text = bookingText(column, hour, court, quarter);
        }
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this, quarterArea(column, hour, court, quarter));
        return true;
    }
    return QWidget::event(event);
}

CourtStrip::CourtStrip(const QuarterGeometry& geometry, bool lastDigitOnly, QWidget* parent)
    : QWidget(parent)
    , geometry_(geometry)
    , lastDigitOnly_(lastDigitOnly)
{
    setFixedHeight(geometry.quarterFontPixels + 5);
    setAccessibleName(QStringLiteral("Courts 1 to 12"));
}

void CourtStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont small = font();
    small.setPixelSize(geometry_.quarterFontPixels + 1);
    painter.setFont(small);
    painter.setPen(lastDigitOnly_ ? QColor(0, 128, 0) : palette().color(QPalette::WindowText));
    for (int column = 1; column <= geometry_.columns; ++column) {
        const int left = geometry_.cellRect(column, 1).left();
        for (int court = 1; court <= courtCount; ++court) {
            const QRect q = geometry_.quarterRect(court, 1);
            painter.drawText(QRect(left + q.left() - 2, 0, q.width() + 4, height()), Qt::AlignCenter,
                             QString::number(lastDigitOnly_ ? court % 10 : court));
        }
    }
}
