#include "billing/u_tagesabrechnung.h"

#include "billing/dailyaccount.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "ui/recordgrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_Tagesabrechnung::Tfrm_Tagesabrechnung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_Tagesabrechnung"), QStringLiteral("Daily Account"), parent)
{
    setHelpTopic(1000);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    qry_detail = new RecordSet(this);
    qry_detail->setReadOnly(true);
    model_ = new RecordSetModel(qry_detail, this);
    const Qt::Alignment centred = Qt::AlignCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    model_->setColumns({
        {QStringLiteral("Tischnummer"), QStringLiteral("Court"), 50, right},
        {QStringLiteral("Reservierer"), QStringLiteral("Reservator"), 180},
        {QStringLiteral("Startzeit"), QStringLiteral("Start"), 160, centred, GridColumn::Display::DateTime},
        {QStringLiteral("Quaters"), QStringLiteral("Quaters"), 60, right},
        {QStringLiteral("Betrag"), QStringLiteral("Bill"), 80, right, GridColumn::Display::Money},
        {QStringLiteral("Einschreibdatum"), QStringLiteral("Court Calculated"), 140, centred,
         GridColumn::Display::DateTime},
    });

    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("Daily Account"));
    layout->addWidget(lbl_head);
    dgr_tagesabr = new RecordGrid(QStringLiteral("dgr_tagesabr"), QStringLiteral("Open bills"), body());
    dgr_tagesabr->setRecords(model_);
    dgr_tagesabr->setWholeRowSelection(true);
    dgr_tagesabr->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dgr_tagesabr->horizontalHeader()->setStyleSheet(QStringLiteral("color: navy;"));
    layout->addWidget(dgr_tagesabr, 1);

    auto* sums = new QHBoxLayout;
    lbl_summe = new QLabel(QStringLiteral("Sum "), body());
    lbl_summe->setObjectName(QStringLiteral("lbl_summe"));
    ed_courtbetrag = new QLineEdit(body());
    ed_courtbetrag->setObjectName(QStringLiteral("ed_courtbetrag"));
    ed_courtbetrag->setReadOnly(true);
    ed_courtbetrag->setAlignment(Qt::AlignRight);
    ed_courtbetrag->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
    lbl_summe->setBuddy(ed_courtbetrag);
    lbl_summew = new QLabel(body());
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    lbl_datum = new QLabel(QStringLiteral("Account Date"), body());
    lbl_datum->setObjectName(QStringLiteral("lbl_datum"));
    ed_datum = new QLineEdit(body());
    ed_datum->setObjectName(QStringLiteral("ed_datum"));
    ed_datum->setReadOnly(true);
    lbl_datum->setBuddy(ed_datum);
    sums->addWidget(lbl_summe);
    sums->addWidget(ed_courtbetrag);
    sums->addWidget(lbl_summew);
    sums->addSpacing(24);
    sums->addWidget(lbl_datum);
    sums->addWidget(ed_datum, 1);
    layout->addLayout(sums);

    btn_abrechnen = addBottomButton(QStringLiteral("btn_abrechnen"), QStringLiteral("Generate Account"));
    btn_preview = addBottomButton(QStringLiteral("btn_preview"), QStringLiteral("just look for actual sum"));
    btn_close = addCloseButton();
    connect(btn_abrechnen, &QPushButton::clicked, this, &Tfrm_Tagesabrechnung::btn_abrechnenClick);
    connect(btn_preview, &QPushButton::clicked, this, &Tfrm_Tagesabrechnung::btn_previewClick);
    resize(720, 420);
}

void Tfrm_Tagesabrechnung::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    btn_abrechnen->setEnabled(true);
    ed_courtbetrag->setText(DisplayFormat::money(0));
    ed_datum->clear();
    runAction([this] {
        qry_detail->openQuery(QStringLiteral(
            "select * from Tischabrechnung where Abgerechnet=false order by Tischnummer,Einschreibdatum"));
    });
}

void Tfrm_Tagesabrechnung::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        qry_detail->close();
    DeskWindow::hideEvent(event);
}

void Tfrm_Tagesabrechnung::refreshLines()
{
    if (isVisible() && btn_abrechnen->isEnabled() && qry_detail->isOpen())
        runAction([this] { qry_detail->refresh(); });
}

void Tfrm_Tagesabrechnung::btn_abrechnenClick()
{
    // The list is not read again: it keeps showing the lines just closed, with their sum.
    runAction([this] {
        const DailyAccount::Closed closed = DailyAccount::close(DayCount::now());
        ed_courtbetrag->setText(DisplayFormat::money(closed.sum));
        ed_datum->setText(DisplayFormat::dateLongTime(closed.moment));
        btn_abrechnen->setEnabled(false);
    });
}

void Tfrm_Tagesabrechnung::btn_previewClick()
{
    runAction([this] { ed_courtbetrag->setText(DisplayFormat::money(DailyAccount::openSum())); });
}
