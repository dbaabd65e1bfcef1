#include "cards/u_kartenleser.h"

#include "cards/cardlayouts.h"
#include "cards/memberfilter.h"
#include "cards/tsmartcard.h"
#include "data/recordsetmodel.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/messages.h"
#include "ui/recordgrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QPlainTextEdit* memo(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setReadOnly(true);
    m->setAccessibleName(accessibleName);
    return m;
}

} // namespace

Tfrm_kartenleser::Tfrm_kartenleser(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_kartenleser"), QStringLiteral("Cardreader"), parent)
{
    membersModel_ = new RecordSetModel(&members_, this);
    membersModel_->setColumns(
        {{"Nachname", "Surname", 180, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Plain, true},
         {"Vorname", "First Name", 160, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Plain, true}});
    usersModel_ = new RecordSetModel(&users_, this);
    usersModel_->setColumns(
        {{"Benutzer", "User", 200, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Plain, true}});

    auto* layout = new QVBoxLayout(body());
    auto* panel = new QLabel(QStringLiteral("Cardreader"), body());
    panel->setObjectName(QStringLiteral("pnl_cardreader"));
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    panel->setStyleSheet(QStringLiteral("background: #c0c0c0; font-weight: bold; padding: 6px"));
    layout->addWidget(panel);
    pc_chipcard = new QTabWidget(body());
    pc_chipcard->setObjectName(QStringLiteral("pc_chipcard"));
    layout->addWidget(pc_chipcard, 1);
    setupSettingsPage();
    setupMembersPage();
    setupEmployeesPage();
    auto* status = new QWidget(body());
    setupStatus(status);
    layout->addWidget(status);
    btn_close = addCloseButton();

    sc_reader = new TSmartCard(this);
    sc_reader->setObjectName(QStringLiteral("sc_reader"));
    sc_reader->setStatusLabel(lbl_status);
    sc_reader->OnProgress = [this](int device, int progress) { sc_readerProgress(device, progress); };
    connect(pc_chipcard, &QTabWidget::currentChanged, this, &Tfrm_kartenleser::pc_chipcardChange);
    resize(640, 480);
}

void Tfrm_kartenleser::setupSettingsPage()
{
    ts_settings = new QWidget(pc_chipcard);
    ts_settings->setObjectName(QStringLiteral("ts_settings"));
    auto* grid = new QGridLayout(ts_settings);
    cb_cardreader = new QCheckBox(QStringLiteral("Use Cardreader"), ts_settings);
    cb_cardreader->setObjectName(QStringLiteral("cb_cardreader"));
    cb_members = new QCheckBox(QStringLiteral("Detect Membercards"), ts_settings);
    cb_members->setObjectName(QStringLiteral("cb_members"));
    cb_employs = new QCheckBox(QStringLiteral("Detect Employeecards"), ts_settings);
    cb_employs->setObjectName(QStringLiteral("cb_employs"));
    auto* title = new QLabel(QStringLiteral("C A R D   R E A D E R"), ts_settings);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    btn_takeover = button("btn_takeover", QStringLiteral("Take over settings"), ts_settings);
    grid->addWidget(cb_cardreader, 0, 0);
    grid->addWidget(cb_members, 1, 0);
    grid->addWidget(cb_employs, 2, 0);
    grid->addWidget(title, 0, 1, 3, 1, Qt::AlignCenter);
    grid->addWidget(btn_takeover, 3, 0, Qt::AlignLeft);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    connect(btn_takeover, &QPushButton::clicked, this, &Tfrm_kartenleser::btn_takeoverClick);
    pc_chipcard->addTab(ts_settings, QStringLiteral("Card reader settings"));
}

void Tfrm_kartenleser::setupMembersPage()
{
    ts_members = new QWidget(pc_chipcard);
    ts_members->setObjectName(QStringLiteral("ts_members"));
    auto* grid = new QGridLayout(ts_members);
    grid->addWidget(
        new QLabel(QStringLiteral("select a member from the list and click the  right button"), ts_members),
        0, 0, 1, 4);
    auto* surname = new QLabel(QStringLiteral("surname :"), ts_members);
    ed_nachname = new QLineEdit(ts_members);
    ed_nachname->setObjectName(QStringLiteral("ed_nachname"));
    surname->setBuddy(ed_nachname);
    btn_filter = button("btn_filter", QStringLiteral("Filter"), ts_members);
    btn_alle = button("btn_alle", QStringLiteral("All members"), ts_members);
    gr_members = new RecordGrid(QStringLiteral("gr_members"), QStringLiteral("Members"), ts_members);
    gr_members->setRecords(membersModel_);
    gr_members->setWholeRowSelection(true);
    me_members = memo("me_members", QStringLiteral("Membercard results"), ts_members);
    btn_member = button("btn_member", QStringLiteral("Generate membercard"), ts_members);
    grid->addWidget(surname, 1, 0);
    grid->addWidget(ed_nachname, 1, 1);
    grid->addWidget(btn_filter, 1, 2);
    grid->addWidget(btn_alle, 1, 3);
    grid->addWidget(gr_members, 2, 0, 1, 2);
    grid->addWidget(me_members, 2, 2, 1, 2);
    grid->addWidget(btn_member, 3, 2, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(btn_filter, &QPushButton::clicked, this, &Tfrm_kartenleser::btn_filterClick);
    connect(btn_alle, &QPushButton::clicked, this, &Tfrm_kartenleser::btn_alleClick);
    connect(btn_member, &QPushButton::clicked, this, &Tfrm_kartenleser::btn_memberClick);
    pc_chipcard->addTab(ts_members, QStringLiteral("Generate Membercard"));
}

void Tfrm_kartenleser::setupEmployeesPage()
{
    ts_employees = new QWidget(pc_chipcard);
    ts_employees->setObjectName(QStringLiteral("ts_employees"));
    auto* grid = new QGridLayout(ts_employees);
    grid->addWidget(
        new QLabel(QStringLiteral("select a user from the list and click the  right button"), ts_employees),
        0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("usage only for administrators"), ts_employees), 1, 0, 1, 2);
    gr_users = new RecordGrid(QStringLiteral("gr_users"), QStringLiteral("Users"), ts_employees);
    gr_users->setRecords(usersModel_);
    gr_users->setWholeRowSelection(true);
    me_employees = memo("me_employees", QStringLiteral("Employeecard results"), ts_employees);
    btn_employ = button("btn_employ", QStringLiteral("Generate employeecard"), ts_employees);
    grid->addWidget(gr_users, 2, 0);
    grid->addWidget(me_employees, 2, 1);
    grid->addWidget(btn_employ, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    connect(btn_employ, &QPushButton::clicked, this, &Tfrm_kartenleser::btn_employClick);
    pc_chipcard->addTab(ts_employees, QStringLiteral("Generate Employeecard"));
}

void Tfrm_kartenleser::setupStatus(QWidget* status)
{
    auto* row = new QHBoxLayout(status);
    row->setContentsMargins(0, 0, 0, 0);
    lbl_status = new QLabel(QStringLiteral("Cardreaderstatus"), status);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    GaugeSCard = new QProgressBar(status);
    GaugeSCard->setObjectName(QStringLiteral("GaugeSCard"));
    GaugeSCard->setAccessibleName(QStringLiteral("Card progress"));
    GaugeSCard->setRange(0, 100);
    GaugeSCard->setValue(0);
    // The style draws the percentage light where the navy bar lies under it and dark beside it.
    QPalette navy = GaugeSCard->palette();
    navy.setColor(QPalette::Highlight, QColor(0, 0, 128));
    navy.setColor(QPalette::HighlightedText, Qt::white);
    GaugeSCard->setPalette(navy);
    row->addWidget(lbl_status, 1);
    row->addWidget(GaugeSCard, 1);
}

void Tfrm_kartenleser::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        openAllMembers();
        users_.setReadOnly(true);
        users_.openTable(QStringLiteral("Rechte"));
        loadSettings();
    });
    me_members->clear();
    me_employees->clear();
    ed_nachname->clear();
    pc_chipcard->setCurrentWidget(ts_settings);
    pc_chipcardChange();
    try {
        sc_reader->setActive(Session::KartenleserAktiv);
    } catch (const SmartCardError& e) {
        Messages::error(e.message());
    }
    sc_reader->setLanguage(SmartCard::Language::English);
}

void Tfrm_kartenleser::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous()) {
        sc_reader->setActive(false);
        members_.close();
        users_.close();
        // Settings not taken over are dropped.
        settings_.close();
    }
    DeskWindow::hideEvent(event);
}

void Tfrm_kartenleser::loadSettings()
{
    settings_.openTable(QStringLiteral("Kartenleser"));
    const bool any = !settings_.isEmpty();
    cb_cardreader->setChecked(any && settings_.field(QStringLiteral("Aktiv")).asBoolean());
    cb_members->setChecked(any && settings_.field(QStringLiteral("FuerMitglieder")).asBoolean());
    cb_employs->setChecked(any && settings_.field(QStringLiteral("FuerAngestellte")).asBoolean());
}

void Tfrm_kartenleser::openAllMembers()
{
    members_.openTable(QStringLiteral("Mitglieder"), QStringLiteral("Zuname"));
}

void Tfrm_kartenleser::pc_chipcardChange()
{
    // The tab can be looked at by anyone; its controls serve the administrator only.
    ts_employees->setEnabled(Session::Benutzertyp == QLatin1String("Administrator"));
}

void Tfrm_kartenleser::btn_filterClick()
{
    runAction([this] {
        const MemberFilter::Select select = MemberFilter::select(
            {{QStringLiteral("Nachname"), ed_nachname->text()}}, QStringLiteral("Nachname"));
        members_.openQuery(select.sql, select.params);
    });
}

void Tfrm_kartenleser::btn_alleClick()
{
    runAction([this] { openAllMembers(); });
}

void Tfrm_kartenleser::btn_takeoverClick()
{
    try {
        if (!sc_reader->active())
            sc_reader->setActive(cb_cardreader->isChecked());
        Session::KartenleserAktiv = cb_cardreader->isChecked();
        Session::KarteFuerMitglieder = cb_members->isChecked();
        Session::KarteFuerAngestellte = cb_employs->isChecked();
        if (settings_.isEmpty())
            settings_.append();
        else
            settings_.edit();
        settings_.setField(QStringLiteral("Aktiv"), cb_cardreader->isChecked());
        settings_.setField(QStringLiteral("FuerMitglieder"), cb_members->isChecked());
        settings_.setField(QStringLiteral("FuerAngestellte"), cb_employs->isChecked());
        settings_.post();
    } catch (const std::exception&) {
        if (settings_.state() == RecordSet::State::Edit || settings_.state() == RecordSet::State::Insert)
            settings_.cancel();
        Messages::information(QStringLiteral("To run Cardreader you have to install the hardware !"));
    }
}

void Tfrm_kartenleser::writeCard(const QByteArray& record, QPlainTextEdit* memo, const QString& generated)
{
    memo->clear();
    GaugeSCard->setValue(0);
    try {
        sc_reader->CardCommand("Card,MemWrite,0," + QByteArray::number(CardLayout::memorySize),
                               CardLayout::clearing());
        sc_reader->CardCommand("Card,MemWrite,0," + QByteArray::number(record.size()), record);
        for (const QString& line :
             {QStringLiteral(" "), generated, QStringLiteral(" "),
              QStringLiteral("To generate a new card insert"), QStringLiteral("a new card.")})
            memo->appendPlainText(line);
    } catch (const SmartCardError& e) {
        memo->appendPlainText(QStringLiteral(" "));
        memo->appendPlainText(QStringLiteral("SmartcardException: ") + e.message());
    }
}

void Tfrm_kartenleser::btn_memberClick()
{
    if (!members_.isOpen() || members_.isEmpty())
        return;
    writeCard(CardLayout::Mitgliedskarte({members_.field(QStringLiteral("Mitgliedsnummer")).asInteger(),
                                          members_.field(QStringLiteral("Nachname")).asString(),
                                          members_.field(QStringLiteral("Vorname")).asString()}),
              me_members, QStringLiteral("Membercard generated."));
}

void Tfrm_kartenleser::btn_employClick()
{
    if (!users_.isOpen() || users_.isEmpty())
        return;
    writeCard(CardLayout::Angestelltenkarte({users_.field(QStringLiteral("Benutzer")).asString(),
                                             users_.field(QStringLiteral("Passwort")).asString()}),
              me_employees, QStringLiteral("Employecard generated."));
}

void Tfrm_kartenleser::sc_readerProgress(int, int progress)
{
    GaugeSCard->setValue(progress);
}
