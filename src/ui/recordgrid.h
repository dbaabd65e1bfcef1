#pragma once

#include <QTableView>

class RecordSetModel;

// A grid over a record set, as the windows show their tables: the columns as the model declares
// them (title, width, alignment, display), the record set's current row and the grid's current
// row kept the same both ways, whole-row selection where asked. It is a table to screen readers,
// named by its accessible name.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    RecordGrid(const QString& name, const QString& accessibleName, QWidget* parent = nullptr);

    void setRecords(RecordSetModel* model);
    RecordSetModel* records() const { return model_; }
    void setWholeRowSelection(bool on);

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void applyColumns();
    void followRecords(int row);

    RecordSetModel* model_ = nullptr;
    QList<QMetaObject::Connection> connections_;
};
