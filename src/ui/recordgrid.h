#pragma once

#include "data/gridcolumn.h"

#include <QTableView>

class RecordSetModel;

// A grid over a record set, as the windows show their tables: the columns as the model declares
// them (title, width, alignment, display), the record set's current row and the grid's current
// row kept the same both ways, whole-row selection where asked. Typing into a cell starts editing
// its row, so that a navigator's post and cancel follow at once. It is a table to screen readers,
// named by its accessible name.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    RecordGrid(const QString& name, const QString& accessibleName, QWidget* parent = nullptr);

    void setRecords(RecordSetModel* model);
    RecordSetModel* records() const { return model_; }
    void setWholeRowSelection(bool on);
    // The cells of a column take whole numbers from 0 to maximum, typed as digits; anything else is
    // refused as it is typed, and a cell left empty keeps its value.
    void setDigitColumn(int column, int maximum);
    // The row of the current cell goes into editing, once the desk types into it.
    void startEditing();

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
    // At least what the column's widest date or moment needs; 0 for other columns.
    int neededWidth(const GridColumn& c) const;
    void followRecords(int row);

    RecordSetModel* model_ = nullptr;
    QList<QMetaObject::Connection> connections_;
};
