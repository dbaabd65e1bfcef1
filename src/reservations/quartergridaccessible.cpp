#include "reservations/quartergridaccessible.h"

#include "reservations/quartergrid.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace {

class GridInterface;

// One quarter: row = quarter-hour of the day (0 to 95), column = (day column - 1) * 12 + court - 1.
class CellInterface : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CellInterface(QuarterGrid* grid, GridInterface* table, int row, int column)
        : grid_(grid)
        , table_(table)
        , row_(row)
        , column_(column)
    {
    }

    QuarterGrid::Position position() const
    {
        return {column_ / courtCount + 1, row_ / 4 + 1, column_ % courtCount + 1, row_ % 4 + 1};
    }

    bool isValid() const override { return grid_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text t) const override
    {
        if (!grid_)
            return {};
        const QuarterGrid::Position p = position();
        const Belegung state = grid_->cell(p.column, p.hour).quarter(p.court, p.quarter).belegung;
        if (t == QAccessible::Name)
            return QuarterGrid::stateText(state);
        if (t == QAccessible::Description && grid_->bookingText &&
            (state == Belegung::reserviert1 || state == Belegung::reserviert2 || state == Belegung::bezahlt))
            return grid_->bookingText(p.column, p.hour, p.court, p.quarter);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!grid_)
            return {};
        const QuarterGrid::Position p = position();
        const QRect area = grid_->quarterArea(p.column, p.hour, p.court, p.quarter);
        return QRect(grid_->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!grid_)
            return s;
        s.focusable = true;
        const QuarterGrid::Position p = position();
        const QuarterGrid::Position& c = grid_->current();
        s.focused = grid_->hasFocus() && p.column == c.column && p.hour == c.hour && p.court == c.court &&
                    p.quarter == c.quarter;
        s.selectable = true;
        s.selected = isSelected();
        const QRect area = grid_->quarterArea(p.column, p.hour, p.court, p.quarter);
        s.invisible = grid_->visibleRegion().intersected(area).isEmpty();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    bool isSelected() const override
    {
        const QuarterGrid::Position p = position();
        return grid_ &&
               grid_->cell(p.column, p.hour).quarter(p.court, p.quarter).belegung == Belegung::gewaehlt;
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    QAccessibleInterface* table() const override;

private:
    QPointer<QuarterGrid> grid_;
    GridInterface* table_;
    int row_;
    int column_;
};

class GridInterface : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridInterface(QuarterGrid* grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    {
    }
    ~GridInterface() override
    {
        for (QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QuarterGrid* grid() const { return static_cast<QuarterGrid*>(object()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int rowCount() const override { return slotsPerDay; }
    int columnCount() const override { return grid()->geometry().columns * courtCount; }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return cellAt(index / columnCount(), index % columnCount());
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface())
            return cell->rowIndex() * columnCount() + cell->columnIndex();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = grid()->mapFromGlobal(QPoint(x, y));
        int column = 0, hour = 0, court = 0, quarter = 0;
        if (!grid()->quarterAt(local, &column, &hour, &court, &quarter))
            return nullptr;
        return cellAt((hour - 1) * 4 + quarter - 1, (column - 1) * courtCount + court - 1);
    }
    QAccessibleInterface* focusChild() const override
    {
        if (!grid()->hasFocus())
            return nullptr;
        const QuarterGrid::Position& c = grid()->current();
        return cellAt((c.hour - 1) * 4 + c.quarter - 1, (c.column - 1) * courtCount + c.court - 1);
    }

    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        const int key = row * columnCount() + column;
        if (const auto it = cells_.constFind(key); it != cells_.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* cell = new CellInterface(grid(), const_cast<GridInterface*>(this), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        const int day = column / courtCount + 1;
        const QString court = QStringLiteral("court %1").arg(column % courtCount + 1);
        const QString title = grid()->columnTitle ? grid()->columnTitle(day) : QString();
        return title.isEmpty() ? court : title + QStringLiteral(", ") + court;
    }
    QString rowDescription(int row) const override
    {
        const HourLabel label = hourRowLabel(row / 4 + 1);
        return label.time.left(3) + quarterLabel(row % 4 + 1).left(2) + QLatin1Char(' ') + label.half;
    }

    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (int row = 0; row < rowCount(); ++row)
            for (int column = 0; column < columnCount(); ++column) {
                const Belegung state = grid()
                                           ->cell(column / courtCount + 1, row / 4 + 1)
                                           .quarter(column % courtCount + 1, row % 4 + 1)
                                           .belegung;
                if (state == Belegung::gewaehlt)
                    cells << cellAt(row, column);
            }
        return cells;
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable QHash<int, QAccessible::Id> cells_;
};

QAccessibleInterface* CellInterface::parent() const
{
    return table_;
}

QAccessibleInterface* CellInterface::table() const
{
    return table_;
}

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QuarterGrid") && object && object->isWidgetType())
        return new GridInterface(static_cast<QuarterGrid*>(object));
    return nullptr;
}

} // namespace

namespace QuarterGridAccessibility {

void install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

void currentMoved(QuarterGrid* grid)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    QAccessibleInterface* cell = table ? table->focusChild() : nullptr;
    if (!cell)
        return;
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

} // namespace QuarterGridAccessibility
