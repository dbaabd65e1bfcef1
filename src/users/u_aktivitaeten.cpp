#include "users/u_aktivitaeten.h"

#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_aktivitaeten::Tfrm_aktivitaeten(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_aktivitaeten"), QStringLiteral("View Activities"), parent)
{
    qry_aktivitaeten = new RecordSet(this);
    qry_aktivitaeten->setReadOnly(true);
    model_ = new RecordSetModel(qry_aktivitaeten, this);
    model_->setColumns({
        {QStringLiteral("Aufzeichnung"), QStringLiteral("Cancel Date"), 140, Qt::AlignLeft | Qt::AlignVCenter,
         GridColumn::Display::DateTime},
        {QStringLiteral("Datum"), QStringLiteral("Reservation"), 90, Qt::AlignLeft | Qt::AlignVCenter,
         GridColumn::Display::Date},
        {QStringLiteral("Platz"), QStringLiteral("Court"), 50, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("Reservierer"), QStringLiteral("Reservator"), 180},
        {QStringLiteral("Startzeit"), QStringLiteral("Begin"), 80},
        {QStringLiteral("Laufzeit"), QStringLiteral("Quaters"), 60, Qt::AlignRight | Qt::AlignVCenter},
    });

    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("Cancel Activities from the employees"));
    layout->addWidget(lbl_head);
    DBGrid1 = new RecordGrid(QStringLiteral("DBGrid1"), QStringLiteral("Cancel activities"), body());
    DBGrid1->setRecords(model_);
    DBGrid1->setWholeRowSelection(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(DBGrid1, 1);
    DBNavigator1 = new RecordNavigator(body());
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last);
    DBNavigator1->setRecords(qry_aktivitaeten);
    auto* row = new QHBoxLayout;
    row->addWidget(DBNavigator1);
    row->addStretch();
    layout->addLayout(row);
    btn_close = addCloseButton();
    resize(700, 420);
}

void Tfrm_aktivitaeten::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (!event->spontaneous())
        runAction([this] {
            qry_aktivitaeten->openQuery(
                QStringLiteral("select * from Aktivitaet order by Aufzeichnung desc,Datum,Platz"));
        });
}

void Tfrm_aktivitaeten::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        qry_aktivitaeten->close();
    DeskWindow::hideEvent(event);
}
