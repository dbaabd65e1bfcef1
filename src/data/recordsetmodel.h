#pragma once

#include "data/gridcolumn.h"
#include "data/recordset.h"

#include <QAbstractTableModel>

// Shows a RecordSet to Qt's views and to QDataWidgetMapper. Without declared columns every field
// is a column under its own name; with them, the grid shows those columns, titled, aligned and
// formatted as declared, a plain number as stored. Setting data edits the row it belongs to; a
// posted row moving to its place in the order moves with it in the views; submit() posts and
// revert() cancels, as a record navigator does. A store error while editing or posting is shown through
// the message seam and the row stays in edit, so that nothing typed is lost.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordSetModel(RecordSet* records, QObject* parent = nullptr);

    RecordSet* records() const { return records_; }

    void setColumns(const GridColumns& columns);
    const GridColumns& columns() const { return columns_; }
    // The record set's field position shown in a column; -1 when the field is not in the set.
    int fieldPosition(int column) const;
    // The column that shows a field; -1 when none does.
    int columnOf(const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

public slots:
    bool submit() override;
    void revert() override;

private:
    void resolveColumns();
    QVariant displayed(const GridColumn& column, const QVariant& value) const;

    RecordSet* records_;
    GridColumns columns_;
    QVector<int> positions_; // field position of each declared column
};
