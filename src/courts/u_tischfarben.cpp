#include "courts/u_tischfarben.h"

#include "courts/courtrecords.h"
#include "courts/tcourt.h"
#include "courts/u_courts.h"
#include "data/pendingrow.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/storedcolour.h"
#include "platform/messages.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/forms.h"
#include "ui/recordnavigator.h"

#include <QColorDialog>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_tischfarben::Tfrm_tischfarben(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_tischfarben"), QStringLiteral("Courtcolors"), parent)
{
    setHelpTopic(1300);
    cd_tischfarben = [this](const QColor& current) {
        return QColorDialog::getColor(current, this, QStringLiteral("Courtcolor"));
    };
    tbl_tischfarben = new RecordSet(this);
    tbl_tischfarben->afterScroll = [this] { showSample(); };

    auto* column = new QVBoxLayout(body());
    column->addWidget(heading(QStringLiteral("Set Courtcolors")));
    auto* grid = new QGridLayout;
    typeFields = new FieldForm(new RecordSetModel(tbl_tischfarben, this), body());
    typeFields->build(grid,
                      {{QStringLiteral("DBEdit2"), QStringLiteral("Courttype"), QStringLiteral("Tischtyp")},
                       {QStringLiteral("RxDBComboBox1"),
                        QStringLiteral("Courtpicture"),
                        QStringLiteral("Tischbild"),
                        FormField::Kind::Choice,
                        {{QStringLiteral("Tennis Court"), 1}, {QStringLiteral("Squash Court"), 2}}}});
    typeFields->label(QStringLiteral("DBEdit2"))->setObjectName(QStringLiteral("lbl_tischtyp"));
    typeFields->label(QStringLiteral("RxDBComboBox1"))->setObjectName(QStringLiteral("lbl_bild"));
    if (auto* name = qobject_cast<QLineEdit*>(typeFields->control(QStringLiteral("DBEdit2"))))
        name->setReadOnly(true);
    RxDBComboBox1 = qobject_cast<ChoiceBox*>(typeFields->control(QStringLiteral("RxDBComboBox1")));
    // The sample shows a chosen picture at once; leaving the list stores it.
    connect(RxDBComboBox1, &QComboBox::activated, this,
            [this](int index) { pnl_farbe->setPicture(RxDBComboBox1->itemData(index).toInt()); });
    RxDBComboBox1->installEventFilter(this);
    column->addLayout(grid);

    DBNavigator1 = new RecordNavigator(body());
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last);
    DBNavigator1->setRecords(tbl_tischfarben);
    DBNavigator1->setMapper(typeFields->mapper());
    column->addWidget(DBNavigator1, 0, Qt::AlignLeft);

    auto* sampleRow = new QHBoxLayout;
    auto* sampleArea = new QWidget(body());
    sampleArea->setFixedSize(CourtPlan::tileWidth + 8, CourtPlan::tileHeight + 8);
    pnl_farbe = new tcourt(sampleArea);
    pnl_farbe->setObjectName(QStringLiteral("pnl_farbe"));
    pnl_farbe->move(4, 4);
    pnl_farbe->imagecourt->setObjectName(QStringLiteral("im_head"));
    pnl_farbe->setLook({0, {4, 4}, true, CourtPlan::defaultTileColour, 0, QStringLiteral("court type")});
    pnl_farbe->lbl_courtnummer->setText(QStringLiteral("99"));
    pnl_farbe->lbl_courtnummer->adjustSize();
    pnl_farbe->setFocusPolicy(Qt::NoFocus);
    CourtPlan::TileTimes markers;
    markers.players = markers.notCalculated = true;
    pnl_farbe->showTimes(markers);
    sampleRow->addWidget(sampleArea);
    btn_tischfarbe = new QPushButton(QStringLiteral("&select courtcolor"), body());
    btn_tischfarbe->setObjectName(QStringLiteral("btn_tischfarbe"));
    btn_tischfarbe->setAutoDefault(false);
    connect(btn_tischfarbe, &QPushButton::clicked, this, &Tfrm_tischfarben::btn_tischfarbeClick);
    sampleRow->addWidget(btn_tischfarbe, 0, Qt::AlignVCenter);
    sampleRow->addStretch();
    column->addLayout(sampleRow);
    column->addStretch();

    btn_ok = addBottomButton(QStringLiteral("btn_ok"), QStringLiteral("&OK"));
    connect(btn_ok, &QPushButton::clicked, this, &Tfrm_tischfarben::btn_okClick);
    resize(420, 360);
}

void Tfrm_tischfarben::showSample()
{
    if (tbl_tischfarben->eof() && tbl_tischfarben->bof())
        return;
    pnl_farbe->setColour(colourFromStored(tbl_tischfarben->field(QStringLiteral("Tischfarbe")).asInteger()));
    const int picture = tbl_tischfarben->field(QStringLiteral("Tischbild")).asInteger();
    // A type without a known picture leaves the previous one on the sample.
    if (picture == 1 || picture == 2)
        pnl_farbe->setPicture(picture);
}

void Tfrm_tischfarben::btn_tischfarbeClick()
{
    const QColor chosen = cd_tischfarben(pnl_farbe->colour());
    if (chosen.isValid())
        takeColour(chosen);
}

void Tfrm_tischfarben::takeColour(const QColor& colour)
{
    if (CourtRecords::isReservedColour(colour)) {
        Messages::information(CourtRecords::reservedColours);
        return;
    }
    runAction([&] {
        tbl_tischfarben->edit();
        tbl_tischfarben->setField(QStringLiteral("Tischfarbe"), storedColour(colour));
        tbl_tischfarben->post();
        pnl_farbe->setColour(colour);
    });
}

bool Tfrm_tischfarben::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RxDBComboBox1 && event->type() == QEvent::FocusOut && tbl_tischfarben->isOpen()) {
        typeFields->writeControls();
        postOrDrop(*tbl_tischfarben);
        showSample();
    }
    return DeskWindow::eventFilter(watched, event);
}

void Tfrm_tischfarben::btn_okClick()
{
    closeTable();
    if (Tfrm_courts* plan = forms().courts) {
        plan->removeAllTiles();
        // Hiding keeps the plan's place; showing it again builds every tile anew.
        if (plan->isVisible()) {
            plan->hide();
            plan->showIndependent();
        }
    }
    done(QDialog::Accepted);
}

void Tfrm_tischfarben::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        tbl_tischfarben->openTable(QStringLiteral("Tischfarben"), QStringLiteral("TypNr"));
        tbl_tischfarben->first();
        showSample();
    });
}

void Tfrm_tischfarben::closeTable()
{
    if (!tbl_tischfarben->isOpen())
        return;
    typeFields->writeControls();
    postOrDrop(*tbl_tischfarben);
    tbl_tischfarben->close();
}

void Tfrm_tischfarben::closeEvent(QCloseEvent* event)
{
    closeTable();
    DeskWindow::closeEvent(event);
}
