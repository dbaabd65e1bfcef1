#include "courts/u_tischerzeugen.h"

#include "courts/courtplan.h"
#include "courts/courtrecords.h"
#include "courts/u_courts.h"
#include "data/query.h"
#include "data/store.h"
#include "platform/messages.h"
#include "ui/forms.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

Tfrm_tischerzeugen::Tfrm_tischerzeugen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_tischerzeugen"), QStringLiteral("add a court"), parent)
{
    setKeepsPlacement(false);
    auto* grid = new QGridLayout(body());
    lbl_tischneu = new QLabel(QStringLiteral("New Courtnumber"), body());
    lbl_tischneu->setObjectName(QStringLiteral("lbl_tischneu"));
    ed_tischnummer = new QLineEdit(body());
    ed_tischnummer->setObjectName(QStringLiteral("ed_tischnummer"));
    ed_tischnummer->setMaxLength(2);
    lbl_tischneu->setBuddy(ed_tischnummer);
    lbl_typ = new QLabel(QStringLiteral("Courttype"), body());
    lbl_typ->setObjectName(QStringLiteral("lbl_typ"));
    dlcb_tischtypen = new QComboBox(body());
    dlcb_tischtypen->setObjectName(QStringLiteral("dlcb_tischtypen"));
    lbl_typ->setBuddy(dlcb_tischtypen);
    btn_neuertisch = new QPushButton(QStringLiteral("&Add Court"), body());
    btn_neuertisch->setObjectName(QStringLiteral("btn_neuertisch"));
    btn_neuertisch->setAutoDefault(false);
    connect(btn_neuertisch, &QPushButton::clicked, this, &Tfrm_tischerzeugen::btn_neuertischClick);
    grid->addWidget(lbl_tischneu, 0, 0);
    grid->addWidget(ed_tischnummer, 0, 1);
    grid->addWidget(lbl_typ, 1, 0);
    grid->addWidget(dlcb_tischtypen, 1, 1);
    grid->addWidget(btn_neuertisch, 2, 1);
    btn_close = addCloseButton();
    setFixedDialogSize(QSize(300, 150));
}

void Tfrm_tischerzeugen::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    dlcb_tischtypen->clear();
    runAction([this] {
        Query types(QStringLiteral("select TypNr, Tischtyp from Tischfarben order by Tischtyp"));
        for (types.open(); !types.eof(); types.next())
            dlcb_tischtypen->addItem(types.field(1).asString(), types.field(0).asInteger());
    });
    // Nothing is chosen until the desk picks a type.
    dlcb_tischtypen->setCurrentIndex(-1);
    ed_tischnummer->setFocus();
}

void Tfrm_tischerzeugen::btn_neuertischClick()
{
    int court = 0;
    const CourtRecords::NewCourt check =
        CourtRecords::checkNewCourt(dlcb_tischtypen->currentText(), ed_tischnummer->text(), court);
    if (check != CourtRecords::NewCourt::Ok) {
        Messages::information(CourtRecords::message(check));
        if (check == CourtRecords::NewCourt::NoType)
            dlcb_tischtypen->setFocus();
        else
            ed_tischnummer->setFocus();
        return;
    }
    const int typNr = dlcb_tischtypen->currentData().toInt();
    try {
        CourtRecords::installCourt(court, typNr);
    } catch (const StoreError& e) {
        Messages::information(CourtRecords::notInstalled);
        ed_tischnummer->setFocus();
        // The store's own message follows, as for every failed write.
        Messages::error(e.message());
        return;
    }
    runAction([&] {
        if (Tfrm_courts* plan = forms().courts)
            plan->addTile(CourtPlan::newTileLook(court, typNr));
    });
}
