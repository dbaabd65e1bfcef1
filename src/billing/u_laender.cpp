#include "billing/u_laender.h"

#include "billing/u_abrechnung.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "billing/u_tagesabrechnung.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

void showCurrencyText(const QString& currency)
{
    Forms& f = forms();
    if (f.abrechnung)
        f.abrechnung->lbl_abrechnen->setText(currency);
    if (f.abschluesse)
        f.abschluesse->lbl_summew->setText(currency);
    if (f.alleabschluessereport)
        f.alleabschluessereport->lbl_summew->setText(currency);
    if (f.tagesabrechnung)
        f.tagesabrechnung->lbl_summew->setText(currency);
}

Tfrm_laender::Tfrm_laender(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_laender"), QStringLiteral("Currency"), parent)
{
    setHelpTopic(1400);
    tbl_laender = new RecordSet(this);
    tbl_laender->setReadOnly(true);
    model_ = new RecordSetModel(tbl_laender, this);
    model_->setColumns({{QStringLiteral("Land"), QStringLiteral("Country"), 180},
                        {QStringLiteral("Währung"), QStringLiteral("Currency"), 80}});

    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("Select the Currency of your Country"));
    layout->addWidget(lbl_head);

    auto* grid = new QGridLayout;
    DBGrid1 = new RecordGrid(QStringLiteral("DBGrid1"), QStringLiteral("Countries and currencies"), body());
    DBGrid1->setRecords(model_);
    DBGrid1->setWholeRowSelection(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->addWidget(DBGrid1, 0, 0, 4, 1);
    DBNavigator1 = new RecordNavigator(body());
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last);
    DBNavigator1->setRecords(tbl_laender);
    grid->addWidget(DBNavigator1, 4, 0, Qt::AlignLeft);

    lbl_waehrung = new QLabel(QStringLiteral("Currency"), body());
    lbl_waehrung->setObjectName(QStringLiteral("lbl_waehrung"));
    ed_waehrung = new QLineEdit(body());
    ed_waehrung->setObjectName(QStringLiteral("ed_waehrung"));
    ed_waehrung->setMaxLength(6);
    ed_waehrung->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
    lbl_waehrung->setBuddy(ed_waehrung);
    auto* field = new QHBoxLayout;
    field->addWidget(lbl_waehrung);
    field->addWidget(ed_waehrung);
    grid->addLayout(field, 0, 1);
    btn_uebernehmen = new QPushButton(QStringLiteral("Take over selected currency"), body());
    btn_uebernehmen->setObjectName(QStringLiteral("btn_uebernehmen"));
    btn_uebernehmen->setAutoDefault(false);
    grid->addWidget(btn_uebernehmen, 1, 1);
    Memo1 = new QPlainTextEdit(body());
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(QStringLiteral("How to choose the currency"));
    Memo1->setStyleSheet(QStringLiteral("background: rgb(192, 192, 192);"));
    Memo1->setPlainText(QStringList{
        QStringLiteral("to show your currency on the "), QStringLiteral("whole application select your"),
        QStringLiteral("currency on the left list and"),
        QStringLiteral("click the 'take over selected currency'"), QStringLiteral("button."), QString(),
        QStringLiteral("if your currency is not available"),
        QStringLiteral("on the list then input your currency"),
        QStringLiteral("in the green currency field and "), QStringLiteral("after that click the "),
        QStringLiteral("'take over selected currency' button.")}
                            .join(QLatin1Char('\n')));
    grid->addWidget(Memo1, 2, 1, 3, 1);
    lbl_land = new QLabel(QStringLiteral("country"), body());
    lbl_land->setObjectName(QStringLiteral("lbl_land"));
    lbl_land->hide();
    grid->setColumnStretch(0, 1);
    layout->addLayout(grid, 1);

    // Each row the desk moves to proposes its currency; the field may then be overwritten.
    connect(tbl_laender, &RecordSet::currentChanged, this, [this] {
        if (tbl_laender->recNo() >= 0)
            ed_waehrung->setText(tbl_laender->field(QStringLiteral("Währung")).asString());
    });
    connect(btn_uebernehmen, &QPushButton::clicked, this, &Tfrm_laender::btn_uebernehmenClick);
    btn_close = addCloseButton();
    resize(600, 400);
}

void Tfrm_laender::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        tbl_laender->openTable(QStringLiteral("Länder"));
        ed_waehrung->setText(tbl_laender->field(QStringLiteral("Währung")).asString());
    });
}

void Tfrm_laender::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        tbl_laender->close();
    DeskWindow::hideEvent(event);
}

void Tfrm_laender::btn_uebernehmenClick()
{
    const QString currency = ed_waehrung->text();
    if (!Registry::setValue(QStringLiteral("Waehrung"), currency)) {
        Messages::error(QStringLiteral("The currency could not be stored in %1.").arg(Registry::filePath()));
        return;
    }
    showCurrencyText(currency);
    close();
}
