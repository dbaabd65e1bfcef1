#include "ui/fieldform.h"

#include "data/recordsetmodel.h"
#include "ui/fieldcontrols.h"
#include "ui/storeaction.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QTextDocument>

void writeMappedControls(QDataWidgetMapper* mapper, int row)
{
    QAbstractItemModel* model = mapper ? mapper->model() : nullptr;
    if (!model || row < 0)
        return;
    QList<std::pair<QModelIndex, QVariant>> values;
    for (int section = 0; section < model->columnCount(); ++section) {
        QWidget* widget = mapper->mappedWidgetAt(section);
        if (!widget)
            continue;
        if (auto* date = qobject_cast<DayCountEdit*>(widget))
            date->finishTyping();
        QByteArray property = mapper->mappedPropertyName(widget);
        if (property.isEmpty())
            property = widget->metaObject()->userProperty().name();
        values.push_back({model->index(row, section), widget->property(property.constData())});
    }
    for (const auto& [index, value] : values)
        model->setData(index, value);
}

void FieldForm::writeControls()
{
    writeMappedControls(mapper_, model_->records()->recNo());
}

void FieldForm::postPending()
{
    RecordSet* records = model_->records();
    if (!records->isOpen())
        return;
    writeControls();
    if (records->state() == RecordSet::State::Edit || records->state() == RecordSet::State::Insert)
        records->post();
}

void FieldForm::startEditing()
{
    RecordSet* records = model_->records();
    if (records->state() == RecordSet::State::Browse && records->recNo() >= 0 && !records->isReadOnly())
        StoreAction::run([records] { records->edit(); });
}

// Only what the desk does starts editing: the mapper showing a row sets the same controls.
void FieldForm::watchEdits(QWidget* control)
{
    const auto start = [this] { startEditing(); };
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::textEdited, this, start);
    else if (auto* box = qobject_cast<QCheckBox*>(control))
        connect(box, &QCheckBox::clicked, this, start);
    else if (auto* choice = qobject_cast<ChoiceBox*>(control))
        connect(choice, &QComboBox::activated, this, start);
    else if (auto* date = qobject_cast<DayCountEdit*>(control))
        connect(date, &DayCountEdit::edited, this, start);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        connect(memo->document(), &QTextDocument::undoCommandAdded, this, start);
}

FieldForm::FieldForm(RecordSetModel* model, QWidget* parent)
    : QObject(parent)
    , model_(model)
    , mapper_(new QDataWidgetMapper(this))
{
    mapper_->setModel(model);
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    // The columns follow the record set's fields, which are known once it is open.
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        mapper_->clearMapping();
        for (const FormField& f : std::as_const(fields_)) {
            const int column = model_->columnOf(f.field);
            if (column >= 0)
                mapper_->addMapping(controls_.value(f.name), column);
        }
        applySizes();
        mapper_->setCurrentIndex(model_->records()->recNo());
    });
    // The controls show the record set's current row, wherever it was moved from.
    connect(model->records(), &RecordSet::currentChanged, mapper_, &QDataWidgetMapper::setCurrentIndex);
    // A row left for another one, or posted by anyone, takes what is still in the controls.
    connect(model->records(), &RecordSet::aboutToPost, this, &FieldForm::writeControls);
}

QWidget* FieldForm::makeControl(const FormField& field, QWidget* parent)
{
    switch (field.kind) {
    case FormField::Kind::Text: return new QLineEdit(parent);
    case FormField::Kind::Integer: return new NumberEdit(NumberEdit::Kind::Whole, parent);
    case FormField::Kind::Number: return new NumberEdit(NumberEdit::Kind::Decimal, parent);
    case FormField::Kind::Date: return new DayCountEdit(parent);
    case FormField::Kind::Boolean: return new QCheckBox(field.label, parent);
    case FormField::Kind::Choice: {
        auto* box = new ChoiceBox(parent);
        for (const auto& [shown, stored] : field.choices)
            box->addItem(shown, stored);
        return box;
    }
    case FormField::Kind::Memo: return new QPlainTextEdit(parent);
    }
    return nullptr;
}

void FieldForm::build(QGridLayout* layout, const QVector<FormField>& fields, int row, int columns)
{
    QWidget* parent = layout->parentWidget();
    const int perColumn = (int(fields.size()) + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < fields.size(); ++i) {
        const FormField& f = fields[i];
        QWidget* control = makeControl(f, parent);
        control->setObjectName(f.name);
        const int r = row + i % perColumn;
        const int c = 2 * (i / perColumn);
        if (f.kind == FormField::Kind::Boolean) {
            layout->addWidget(control, r, c + 1);
        } else {
            auto* label = new QLabel(f.label, parent);
            label->setObjectName(QStringLiteral("lbl_") + f.name);
            label->setBuddy(control);
            layout->addWidget(label, r, c, f.kind == FormField::Kind::Memo ? Qt::AlignTop : Qt::Alignment());
            labels_.insert(f.name, label);
        }
        // The label is read with the control; its accessible name says it without the '&'.
        control->setAccessibleName(QString(f.label).remove(QLatin1Char('&')));
        layout->addWidget(control, r, c + 1);
        watchEdits(control);
        controls_.insert(f.name, control);
        fields_ << f;
        const int column = model_->columnOf(f.field);
        if (column >= 0)
            mapper_->addMapping(control, column);
    }
    applySizes();
}

void FieldForm::applySizes()
{
    RecordSet* records = model_->records();
    if (!records->isOpen())
        return;
    for (const FormField& f : std::as_const(fields_)) {
        if (records->fieldIndex(f.field) < 0)
            continue;
        const int size = records->fieldSize(f.field);
        auto* edit = qobject_cast<QLineEdit*>(controls_.value(f.name));
        if (f.kind != FormField::Kind::Text || !edit || size <= 0)
            continue;
        // Counted in characters: a length in UTF-16 units would cut an emoji in half.
        const auto* limit = qobject_cast<const TextLimit*>(edit->validator());
        if (!limit || limit->characters() != size) {
            edit->setValidator(new TextLimit(size, edit));
            delete limit;
        }
    }
}
