#include "reservations/u_reservieren.h"

#include "cards/membercard.h"
#include "cards/tsmartcard.h"
#include "courts/u_courts.h"
#include "data/calculations.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/query.h"
#include "data/recordset.h"
#include "data/session.h"
#include "data/store.h"
#include "platform/messages.h"
#include "reservations/lookupbox.h"
#include "reservations/occupancy.h"
#include "reservations/quartergrid.h"
#include "reservations/reservationstore.h"
#include "reservations/schedule.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int reservationColumn = 1;

QDoubleSpinBox* discountField(const char* name, QWidget* parent)
{
    auto* field = new QDoubleSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(0, 100);
    field->setDecimals(2);
    field->setToolTip(QStringLiteral("discount"));
    field->setAccessibleName(QStringLiteral("discount"));
    field->setLocale(QLocale::c());
    return field;
}

} // namespace

Tfrm_reservieren::Tfrm_reservieren(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_reservieren"), QStringLiteral("Reservation"), parent)
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* top = new QWidget(body());
    grid_ = new QuarterGrid(QuarterGeometry::reservation());
    setupTopBar(top);
    layout->addWidget(top);

    grid_->setObjectName(QStringLiteral("pnl_tagesstunden"));
    grid_->setAccessibleName(QStringLiteral("Court quarter-hours of the day"));
    sb_reservieren = new QScrollArea(body());
    sb_reservieren->setObjectName(QStringLiteral("sb_reservieren"));
    sb_reservieren->setWidget(grid_);
    sb_reservieren->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sb_reservieren->setFrameShape(QFrame::NoFrame);
    layout->addWidget(sb_reservieren, 1);
    connect(grid_, &QuarterGrid::quarterReleased, this, &Tfrm_reservieren::sh_standardMouseUp);
    grid_->columnTitle = [this](int) { return lbl_wochentag1->text() + QLatin1Char(' ') + lbl_tag1->text(); };
    grid_->bookingText = [this](int, int hour, int court, int quarter) {
        QString text;
        runAction([&] {
            if (const auto booking = Schedule::bookingAt(datum_, Slot{hour, quarter, court}))
                text = Schedule::bookingText(*booking);
        });
        return text;
    };

    pc_player = new QTabWidget(body());
    pc_player->setObjectName(QStringLiteral("pc_player"));
    setupPlayerPage();
    setupMemberPage();
    layout->addWidget(pc_player);

    BitBtn2 = addBottomButton(QStringLiteral("BitBtn2"), QStringLiteral("&Add Reservation"));
    btn_close = addCloseButton();
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrm_reservieren::BitBtn2Click);
    pb_speichern = new QProgressBar(this);
    pb_speichern->setObjectName(QStringLiteral("pb_speichern"));
    pb_speichern->setRange(0, courtCount);
    pb_speichern->setValue(0);
    pb_speichern->setTextVisible(false);
    pb_speichern->setAccessibleName(QStringLiteral("Saving"));
    layout->addWidget(pb_speichern);

    ed_tag = new QLineEdit(this);
    ed_tag->setObjectName(QStringLiteral("ed_tag"));
    ed_tag->hide();
    ed_stunde = new QLineEdit(this);
    ed_stunde->setObjectName(QStringLiteral("ed_stunde"));
    ed_stunde->hide();

    // As wide as the hour labels, the hour cells and a scroll bar; as high as the day heading,
    // three hours of slots and the player inputs with the buttons below them.
    setFixedDialogSize(
        QSize(grid_->width() + sb_reservieren->verticalScrollBar()->sizeHint().width() + 24, 660));
}

void Tfrm_reservieren::setupTopBar(QWidget* top)
{
    const QuarterGeometry& g = grid_->geometry();
    auto* column = new QVBoxLayout(top);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* heads = new QWidget(top);
    heads->setFixedHeight(22);
    column->addWidget(heads);
    column->addWidget(new CourtStrip(g, false, top));

    lbl_uhr = new QLabel(heads);
    lbl_uhr->setObjectName(QStringLiteral("lbl_uhr"));
    lbl_uhr->setGeometry(0, 0, g.labelWidth, 22);
    const QRect cell = g.cellRect(reservationColumn, 1);
    lbl_wochentag1 = new QLabel(heads);
    lbl_wochentag1->setObjectName(QStringLiteral("lbl_wochentag1"));
    lbl_wochentag1->setGeometry(cell.left() + 2, 0, 40, 22);
    lbl_wochentag1->setStyleSheet(QStringLiteral("color: navy; font-weight: bold;"));
    lbl_tag1 = new QLabel(heads);
    lbl_tag1->setObjectName(QStringLiteral("lbl_tag1"));
    lbl_tag1->setGeometry(cell.left() + 44, 0, cell.width() - 46, 22);
    lbl_tag1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &Tfrm_reservieren::tickClock);
    clock->start(1000);
}

void Tfrm_reservieren::setupPlayerPage()
{
    ts_normal = new QWidget(pc_player);
    ts_normal->setObjectName(QStringLiteral("ts_normal"));
    auto* form = new QGridLayout(ts_normal);
    ed_name = new LookupBox(ts_normal);
    ed_name->setObjectName(QStringLiteral("ed_name"));
    ed_name->setToolTip(QStringLiteral("F5 = Dropdownlist"));
    ed_name->setMaxLength(30);
    // The info-tip background; a style sheet knows no palette role for it.
    QPalette infoTip = ed_name->palette();
    infoTip.setColor(QPalette::Base, infoTip.color(QPalette::ToolTipBase));
    ed_name->setPalette(infoTip);
    ed_name->fill = [this] { loadNames(); };
    connect(ed_name, &QComboBox::activated, this,
            [this](int index) { ed_telefon->setText(ed_name->itemData(index).toString()); });
    ed_telefon = new QLineEdit(ts_normal);
    ed_telefon->setObjectName(QStringLiteral("ed_telefon"));
    ed_telefon->setMaxLength(20);
    ed_telefon->setStyleSheet(QStringLiteral("background: rgb(192, 220, 192);"));
    ed_prozente = discountField("ed_prozente", ts_normal);
    btn_hinzufuegen = new QPushButton(QStringLiteral("Add to List"), ts_normal);
    btn_hinzufuegen->setObjectName(QStringLiteral("btn_hinzufuegen"));
    btn_hinzufuegen->setAutoDefault(false);
    connect(btn_hinzufuegen, &QPushButton::clicked, this, &Tfrm_reservieren::btn_hinzufuegenClick);
    auto* nameLabel = new QLabel(QStringLiteral("Name :"), ts_normal);
    nameLabel->setBuddy(ed_name);
    auto* phoneLabel = new QLabel(QStringLiteral("Tel.:"), ts_normal);
    phoneLabel->setBuddy(ed_telefon);
    form->addWidget(nameLabel, 0, 0);
    form->addWidget(ed_name, 0, 1);
    form->addWidget(ed_prozente, 0, 2);
    form->addWidget(phoneLabel, 1, 0);
    form->addWidget(ed_telefon, 1, 1);
    form->addWidget(btn_hinzufuegen, 1, 2);
    form->setColumnStretch(1, 1);
    pc_player->addTab(ts_normal, QStringLiteral("Input Player"));
}

void Tfrm_reservieren::setupMemberPage()
{
    ts_member = new QWidget(pc_player);
    ts_member->setObjectName(QStringLiteral("ts_member"));
    auto* form = new QGridLayout(ts_member);
    ed_mitglied = new LookupBox(ts_member);
    ed_mitglied->setObjectName(QStringLiteral("ed_mitglied"));
    ed_mitglied->setToolTip(QStringLiteral("F5 = Dropdownlist"));
    ed_mitglied->setMaxLength(30);
    ed_mitglied->fill = [this] { loadMembers(); };
    connect(ed_mitglied, &QComboBox::activated, this, [this](int index) {
        const QVariantList member = ed_mitglied->itemData(index).toList();
        ed_mitgliedsnummer->setText(member.value(0).toString());
        ed_prozentemitglied->setValue(member.value(1).toDouble());
    });
    ed_mitgliedsnummer = new QLineEdit(ts_member);
    ed_mitgliedsnummer->setObjectName(QStringLiteral("ed_mitgliedsnummer"));
    ed_mitgliedsnummer->setAccessibleName(QStringLiteral("Member number"));
    ed_prozentemitglied = discountField("ed_prozentemitglied", ts_member);
    lbl_status = new QLabel(QStringLiteral("Cardstatus"), ts_member);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    lbl_status->hide();
    sc_reader = new TSmartCard(this);
    sc_reader->setObjectName(QStringLiteral("sc_reader"));
    sc_reader->setStatusLabel(lbl_status);
    sc_reader->OnCardActive = [this](int device) { sc_readerCardActive(device); };
    auto* nameLabel = new QLabel(QStringLiteral("Name :"), ts_member);
    nameLabel->setBuddy(ed_mitglied);
    form->addWidget(nameLabel, 0, 0);
    form->addWidget(ed_mitglied, 0, 1);
    form->addWidget(ed_prozentemitglied, 0, 2);
    form->addWidget(ed_mitgliedsnummer, 1, 1);
    form->addWidget(lbl_status, 1, 2);
    form->setColumnStretch(1, 1);
    pc_player->addTab(ts_member, QStringLiteral("Member"));
}

void Tfrm_reservieren::tickClock()
{
    if (isVisible())
        lbl_uhr->setText(
            DayCount::toDateTime(DayCount::now()).time().toString(QStringLiteral("hh:mm:ss ap")));
}

int Tfrm_reservieren::openFor(int column, int hour)
{
    ed_tag->setText(QString::number(column));
    ed_stunde->setText(QString::number(hour));
    return showModal();
}

void Tfrm_reservieren::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (Session::KartenleserAktiv && Session::KarteFuerMitglieder) {
        try {
            sc_reader->setActive(true);
        } catch (const SmartCardError& e) {
            Messages::error(e.message());
        }
        lbl_status->show();
        sc_reader->setLanguage(SmartCard::Language::English);
    }
    pc_player->setCurrentWidget(ts_normal);
    ed_mitgliedsnummer->clear();
    ed_mitglied->setEditText(QString());
    ed_name->setEditText(QString());
    ed_telefon->clear();
    pb_speichern->setValue(0);
    ed_name->setFocus();
    const int column = std::clamp(ed_tag->text().toInt(), 1, Schedule::weekDays);
    if (Tfrm_scheduler* scheduler = forms().scheduler) {
        datum_ = scheduler->columnDate(column);
        lbl_tag1->setText(scheduler->lbl_tag[std::size_t(column)]->text());
        lbl_wochentag1->setText(scheduler->lbl_wochentag[std::size_t(column)]->text());
    } else {
        datum_ = DayCount::today();
        const Schedule::DayHeading heading = Schedule::dayHeading(datum_);
        lbl_tag1->setText(heading.date);
        lbl_wochentag1->setText(heading.weekday);
    }
    tickClock();
    loadDay();
    const int hour = std::clamp(ed_stunde->text().toInt(), 1, 24);
    sb_reservieren->verticalScrollBar()->setValue(grid_->geometry().cellPitchY * (hour - 1) + 1);
    grid_->setCurrent({reservationColumn, hour, 1, 1});
    sb_reservieren->verticalScrollBar()->setValue(grid_->geometry().cellPitchY * (hour - 1) + 1);
}

void Tfrm_reservieren::loadDay()
{
    grid_->resetColumn(reservationColumn, Belegung::frei);
    runAction([this] {
        const CourtSet courts = fPlaetze();
        for (int hour = 1; hour <= 24; ++hour)
            for (int court = 1; court <= courtCount; ++court)
                if (!containsCourt(courts, court))
                    for (int quarter = 1; quarter <= 4; ++quarter) {
                        Tplatzviertelstunde& q = grid_->cell(reservationColumn, hour).quarter(court, quarter);
                        q.belegung = q.basis = Belegung::keinplatz;
                    }
        grid_->colourColumn(reservationColumn, datum_, fBelegung(datum_, datum_));
    });
}

std::vector<Slot> Tfrm_reservieren::markedSlots() const
{
    std::vector<Slot> marked;
    for (int court = 1; court <= courtCount; ++court)
        for (int hour = 1; hour <= 24; ++hour)
            for (int quarter = 1; quarter <= 4; ++quarter)
                if (grid_->cell(reservationColumn, hour).quarter(court, quarter).belegung ==
                    Belegung::gewaehlt)
                    marked.push_back(Slot{hour, quarter, court});
    return marked;
}

bool Tfrm_reservieren::refreshDay()
{
    const std::vector<Slot> marked = markedSlots();
    loadDay();
    bool dropped = false;
    for (const Slot& slot : marked) {
        Tplatzviertelstunde& q =
            grid_->cell(reservationColumn, slot.stunde).quarter(slot.platz, slot.viertelstunde);
        if (q.belegung == Belegung::frei) {
            q.belegung = Belegung::gewaehlt;
            grid_->updateQuarter(reservationColumn, slot.stunde, slot.platz, slot.viertelstunde);
        } else {
            dropped = true;
        }
    }
    return dropped;
}

void Tfrm_reservieren::sh_standardMouseUp(int hour, int court, int quarter, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    Tplatzviertelstunde& q = grid_->cell(reservationColumn, hour).quarter(court, quarter);
    switch (q.belegung) {
    case Belegung::gewaehlt: q.belegung = q.basis; break;
    case Belegung::frei: q.belegung = Belegung::gewaehlt; break;
    case Belegung::reserviert1:
    case Belegung::reserviert2:
    case Belegung::bezahlt: Messages::information(QStringLiteral("Quater already reserved !")); return;
    case Belegung::keinplatz: Messages::information(QStringLiteral("Court does not exist !")); return;
    }
    grid_->updateQuarter(reservationColumn, hour, court, quarter);
}

void Tfrm_reservieren::loadNames()
{
    ed_name->clear();
    runAction([this] {
        Query names(QStringLiteral("select * from Namen order by Name"));
        for (names.open(); !names.eof(); names.next())
            ed_name->addItem(names.field(QStringLiteral("Name")).asString(),
                             names.field(QStringLiteral("Telefonnummer")).asString());
    });
}

void Tfrm_reservieren::loadMembers()
{
    ed_mitglied->clear();
    runAction([this] {
        // A member without a first name is still listed under his surname.
        Query members(QStringLiteral("select coalesce(Nachname,'')||'   '||coalesce(Vorname,'') name,"
                                     "Mitgliedsnummer,Rabatt from Mitglieder order by name"));
        for (members.open(); !members.eof(); members.next())
            ed_mitglied->addItem(members.field(0).asString(),
                                 QVariantList{members.field(1).asInteger(), members.field(2).asFloat()});
    });
}

namespace {

// Whether the list already holds the name, so that a refused name is told apart from a store that
// failed; a store that cannot answer holds nothing known.
bool nameListed(const QString& name)
{
    try {
        Query listed(QStringLiteral("select count(*) from Namen where Name = :pname"));
        listed.setParam(QStringLiteral("pname"), name);
        listed.open();
        return listed.field(0).asInteger() > 0;
    } catch (const StoreError&) {
        return false;
    }
}

} // namespace

void Tfrm_reservieren::btn_hinzufuegenClick()
{
    RecordSet names;
    try {
        names.openQuery(QStringLiteral("select * from Namen where 1= 3"));
        names.append();
        names.setField(QStringLiteral("Name"), ed_name->currentText());
        names.setField(QStringLiteral("Telefonnummer"), ed_telefon->text());
        names.post();
    } catch (const StoreError& e) {
        names.close();
        // A full disk or a locked table is not a name taken: the desk reads what went wrong.
        if (nameListed(ed_name->currentText()))
            Messages::information(QStringLiteral("Name already exists !"));
        else
            Messages::error(e.message());
        return;
    }
    names.close();
    Messages::information(QStringLiteral("Name added"));
}

void Tfrm_reservieren::BitBtn2Click()
{
    NewReservation reservation;
    reservation.datum = datum_;
    if (pc_player->currentWidget() == ts_member) {
        bool whole = false;
        reservation.mitgliedsnummer = ed_mitgliedsnummer->text().trimmed().toInt(&whole);
        if (!whole) {
            Messages::information(QStringLiteral("no member selected !"));
            ed_mitglied->setFocus();
            return;
        }
        reservation.reservierer = ed_mitglied->currentText();
        reservation.prozente = ed_prozentemitglied->value();
    } else {
        if (ed_name->currentText().trimmed().isEmpty() &&
            !Messages::ask(QStringLiteral("Reservate with no name ?"))) {
            ed_name->setFocus();
            return;
        }
        reservation.reservierer = ed_name->currentText();
        reservation.mitgliedsnummer = keinMitglied;
        reservation.prozente = ed_prozente->value();
    }
    pb_speichern->setValue(0);
    reservation.selected = markedSlots();
    if (reservation.selected.empty()) {
        Messages::information(QStringLiteral("Empty reservation.No quaters are selected !"));
        return;
    }
    // One transaction: a failure leaves no row of this booking and the dialog open with its marks.
    try {
        storeReservation(reservation, [this](int court) { pb_speichern->setValue(court); });
    } catch (const StoreError& e) {
        // The quarter key refuses the whole save when another desk booked a marked quarter since
        // the day was read; the desk then sees that quarter booked, its other marks kept.
        bool taken = false;
        runAction([&] { taken = refreshDay(); });
        if (taken)
            Messages::information(QStringLiteral("Quater already reserved !"));
        else
            Messages::error(e.message());
        return;
    }
    close();
}

void Tfrm_reservieren::sc_readerCardActive(int)
{
    pc_player->setCurrentWidget(ts_member);
    // A terminal error ends the card's handling through the component, before anything is saved.
    const QByteArray answer = sc_reader->CardCommand("Card,MemRead,20,70");
    MemberCardCheck check;
    if (!runAction([&] { check = identifyMember(answer); }))
        return;
    if (!check.member) {
        Messages::information(check.failure);
        return;
    }
    ed_mitglied->setEditText(check.member->Nachname + QStringLiteral("  ") + check.member->Vorname);
    ed_mitgliedsnummer->setText(QString::number(check.member->Mitgliedsnummer));
    ed_prozentemitglied->setValue(check.member->Rabatt);
    BitBtn2Click();
}

void Tfrm_reservieren::hideEvent(QHideEvent* event)
{
    // Every way of closing ends the terminal session, so that no card reaches a hidden dialog.
    sc_reader->setActive(false);
    DeskWindow::hideEvent(event);
}

void Tfrm_reservieren::closeEvent(QCloseEvent* event)
{
    if (Tfrm_scheduler* scheduler = forms().scheduler)
        scheduler->refreshColumn(std::clamp(ed_tag->text().toInt(), 1, Schedule::weekDays));
    refreshCourtPlan();
    DeskWindow::closeEvent(event);
}
