#pragma once

#include <QDataWidgetMapper>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

#include <utility>

class QGridLayout;
class QLabel;
class QWidget;
class RecordSetModel;

// Writes every control of a widget mapper into the given row of its model. Every control is read
// before the first one is written: writing a field refreshes all mapped controls from the row,
// which would undo the edits not yet written.
void writeMappedControls(QDataWidgetMapper* mapper, int row);

// One bound field of a form: the control's component name, its label, the record set's field,
// the kind of control and, for a choice, the shown items with the values they store.
struct FormField {
    enum class Kind { Text, Integer, Number, Date, Boolean, Choice, Memo };

    QString name;
    QString label;
    QString field;
    Kind kind = Kind::Text;
    QVector<std::pair<QString, QVariant>> choices = {};
};

// Builds the labelled controls of a window that edits many fields of one row from a table of
// FormFields and binds them through one QDataWidgetMapper. Text inputs are capped at the field's
// size in the table, counted in characters; number inputs give numbers. Typing into a control or
// clicking a check box starts editing the row, so that the navigator's post and cancel follow; what
// the controls hold is written into the row before it is posted, however the post comes (the
// navigator, moving to another row, a window's own action). Each label is the buddy of its
// control, so that Alt with the label's letter reaches it and a screen reader reads the label with
// it.
class FieldForm : public QObject {
    Q_OBJECT
public:
    FieldForm(RecordSetModel* model, QWidget* parent);

    // Adds the fields to the layout from row `row` on, label and control side by side, filling
    // `columns` pairs of layout columns left to right.
    void build(QGridLayout* layout, const QVector<FormField>& fields, int row = 0, int columns = 1);

    QDataWidgetMapper* mapper() const { return mapper_; }
    // Writes what the controls hold into the current row of the record set.
    void writeControls();
    // Writes what the controls hold and posts a row being edited or inserted, before the set is
    // opened again, reordered or closed; a refusal is thrown as the store's error.
    void postPending();
    QWidget* control(const QString& name) const { return controls_.value(name); }
    QLabel* label(const QString& name) const { return labels_.value(name); }
    // Applies the fields' sizes again after the record set was opened on its table.
    void applySizes();

private:
    QWidget* makeControl(const FormField& field, QWidget* parent);
    void watchEdits(QWidget* control);
    void startEditing();

    RecordSetModel* model_;
    QDataWidgetMapper* mapper_;
    QVector<FormField> fields_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, QLabel*> labels_;
};
