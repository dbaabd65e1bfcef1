#include "stock/u_inventar.h"

#include "data/daycount.h"
#include "data/pendingrow.h"
#include "data/recordsetmodel.h"
#include "platform/usersettings.h"
#include "report/printing.h"
#include "stock/stock.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString orderSetting = QStringLiteral("rg_order");
const QColor lightCyan(128, 255, 255);

// The fields with the names their labels go by.
struct ItemField {
    FormField field;
    const char* labelName;
};

const ItemField itemFields[] = {
    {{"DBEdit1", "Item Nr. ", "Inventar_id", FormField::Kind::Integer}, "lbl_nummer"},
    {{"DBEdit3", "Name ", "Name"}, "Label6"},
    {{"DBEdit2", "Category ", "Kategorie"}, "lbl_kategorie"},
    {{"DBDateEdit1", "Date ", "Datum", FormField::Kind::Date}, "lbl_date"},
    {{"DBEdit4", "Stock ", "Lagerbestand", FormField::Kind::Number}, "lbl_lager"},
    {{"DBEdit5", "Price ", "Wert", FormField::Kind::Number}, "lbl_wert"},
    {{"DBMemo1", "Describtion ", "Beschreibung", FormField::Kind::Memo}, "lbl_beschreibung"},
};

const GridColumns gridColumns = {
    {"Inventar_id", "Item Nr.", 70, Qt::AlignRight | Qt::AlignVCenter},
    {"Name", "Name", 160},
    {"Kategorie", "Category", 120},
    {"Datum", "Date", 85, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Date},
    {"Lagerbestand", "Stock", 60, Qt::AlignRight | Qt::AlignVCenter},
    {"Wert", "Price", 80, Qt::AlignRight | Qt::AlignVCenter},
};

void paintBase(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

} // namespace

Tfrm_inventar::Tfrm_inventar(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_inventar"), QStringLiteral("Inventory"), parent)
{
    setHelpTopic(1);
    formModel_ = new RecordSetModel(&records_, this);
    gridModel_ = new RecordSetModel(&records_, this);
    gridModel_->setColumns(gridColumns);
    auto* layout = new QVBoxLayout(body());
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    auto* fields = new QWidget(body());
    setupFields(fields);
    top->addWidget(fields, 1);
    setupOrder(body());
    top->addWidget(rg_order, 0, Qt::AlignTop);
    setupGrid(body());
    setupNavigator(body());
    layout->addWidget(DBNavigator1, 0, Qt::AlignLeft);
    layout->addWidget(DBGrid1, 1);
    btn_ausdruck = addBottomButton(QStringLiteral("btn_ausdruck"), QStringLiteral("&Print"));
    btn_close = addCloseButton();
    connect(btn_ausdruck, &QPushButton::clicked, this, &Tfrm_inventar::btn_ausdruckClick);
    resize(700, 600);
}

void Tfrm_inventar::setupFields(QWidget* parent)
{
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(0, 0, 0, 0);
    QVector<FormField> formFields;
    for (const ItemField& f : itemFields)
        formFields << f.field;
    form_ = new FieldForm(formModel_, parent);
    form_->build(grid, formFields);
    for (const ItemField& f : itemFields)
        form_->label(f.field.name)->setObjectName(QLatin1String(f.labelName));
    paintBase(form_->control(QStringLiteral("DBEdit1")), Qt::yellow);
    DBMemo1 = qobject_cast<QPlainTextEdit*>(form_->control(QStringLiteral("DBMemo1")));
    // A description of several lines; Tab writes a tab into it like Enter writes a new line.
    DBMemo1->setTabChangesFocus(false);
    DBMemo1->setFixedHeight(DBMemo1->fontMetrics().lineSpacing() * 4 + 12);
}

void Tfrm_inventar::setupOrder(QWidget* parent)
{
    rg_order = new QGroupBox(QStringLiteral("Order by"), parent);
    rg_order->setObjectName(QStringLiteral("rg_order"));
    auto* column = new QVBoxLayout(rg_order);
    orderButtons_ = new QButtonGroup(this);
    for (int i = 0; i < Stock::orderCount; ++i) {
        auto* choice = new QRadioButton(Stock::orderCaption(i), rg_order);
        choice->setObjectName(QStringLiteral("rg_order_%1").arg(i));
        orderButtons_->addButton(choice, i);
        column->addWidget(choice);
    }
    const int kept = UserSettings::value(objectName(), orderSetting, 0).toInt();
    orderButtons_->button(kept >= 0 && kept < Stock::orderCount ? kept : 0)->setChecked(true);
    connect(orderButtons_, &QButtonGroup::idClicked, this, &Tfrm_inventar::rg_orderClick);
}

void Tfrm_inventar::setupGrid(QWidget* parent)
{
    DBGrid1 = new RecordGrid(QStringLiteral("DBGrid1"), QStringLiteral("Items"), parent);
    DBGrid1->setRecords(gridModel_);
    DBGrid1->setWholeRowSelection(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    paintBase(DBGrid1, lightCyan);
    auto* remove = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), DBGrid1);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] { DBNavigator1->press(RecordNavigator::Delete); });
}

void Tfrm_inventar::setupNavigator(QWidget* parent)
{
    DBNavigator1 = new RecordNavigator(parent);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setRecords(&records_);
    DBNavigator1->setMapper(form_->mapper());
    DBNavigator1->setGrid(DBGrid1);
}

int Tfrm_inventar::orderChoice() const
{
    return orderButtons_->checkedId();
}

void Tfrm_inventar::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] { openInOrder(); });
}

void Tfrm_inventar::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous() && records_.isOpen()) {
        form_->writeControls();
        postOrDrop(records_);
        records_.close();
    }
    DeskWindow::hideEvent(event);
}

void Tfrm_inventar::openInOrder()
{
    const QString index = Stock::orderIndex(orderChoice());
    if (index.isEmpty() && records_.isOpen())
        return;
    records_.openTable(QStringLiteral("Inventar"), index);
    openedOrder_ = orderChoice();
}

void Tfrm_inventar::rg_orderClick()
{
    UserSettings::setValue(objectName(), orderSetting, orderChoice());
    if (!isVisible())
        return;
    // Reopening in the new order would lose an item still being typed: it is stored first, and
    // when the table refuses it the list stays as it was with the item in editing.
    const bool reordered = runAction([this] {
        form_->postPending();
        openInOrder();
    });
    if (!reordered && openedOrder_ >= 0) {
        orderButtons_->button(openedOrder_)->setChecked(true);
        UserSettings::setValue(objectName(), orderSetting, openedOrder_);
    }
}

Report::Document Tfrm_inventar::inventoryList()
{
    Report::Document list;
    runAction([&] {
        form_->postPending();
        list = Stock::list(Stock::rows(records_), Stock::orderCaption(orderChoice()), DayCount::today());
    });
    return list;
}

void Tfrm_inventar::btn_ausdruckClick()
{
    const Report::Document list = inventoryList();
    if (!list.isEmpty())
        Printing::preview(list, this);
}
