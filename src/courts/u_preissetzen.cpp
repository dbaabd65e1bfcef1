#include "courts/u_preissetzen.h"

#include "courts/courtrecords.h"
#include "data/pendingrow.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_preissetzen::Tfrm_preissetzen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_preissetzen"), QStringLiteral("Courtprices"), parent)
{
    tbl_tischtypen = new RecordSet(this);
    tbl_tischtypen->onNewRecord = [this] {
        tbl_tischtypen->setField(QStringLiteral("TypNr"), CourtRecords::nextTypNr());
    };
    tbl_tischtypen->beforeInsertWrite = [this] { CourtRecords::confirmTypNr(*tbl_tischtypen); };
    auto* model = new RecordSetModel(tbl_tischtypen, this);
    model->setColumns({{QStringLiteral("Tischtyp"), QStringLiteral("Courttype"), 160},
                       // As stored, like the receipt shows it: money decimals would round 0.5 to 1.
                       {QStringLiteral("Stundenpreis"), QStringLiteral("Price per hour"), 110,
                        Qt::AlignRight | Qt::AlignVCenter}});

    auto* column = new QVBoxLayout(body());
    column->addWidget(heading(QStringLiteral("Define price per hour")));
    dgr_minutenpreis =
        new RecordGrid(QStringLiteral("dgr_minutenpreis"), QStringLiteral("Courtprices"), body());
    dgr_minutenpreis->setRecords(model);
    dgr_minutenpreis->setWholeRowSelection(true);
    column->addWidget(dgr_minutenpreis, 1);

    auto* fields = new QGridLayout;
    typeFields = new FieldForm(new RecordSetModel(tbl_tischtypen, this), body());
    typeFields->build(fields,
                      {{QStringLiteral("DBEdit2"), QStringLiteral("Courttype"), QStringLiteral("Tischtyp")},
                       {QStringLiteral("DBEdit1"), QStringLiteral("Price per hour"),
                        QStringLiteral("Stundenpreis"), FormField::Kind::Number}});
    column->addLayout(fields);

    DBNavigator1 = new RecordNavigator(body());
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(
        RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next | RecordNavigator::Last |
        RecordNavigator::Insert | RecordNavigator::Delete | RecordNavigator::Post | RecordNavigator::Cancel);
    DBNavigator1->setRecords(tbl_tischtypen);
    DBNavigator1->setMapper(typeFields->mapper());
    DBNavigator1->setGrid(dgr_minutenpreis);
    column->addWidget(DBNavigator1, 0, Qt::AlignLeft);

    lbl_hilfe =
        new QLabel(QStringLiteral("To add a new courtype click the + on the navigator.\n"
                                  "To change courtname or courtprice click the courtrow in the grid and "
                                  "input the name or price in the fields.\n"
                                  "If you want to cancel changes click the X on the navigator.\n"
                                  "If you want to delete a courttype so click the -- on the navigator."),
                   body());
    lbl_hilfe->setObjectName(QStringLiteral("lbl_hilfe"));
    lbl_hilfe->setWordWrap(true);
    column->addWidget(lbl_hilfe);
    btn_close = addCloseButton();
    resize(520, 480);
}

void Tfrm_preissetzen::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        tbl_tischtypen->openQuery(
            QStringLiteral("select TypNr, Tischtyp, Stundenpreis from Tischfarben order by TypNr"));
    });
}

void Tfrm_preissetzen::closeEvent(QCloseEvent* event)
{
    if (tbl_tischtypen->isOpen()) {
        dgr_minutenpreis->commitEditor();
        typeFields->writeControls();
        postOrDrop(*tbl_tischtypen);
        tbl_tischtypen->close();
    }
    DeskWindow::closeEvent(event);
}
