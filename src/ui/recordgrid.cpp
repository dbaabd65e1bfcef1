#include "ui/recordgrid.h"

#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/recordsetmodel.h"
#include "ui/fieldcontrols.h"
#include "ui/storeaction.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

namespace {

// The editors of a grid's cells: the toolkit's, or digits where a column asks for them; typing
// into either starts editing the row.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(RecordGrid* grid, int maximum = -1)
        : QStyledItemDelegate(grid)
        , grid_(grid)
        , maximum_(maximum)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = nullptr;
        if (maximum_ >= 0) {
            auto* digits = new NumberEdit(NumberEdit::Kind::Whole, parent);
            digits->setDigitsUpTo(maximum_);
            digits->setFrame(false);
            editor = digits;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        }
        auto* typed = qobject_cast<QLineEdit*>(editor);
        if (!typed && editor)
            typed = editor->findChild<QLineEdit*>();
        if (typed)
            connect(typed, &QLineEdit::textEdited, grid_, &RecordGrid::startEditing);
        if (auto* choice = qobject_cast<QComboBox*>(editor))
            connect(choice, &QComboBox::activated, grid_, &RecordGrid::startEditing);
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* digits = qobject_cast<NumberEdit*>(editor); digits && digits->number().isNull())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    RecordGrid* grid_;
    int maximum_;
};

} // namespace

RecordGrid::RecordGrid(const QString& name, const QString& accessibleName, QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new CellDelegate(this));
    setObjectName(name);
    setAccessibleName(accessibleName);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
}

void RecordGrid::setRecords(RecordSetModel* model)
{
    for (const auto& c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    model_ = model;
    setModel(model);
    if (!model)
        return;
    RecordSet* records = model->records();
    // The view would post through the model on every change of the current row as well, also when
    // the set itself moved to a row just inserted; leaving a row posts once, below.
    disconnect(selectionModel(), nullptr, model, nullptr);
    connections_ << connect(model, &QAbstractItemModel::modelReset, this, &RecordGrid::applyColumns)
                 << connect(records, &RecordSet::currentChanged, this, &RecordGrid::followRecords)
                 << connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                            [this](const QModelIndex& current) {
                                // Moving to another row posts an edited one; a refused post keeps
                                // the grid on the row that is still being edited.
                                RecordSet* r = model_->records();
                                if (!current.isValid() || current.row() == r->recNo())
                                    return;
                                if (!StoreAction::run([&] { r->moveTo(current.row()); }))
                                    followRecords(r->recNo());
                            });
    applyColumns();
    followRecords(records->recNo());
}

void RecordGrid::setWholeRowSelection(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void RecordGrid::setDigitColumn(int column, int maximum)
{
    setItemDelegateForColumn(column, new CellDelegate(this, maximum));
}

void RecordGrid::startEditing()
{
    RecordSet* records = model_ ? model_->records() : nullptr;
    const QModelIndex cell = currentIndex();
    if (!records || !cell.isValid() || records->state() != RecordSet::State::Browse || records->isReadOnly())
        return;
    StoreAction::run([records, cell] {
        if (records->recNo() != cell.row())
            records->moveTo(cell.row());
        records->edit();
    });
}

namespace {

// The widest text a column of dates or moments can show: every month, a two-digit day and an
// evening's time, so that no day of the year cuts the time off.
QString widestMoment(const QFontMetrics& metrics, GridColumn::Display display)
{
    QString widest;
    for (int month = 1; month <= 12; ++month) {
        const double moment = DayCount::fromDate(QDate(2028, month, 28)) + (20 * 60 + 58) / 1440.0;
        const QString text = display == GridColumn::Display::Date ? DisplayFormat::date(moment)
                                                                  : DisplayFormat::dateTime(moment);
        if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest))
            widest = text;
    }
    return widest;
}

} // namespace

int RecordGrid::neededWidth(const GridColumn& c) const
{
    if (c.display != GridColumn::Display::Date && c.display != GridColumn::Display::DateTime)
        return 0;
    // Measured as the cell and the title are drawn, the delegate's margins included.
    QStyleOptionViewItem option;
    option.initFrom(viewport());
    option.font = font();
    option.text = widestMoment(QFontMetrics(font()), c.display);
    option.features = QStyleOptionViewItem::HasDisplay;
    const int cell = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
    const int title = QFontMetrics(horizontalHeader()->font()).horizontalAdvance(c.caption) +
                      2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    return std::max(cell, title);
}

void RecordGrid::applyColumns()
{
    const GridColumns& columns = model_->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0)
            setColumnWidth(i, std::max(columns[i].width, neededWidth(columns[i])));
}

void RecordGrid::followRecords(int row)
{
    if (!model_ || row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    setCurrentIndex(model_->index(row, current.isValid() ? current.column() : 0));
}

void RecordGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // A closed cell leaves its text in the row; the row is posted when it is left, not by the cell.
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        hint = QAbstractItemDelegate::NoHint;
    QTableView::closeEditor(editor, hint);
}

QWidget* RecordGrid::openEditor() const
{
    // An open cell editor is the only focusable widget inside the viewport; a closed one lingers
    // hidden until it is deleted.
    const auto isEditor = [this](const QWidget* w) {
        return w && w != viewport() && w->isVisible() && viewport()->isAncestorOf(w);
    };
    if (QWidget* focused = QApplication::focusWidget(); isEditor(focused))
        return focused;
    QWidget* inside = focusWidget();
    return isEditor(inside) ? inside : nullptr;
}

void RecordGrid::commitEditor()
{
    if (QWidget* editor = openEditor()) {
        emit itemDelegate()->commitData(editor);
        emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void RecordGrid::dropEditor()
{
    if (QWidget* editor = openEditor())
        emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}
