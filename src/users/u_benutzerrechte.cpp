#include "users/u_benutzerrechte.h"

#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/store.h"
#include "ui/fieldform.h"
#include "ui/recordnavigator.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

using Kind = FormField::Kind;

// The rights an employee can be given here, in the order of the boxes; "Benutzerrechte" comes with
// the installation and is not offered.
const QVector<FormField> rightBoxes{
    {QStringLiteral("dbc_9"), QStringLiteral("Members"), QStringLiteral("Mitglieder"), Kind::Boolean},
    {QStringLiteral("dbc_10"), QStringLiteral("Parameters"), QStringLiteral("Kenngroessen"), Kind::Boolean},
    {QStringLiteral("dbc_14"), QStringLiteral("Prices"), QStringLiteral("Preise"), Kind::Boolean},
    {QStringLiteral("dbc_15"), QStringLiteral("Stock"), QStringLiteral("Inventar"), Kind::Boolean},
    {QStringLiteral("dbc_16"), QStringLiteral("all daily accounts"), QStringLiteral("Abschluesse"),
     Kind::Boolean},
    {QStringLiteral("dbc_17"), QStringLiteral("Courtcolors"), QStringLiteral("Tischfarben"), Kind::Boolean},
    {QStringLiteral("dbc_21"), QStringLiteral("Courtadministration"), QStringLiteral("Tischverwaltung"),
     Kind::Boolean},
    {QStringLiteral("dbc_22"), QStringLiteral("daily account"), QStringLiteral("Tagesabschluss"),
     Kind::Boolean},
    {QStringLiteral("dbc_23"), QStringLiteral("Cardreader"), QStringLiteral("Chipkarte"), Kind::Boolean},
    {QStringLiteral("dbc_25"), QStringLiteral("watch cancel activities"), QStringLiteral("Aktivitaeten"),
     Kind::Boolean},
    {QStringLiteral("DBCheckBox2"), QStringLiteral("Lightsettings"), QStringLiteral("Lichteinundaus"),
     Kind::Boolean},
    {QStringLiteral("DBCheckBox3"), QStringLiteral("Save && Restore"), QStringLiteral("Archiv"),
     Kind::Boolean},
    {QStringLiteral("DBCheckBox4"), QStringLiteral("List of names"), QStringLiteral("ListofNames"),
     Kind::Boolean},
    {QStringLiteral("DBCheckBox5"), QStringLiteral("set currency"), QStringLiteral("Laenderwahl"),
     Kind::Boolean},
    {QStringLiteral("DBCheckBox6"), QStringLiteral("look courtstatistic"), QStringLiteral("Tischstatistik"),
     Kind::Boolean},
};

QLabel* note(const char* name, const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(QStringLiteral("color: maroon;"));
    return label;
}

} // namespace

Tfrm_benutzerrechte::Tfrm_benutzerrechte(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_benutzerrechte"), QStringLiteral("Userrights Settings"), parent)
{
    setHelpTopic(1625);
    qry_administrator = new RecordSet(this);
    qry_user = new RecordSet(this);
    auto* layout = new QVBoxLayout(body());
    setupAdministrator();
    setupUsers();
    layout->addWidget(gb_administrator);
    layout->addWidget(gb_users, 1);
    btn_close = addCloseButton();
}

void Tfrm_benutzerrechte::setupAdministrator()
{
    gb_administrator = new QGroupBox(QStringLiteral("Administrator password"), body());
    gb_administrator->setObjectName(QStringLiteral("gb_administrator"));
    auto* grid = new QGridLayout(gb_administrator);
    administratorFields = new FieldForm(new RecordSetModel(qry_administrator, this), gb_administrator);
    administratorFields->build(
        grid, {{QStringLiteral("DBEdit1"), QStringLiteral("Change Password"), QStringLiteral("Passwort")}});
    grid->addWidget(note("Label1", "don't forget your ADMINISTRATOR password !!!", gb_administrator), 1, 1);
    administratorFields->build(grid,
                               {{QStringLiteral("DBCheckBox1"), QStringLiteral("Login on applicationstart"),
                                 QStringLiteral("Login"), Kind::Boolean}},
                               2);
    btn_takeover1 = new QPushButton(QStringLiteral("&Take over"), gb_administrator);
    btn_takeover1->setObjectName(QStringLiteral("btn_takeover1"));
    btn_takeover1->setAutoDefault(false);
    grid->addWidget(btn_takeover1, 2, 2);
    grid->setColumnStretch(1, 1);
    connect(btn_takeover1, &QPushButton::clicked, this, &Tfrm_benutzerrechte::btn_takeover1Click);
}

void Tfrm_benutzerrechte::setupUsers()
{
    gb_users = new QGroupBox(QStringLiteral("Userrights"), body());
    gb_users->setObjectName(QStringLiteral("gb_users"));
    auto* column = new QVBoxLayout(gb_users);
    auto* names = new QGridLayout;
    userFields = new FieldForm(new RecordSetModel(qry_user, this), gb_users);
    userFields->build(
        names,
        {{QStringLiteral("DBEdit3"), QStringLiteral("Change Username"), QStringLiteral("Benutzer")},
         {QStringLiteral("DBEdit2"), QStringLiteral("Change Userpassword"), QStringLiteral("Passwort")}});
    names->setColumnStretch(1, 1);
    column->addLayout(names);
    column->addWidget(
        note("lbl_vergessen", "Important.Don't forget your administrator password !!", gb_users));

    DBNavigator1 = new RecordNavigator(gb_users);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last);
    DBNavigator1->setRecords(qry_user);
    DBNavigator1->setMapper(userFields->mapper());
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(DBNavigator1);
    navigation->addStretch();
    column->addLayout(navigation);

    gb_menue = new QGroupBox(QStringLiteral("Rights for the users"), gb_users);
    gb_menue->setObjectName(QStringLiteral("gb_menue"));
    auto* boxes = new QGridLayout(gb_menue);
    userFields->build(boxes, rightBoxes, 0, 3);
    column->addWidget(gb_menue);

    btn_takeover2 = new QPushButton(QStringLiteral("T&ake over"), gb_users);
    btn_takeover2->setObjectName(QStringLiteral("btn_takeover2"));
    btn_takeover2->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btn_takeover2);
    column->addLayout(row);
    connect(btn_takeover2, &QPushButton::clicked, this, &Tfrm_benutzerrechte::btn_takeover2Click);
}

void Tfrm_benutzerrechte::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        qry_administrator->openQuery(
            QStringLiteral("select Passwort,Login from Rechte where Type='Administrator'"));
        qry_user->openQuery(QStringLiteral("select * from Rechte where Type <> 'Administrator'"));
    });
}

void Tfrm_benutzerrechte::hideEvent(QHideEvent* event)
{
    // What was not taken over is dropped with the record sets.
    if (!event->spontaneous()) {
        qry_administrator->close();
        qry_user->close();
    }
    DeskWindow::hideEvent(event);
}

void Tfrm_benutzerrechte::btn_takeover1Click()
{
    runAction([this] {
        administratorFields->writeControls();
        qry_administrator->post();
    });
}

void Tfrm_benutzerrechte::btn_takeover2Click()
{
    // The employee's row is stored as far as it goes; a refusal is not reported here.
    try {
        userFields->writeControls();
        qry_user->post();
    } catch (const StoreError&) {
    }
}
