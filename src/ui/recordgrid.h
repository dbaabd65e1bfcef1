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

    // A cell being typed in writes its text into the row and closes; the record navigator calls
    // it before its buttons act, since they take no focus and would leave the cell open.
    void commitEditor();
    // A cell being typed in closes without writing (the navigator's Cancel).
    void dropEditor();

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QWidget* openEditor() const;
    void applyColumns();
    void followRecords(int row);

    RecordSetModel* model_ = nullptr;
    QList<QMetaObject::Connection> connections_;
};
