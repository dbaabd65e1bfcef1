#include "courts/u_courts.h"

#include "courts/u_kenngroessen.h"
#include "courts/u_preissetzen.h"
#include "data/store.h"
#include "ui/forms.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>

Tfrm_courts::Tfrm_courts(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_courts"), QStringLiteral("Court Center"), parent)
{
    resize(900, 640);
    // The floor the court tiles stand on.
    QPalette floor = body()->palette();
    floor.setColor(QPalette::Window, QColor(0, 128, 0));
    body()->setPalette(floor);
    body()->setAutoFillBackground(true);
    ed_courtnummer = new QLineEdit(body());
    ed_courtnummer->setObjectName(QStringLiteral("ed_courtnummer"));
    ed_courtnummer->hide();
    pm_courts = new QMenu(this);
    pm_courts->setObjectName(QStringLiteral("pm_courts"));
    auto entry = [this](const char* name, const QString& caption) {
        QAction* action = pm_courts->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnu_calculate = entry("mnu_calculate", QStringLiteral("calculate court"));
    pm_courts->addSeparator();
    mnu_courtreservations = entry("mnu_courtreservations", QStringLiteral("court reservations"));
    pm_courts->addSeparator();
    mnu_prices = entry("mnu_prices", QStringLiteral("price and courtdefinition"));
    pm_courts->addSeparator();
    mnu_parameters = entry("mnu_parameters", QStringLiteral("parameters"));
    pm_courts->addSeparator();
    mnu_deletecourt = entry("mnu_deletecourt", QStringLiteral("destroy court and its reservations"));
    pm_courts->addSeparator();
    mnu_bulpon = entry("mnu_bulpon", QStringLiteral("bulbon"));
    bulpoff1 = entry("bulpoff1", QStringLiteral("bulboff"));
    connect(mnu_prices, &QAction::triggered, this, &Tfrm_courts::mnu_pricesClick);
    connect(mnu_parameters, &QAction::triggered, this, &Tfrm_courts::mnu_parametersClick);
    btn_close = addCloseButton();
}

void Tfrm_courts::tm_laufzeitTimer() {}

void Tfrm_courts::mnu_pricesClick()
{
    if (forms().preissetzen)
        forms().preissetzen->showModal();
}

void Tfrm_courts::mnu_parametersClick()
{
    if (forms().kenngroessen)
        forms().kenngroessen->showModal();
}

void refreshCourtPlan()
{
    Tfrm_courts* courts = forms().courts;
    if (!courts)
        return;
    try {
        courts->tm_laufzeitTimer();
    } catch (const StoreError&) {
    }
}
