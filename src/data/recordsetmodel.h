#pragma once

#include "data/recordset.h"

#include <QAbstractTableModel>

// Shows a RecordSet to Qt's views and to QDataWidgetMapper. Setting data edits the row it
// belongs to; submit() posts and revert() cancels, as a record navigator does.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordSetModel(RecordSet* records, QObject* parent = nullptr);

    RecordSet* records() const { return records_; }

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
    RecordSet* records_;
};
