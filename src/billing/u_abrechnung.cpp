#include "billing/u_abrechnung.h"

#include "billing/calculatordialog.h"
#include "billing/u_beleg.h"
#include "courts/u_courts.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/store.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "reservations/u_scheduler.h"
#include "ui/forms.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

const QString settingsGroup = QStringLiteral("frm_abrechnung");

} // namespace

Tfrm_abrechnung::Tfrm_abrechnung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_abrechnung"), QStringLiteral("Calculation"), parent)
{
    auto* layout = new QVBoxLayout(body());
    auto* top = new QGroupBox(body());
    setupTop(top);
    layout->addWidget(top);
    auto* middle = new QGroupBox(body());
    setupList(middle);
    layout->addWidget(middle, 1);
    btn_rechner = addBottomButton(QStringLiteral("btn_rechner"), QStringLiteral("&Calculator"));
    btn_close = addCloseButton();
    connect(btn_rechner, &QPushButton::clicked, this, &Tfrm_abrechnung::btn_rechnerClick);
    pb_calculation = new QProgressBar(this);
    pb_calculation->setObjectName(QStringLiteral("pb_calculation"));
    pb_calculation->setRange(0, 5);
    pb_calculation->setTextVisible(false);
    pb_calculation->setAccessibleName(QStringLiteral("Calculation progress"));
    layout->addWidget(pb_calculation);
    resize(620, 460);
}

void Tfrm_abrechnung::setupTop(QWidget* group)
{
    auto* grid = new QGridLayout(group);
    auto* courtLabel = new QLabel(QStringLiteral("Court"), group);
    courtLabel->setObjectName(QStringLiteral("lbl_tisch"));
    ed_court = new QLineEdit(QStringLiteral("0"), group);
    ed_court->setObjectName(QStringLiteral("ed_court"));
    ed_court->setReadOnly(true);
    ed_court->setMaximumWidth(60);
    ed_court->setStyleSheet(QStringLiteral("background: black; color: white;"));
    courtLabel->setBuddy(ed_court);
    lbl_abrechnen = new QLabel(group);
    lbl_abrechnen->setObjectName(QStringLiteral("lbl_abrechnen"));
    lbl_abrechnen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ed_betrag = new QLineEdit(group);
    ed_betrag->setObjectName(QStringLiteral("ed_betrag"));
    ed_betrag->setReadOnly(true);
    ed_betrag->setAlignment(Qt::AlignRight);
    ed_betrag->setAccessibleName(QStringLiteral("Bill"));
    ed_betrag->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
    cb_printbill = new QCheckBox(QStringLiteral("Print Bill"), group);
    cb_printbill->setObjectName(QStringLiteral("cb_printbill"));
    cb_printbill->setChecked(
        UserSettings::value(settingsGroup, QStringLiteral("cb_printbill"), false).toBool());
    connect(cb_printbill, &QCheckBox::toggled, this,
            [](bool on) { UserSettings::setValue(settingsGroup, QStringLiteral("cb_printbill"), on); });
    grid->addWidget(courtLabel, 0, 0);
    grid->addWidget(ed_court, 0, 1);
    grid->addWidget(lbl_abrechnen, 0, 2);
    grid->addWidget(ed_betrag, 0, 3);
    grid->addWidget(cb_printbill, 0, 4);
    grid->setColumnStretch(3, 1);
}

void Tfrm_abrechnung::setupList(QWidget* group)
{
    auto* grid = new QGridLayout(group);
    auto* hint =
        new QLabel(QStringLiteral("Select the reservation which you wish to calculate by clicking the row "
                                  "and then click the calculate button."),
                   group);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    dtp_datum = new QDateEdit(group);
    dtp_datum->setObjectName(QStringLiteral("dtp_datum"));
    dtp_datum->setReadOnly(true);
    dtp_datum->setAccessibleName(QStringLiteral("Today"));
    dtp_datum->setDisplayFormat(DisplayFormat::dateFormat());
    dtp_zeit = new QTimeEdit(group);
    dtp_zeit->setObjectName(QStringLiteral("dtp_zeit"));
    dtp_zeit->setReadOnly(true);
    dtp_zeit->setAccessibleName(QStringLiteral("Now"));
    btn_abrechnen = new QPushButton(QStringLiteral("Calculate Bill"), group);
    btn_abrechnen->setObjectName(QStringLiteral("btn_abrechnen"));
    btn_abrechnen->setAutoDefault(false);
    connect(btn_abrechnen, &QPushButton::clicked, this, &Tfrm_abrechnung::btn_abrechnenClick);
    gr_spieler = new QTableWidget(0, 4, group);
    gr_spieler->setObjectName(QStringLiteral("gr_spieler"));
    gr_spieler->setAccessibleName(QStringLiteral("Unpaid reservations"));
    gr_spieler->setHorizontalHeaderLabels({QStringLiteral("Reservator"), QStringLiteral("Begin"),
                                           QStringLiteral("Quaters"), QStringLiteral("Disc")});
    gr_spieler->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gr_spieler->setSelectionBehavior(QAbstractItemView::SelectRows);
    gr_spieler->setSelectionMode(QAbstractItemView::SingleSelection);
    gr_spieler->setColumnWidth(0, 220);
    gr_spieler->horizontalHeader()->setStretchLastSection(true);
    grid->addWidget(hint, 0, 0, 1, 3);
    grid->addWidget(dtp_datum, 1, 0);
    grid->addWidget(dtp_zeit, 1, 1);
    grid->addWidget(btn_abrechnen, 1, 2);
    grid->addWidget(gr_spieler, 2, 0, 1, 3);
}

int Tfrm_abrechnung::openFor(int court)
{
    ed_court->setText(QString::number(court));
    return showModal();
}

void Tfrm_abrechnung::showLines()
{
    gr_spieler->setRowCount(int(lines_.size()));
    for (int row = 0; row < lines_.size(); ++row) {
        const CourtBilling::Line& line = lines_[row];
        const QStringList cells{line.reservierer, DisplayFormat::amPmTime(line.startstamp),
                                QString::number(line.dauer), QString::number(line.prozente)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == 1   ? Qt::AlignCenter
                                   : column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                 : Qt::AlignRight | Qt::AlignVCenter);
            gr_spieler->setItem(row, column, item);
        }
    }
    if (!lines_.isEmpty())
        gr_spieler->selectRow(0);
}

void Tfrm_abrechnung::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    pb_calculation->setValue(0);
    const QDateTime now = QDateTime::currentDateTime();
    dtp_datum->setDate(now.date());
    dtp_zeit->setTime(now.time());
    ed_betrag->setText(DisplayFormat::money(0));
    btn_abrechnen->setEnabled(true);
    lines_.clear();
    runAction([this] { lines_ = CourtBilling::unpaidLines(DayCount::today(), ed_court->text().toInt()); });
    showLines();
    btn_abrechnen->setFocus();
}

void Tfrm_abrechnung::refreshLines()
{
    if (!isVisible() || !btn_abrechnen->isEnabled())
        return;
    const int row = gr_spieler->currentRow();
    const std::optional<CourtBilling::Line> current =
        row >= 0 && row < lines_.size() ? std::optional(lines_[row]) : std::nullopt;
    QList<CourtBilling::Line> lines;
    if (!runAction([&] { lines = CourtBilling::unpaidLines(DayCount::today(), ed_court->text().toInt()); }))
        return;
    lines_ = lines;
    showLines();
    if (!current)
        return;
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].reservierungsnummer == current->reservierungsnummer)
            gr_spieler->selectRow(i);
}

void Tfrm_abrechnung::btn_abrechnenClick()
{
    if (lines_.isEmpty())
        return;
    const int row = std::clamp(gr_spieler->currentRow(), 0, int(lines_.size()) - 1);
    const CourtBilling::Line line = lines_[row];
    const int court = ed_court->text().toInt();
    pb_calculation->setValue(0);
    beleg_ = {};
    std::optional<CourtBilling::Bill> bill;
    const bool done = runAction([&] {
        // The receipt number is taken before any price is looked up, as printed receipts count.
        const CourtBilling::Belegdaten beleg = CourtBilling::readParameters(cb_printbill->isChecked());
        bill = CourtBilling::bill(line, court, DayCount::now(), beleg);
    });
    if (!done)
        return;
    if (!bill) {
        Messages::information(QStringLiteral("Courttype not unique !"));
        return;
    }
    pb_calculation->setRange(0, std::max(line.dauer, 1));
    pb_calculation->setValue(pb_calculation->maximum());
    beleg_ = bill->beleg;
    ed_betrag->setText(DisplayFormat::money(bill->betrag));
    refreshCourtPlan();
    if (Tfrm_scheduler* scheduler = forms().scheduler) {
        try {
            scheduler->dp_datumCloseUp();
        } catch (const StoreError&) {
        }
    }
    if (cb_printbill->isChecked()) {
        Receipt::Values receipt;
        receipt.beleg = beleg_;
        const Tfrm_courts* courts = forms().courts;
        receipt.courtNumber = courts ? courts->ed_courtnummer->text() : ed_court->text();
        receipt.amount = bill->betrag;
        receipt.currency = lbl_abrechnen->text();
        receipt.printed = DayCount::today();
        // The bill is stored and its receipt number used: the desk writes that receipt by hand.
        const QString failure = BelegDrucken(beleg_.belegdruck, receipt);
        if (!failure.isEmpty())
            Messages::warning(Receipt::notPrinted(failure));
    }
    lines_.clear();
    gr_spieler->setRowCount(0);
    btn_abrechnen->setEnabled(false);
}

void Tfrm_abrechnung::btn_rechnerClick()
{
    CalculatorDialog(this).exec();
}
