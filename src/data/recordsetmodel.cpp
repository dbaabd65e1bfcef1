#include "data/recordsetmodel.h"

#include "data/displayformat.h"
#include "data/store.h"
#include "platform/messages.h"

#include <QFont>

RecordSetModel::RecordSetModel(RecordSet* records, QObject* parent)
    : QAbstractTableModel(parent)
    , records_(records)
{
    connect(records, &RecordSet::reset, this, [this] {
        beginResetModel();
        resolveColumns();
        endResetModel();
    });
    connect(records, &RecordSet::rowChanged, this, [this](int row) {
        if (columnCount() > 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    // Views and mappers keep their current row across an insert or a delete.
    connect(records, &RecordSet::rowAboutToBeAppended, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(records, &RecordSet::rowAppended, this, [this] { endInsertRows(); });
    connect(records, &RecordSet::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(records, &RecordSet::rowRemoved, this, [this] { endRemoveRows(); });
    connect(records, &RecordSet::rowAboutToBeMoved, this, [this](int from, int to) {
        // Qt counts the destination among the rows before the move, the moved row included.
        beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    });
    connect(records, &RecordSet::rowMoved, this, [this] { endMoveRows(); });
    resolveColumns();
}

void RecordSetModel::setColumns(const GridColumns& columns)
{
    beginResetModel();
    columns_ = columns;
    resolveColumns();
    endResetModel();
}

void RecordSetModel::resolveColumns()
{
    positions_.clear();
    for (const GridColumn& c : std::as_const(columns_))
        positions_ << records_->fieldIndex(c.field);
}

int RecordSetModel::fieldPosition(int column) const
{
    if (columns_.isEmpty())
        return column < records_->fieldNames().size() ? column : -1;
    return positions_.value(column, -1);
}

int RecordSetModel::columnOf(const QString& field) const
{
    if (columns_.isEmpty())
        return records_->fieldIndex(field);
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : records_->count();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return columns_.isEmpty() ? int(records_->fieldNames().size()) : int(columns_.size());
}

QVariant RecordSetModel::displayed(const GridColumn& column, const QVariant& value) const
{
    const FieldValue field(value);
    if (field.isEmpty())
        return column.display == GridColumn::Display::Flag ? DisplayFormat::logical(false) : QString();
    switch (column.display) {
    case GridColumn::Display::Plain:
        // A number as stored, up to the digits a double holds; a view would round it to six.
        return value.typeId() == QMetaType::Double ? QVariant(QString::number(value.toDouble(), 'g', 15))
                                                   : value;
    case GridColumn::Display::Money: return DisplayFormat::money(field.asFloat());
    case GridColumn::Display::Date: return DisplayFormat::date(field.asFloat());
    case GridColumn::Display::DateTime: return DisplayFormat::dateTime(field.asFloat());
    case GridColumn::Display::AmPmTime: return DisplayFormat::amPmTime(field.asFloat());
    case GridColumn::Display::Flag: return DisplayFormat::logical(field.asBoolean());
    }
    return value;
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int position = fieldPosition(index.column());
    if (position < 0)
        return {};
    const QVariant value = records_->valueAt(index.row(), position);
    if (role == Qt::EditRole)
        return value;
    if (columns_.isEmpty())
        return role == Qt::DisplayRole ? value : QVariant();
    const GridColumn& column = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole: return displayed(column, value);
    case Qt::TextAlignmentRole: return QVariant::fromValue(column.alignment);
    case Qt::BackgroundRole:
        if (column.display == GridColumn::Display::Flag) {
            const QColor colour = FieldValue(value).asBoolean() ? column.trueColour : column.falseColour;
            if (colour.isValid())
                return colour;
        }
        return column.cellColour.isValid() ? QVariant(column.cellColour) : QVariant();
    case Qt::ForegroundRole: return column.textColour.isValid() ? QVariant(column.textColour) : QVariant();
    case Qt::FontRole:
        if (column.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default: return {};
    }
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int position = fieldPosition(index.column());
    if (!index.isValid() || role != Qt::EditRole || position < 0 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (records_->recNo() != index.row())
            records_->moveTo(index.row());
        if (records_->valueAt(index.row(), position) == storable(value))
            return true;
        records_->setField(position, value);
    } catch (const StoreError& e) {
        Messages::error(e.message());
        return false;
    }
    return true;
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return columns_.isEmpty() ? QVariant(records_->fieldNames().value(section))
                                      : QVariant(columns_.value(section).caption);
        if (role == Qt::BackgroundRole && section < columns_.size() &&
            columns_[section].titleColour.isValid())
            return columns_[section].titleColour;
        if (role == Qt::TextAlignmentRole && section < columns_.size()) {
            const GridColumn& column = columns_[section];
            return QVariant::fromValue(column.titleAlignment ? column.titleAlignment : column.alignment);
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const bool columnReadOnly =
        index.isValid() && index.column() < columns_.size() && columns_[index.column()].readOnly;
    if (index.isValid() && !records_->isReadOnly() && !columnReadOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::submit()
{
    try {
        records_->post();
    } catch (const StoreError& e) {
        Messages::error(e.message());
        return false;
    }
    return true;
}

void RecordSetModel::revert()
{
    records_->cancel();
}
