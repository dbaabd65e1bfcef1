#pragma once

#include "reservations/occupancy.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

// One court quarter-hour of an hour cell: its shown state and the state a deselection returns it
// to. A light object its hour cell paints, not a widget, so that a week of 8064 stays cheap.
class Tplatzviertelstunde {
public:
    Belegung belegung = Belegung::frei;
    Belegung basis = Belegung::frei;
    // "STUNDENFELD" followed by the court and the quarter.
    static QString name(int court, int quarter);
};

// One hour of one day column with its 12 x 4 quarters, indexed [court 1-12][quarter 1-4].
class Ttagstunde {
public:
    Ttagstunde(int column, int hour);

    int column() const { return column_; }
    int hour() const { return hour_; }
    // "FELD" followed by the day column and the hour: FELD11 ... FELD724.
    QString name() const;
    Tplatzviertelstunde& quarter(int court, int quarter) { return quarters_[(court - 1) * 4 + quarter - 1]; }
    const Tplatzviertelstunde& quarter(int court, int quarter) const
    {
        return quarters_[(court - 1) * 4 + quarter - 1];
    }

private:
    int column_;
    int hour_;
    std::array<Tplatzviertelstunde, courtCount * 4> quarters_;
};

// The reservation dialog's hour cells are the same objects, in one column.
using Ttagstundereserv = Ttagstunde;
using Tplatzviertelstundereserv = Tplatzviertelstunde;

// Where the cells, the quarters and the hour labels lie, in pixels of the scroll box's content.
struct QuarterGeometry {
    int columns = 7;
    int labelWidth = 59;
    int cellLeft = 59, cellPitchX = 103, cellTop = 1, cellPitchY = 47, cellWidth = 103, cellHeight = 47;
    int quarterLeft = 2, quarterPitchX = 8, groupGap = 1, quarterTop = 3, quarterPitchY = 11;
    int quarterWidth = 7, quarterHeight = 10;
    int hourFontPixels = 10, quarterFontPixels = 8;

    static QuarterGeometry scheduler();
    static QuarterGeometry reservation();

    QRect cellRect(int column, int hour) const;
    // Inside its hour cell.
    QRect quarterRect(int court, int quarter) const;
    QSize size() const;
};

// The scroll box's content of the scheduler and the reservation dialog: hour labels at the left,
// then one column of 24 hour cells per day, each painting its quarters in the colours of their
// states. Mouse input on a quarter belongs to its hour cell in the scheduler and to the quarter in
// the dialog; the window decides through the signals.
class QuarterGrid : public QWidget {
    Q_OBJECT
public:
    QuarterGrid(const QuarterGeometry& geometry, QWidget* parent = nullptr);

    const QuarterGeometry& geometry() const { return geometry_; }
    Ttagstunde& cell(int column, int hour) { return cells_[std::size_t((column - 1) * 24 + hour - 1)]; }
    const Ttagstunde& cell(int column, int hour) const
    {
        return cells_[std::size_t((column - 1) * 24 + hour - 1)];
    }
    // The hour cell by its name ("FELD37"), or null.
    Ttagstunde* findCell(const QString& name);

    // Every quarter of a column (0: all columns) back to one state, shown and base.
    void resetColumn(int column, Belegung state);
    // The states of a walk for the day shown in a column; quarters without a row keep theirs.
    void colourColumn(int column, int datum, const OccupancyGrid& grid);
    // Repaints a quarter after its state changed.
    void updateQuarter(int column, int hour, int court, int quarter);
    QRect quarterArea(int column, int hour, int court, int quarter) const;

    // Which cell and quarter lie under a point; false when none.
    bool cellAt(const QPoint& point, int* column, int* hour) const;
    bool quarterAt(const QPoint& point, int* column, int* hour, int* court, int* quarter) const;

    // The tool tip of a booked quarter (reserved or paid); none when it returns an empty text.
    std::function<QString(int column, int hour, int court, int quarter)> bookingText;
    // The day a column shows, as screen readers name the column ("TH 10 Dec 2026").
    std::function<QString(int column)> columnTitle;

    // The quarter the keyboard is on: arrows move it, Space acts on it as a click would.
    struct Position {
        int column = 1;
        int hour = 1;
        int court = 1;
        int quarter = 1;
    };
    const Position& current() const { return current_; }
    void setCurrent(const Position& position);
    // What a quarter's state reads as to a screen reader: "free", "reserved", "paid", ...
    static QString stateText(Belegung state);

signals:
    void cellClicked(int column, int hour);
    void cellHovered(int column, int hour);
    void quarterReleased(int hour, int court, int quarter, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void moveCurrent(int columnStep, int courtStep, int quarterStep);
    QRect focusArea() const;
    void paintLabels(QPainter& painter, const QRect& dirty) const;
    void paintCell(QPainter& painter, const Ttagstunde& cell) const;

    QuarterGeometry geometry_;
    std::vector<Ttagstunde> cells_;
    int pressedColumn_ = 0;
    int pressedHour_ = 0;
    Position current_;
};

// The court numbers above each court's column of quarters, in every day column: the scheduler
// shows the last digit in green ("1" ... "9", "0", "1", "2"), the dialog the whole number.
class CourtStrip : public QWidget {
public:
    CourtStrip(const QuarterGeometry& geometry, bool lastDigitOnly, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QuarterGeometry geometry_;
    bool lastDigitOnly_;
};
