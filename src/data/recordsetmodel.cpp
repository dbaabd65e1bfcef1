#include "data/recordsetmodel.h"

#include "data/store.h"

RecordSetModel::RecordSetModel(RecordSet* records, QObject* parent)
    : QAbstractTableModel(parent)
    , records_(records)
{
    connect(records, &RecordSet::reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(records, &RecordSet::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
    // Views and mappers keep their current row across an insert or a delete.
    connect(records, &RecordSet::rowAboutToBeAppended, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(records, &RecordSet::rowAppended, this, [this] { endInsertRows(); });
    connect(records, &RecordSet::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(records, &RecordSet::rowRemoved, this, [this] { endRemoveRows(); });
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : records_->count();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(records_->fieldNames().size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return records_->valueAt(index.row(), index.column());
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || records_->isReadOnly())
        return false;
    try {
        if (records_->recNo() != index.row())
            records_->moveTo(index.row());
        if (records_->valueAt(index.row(), index.column()) == storable(value))
            return true;
        records_->setField(index.column(), value);
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return records_->fieldNames().value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!records_->isReadOnly())
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::submit()
{
    records_->post();
    return true;
}

void RecordSetModel::revert()
{
    records_->cancel();
}
