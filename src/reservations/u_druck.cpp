#include "reservations/u_druck.h"

#include "data/daycount.h"
#include "data/displayformat.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "report/printing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QString settingsGroup = QStringLiteral("frm_druck");

QComboBox* courtList(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (int court = 1; court <= 12; ++court)
        box->addItem(QStringLiteral("Court Nr. %1").arg(court));
    return box;
}

QDateEdit* datePicker(const QString& name, QWidget* parent)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(DisplayFormat::dateFormat());
    return edit;
}

QCheckBox* choice(const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(UserSettings::value(settingsGroup, name, true).toBool());
    return box;
}

} // namespace

Tfrm_druck::Tfrm_druck(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_druck"), QStringLiteral("Report"), parent)
{
    setupInputs(body());
    btn_preview = addBottomButton(QStringLiteral("btn_preview"), QStringLiteral("&Preview"));
    btn_print = addBottomButton(QStringLiteral("btn_print"), QStringLiteral("P&rint"));
    btn_close = addCloseButton();
    connect(btn_preview, &QPushButton::clicked, this, &Tfrm_druck::btn_previewClick);
    connect(btn_print, &QPushButton::clicked, this, &Tfrm_druck::btn_previewClick);
    setFixedDialogSize(QSize(460, 300));
}

void Tfrm_druck::setupInputs(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    cb_vonplatz = courtList(QStringLiteral("cb_vonplatz"), panel);
    cb_bisplatz = courtList(QStringLiteral("cb_bisplatz"), panel);
    dp_vondatum = datePicker(QStringLiteral("dp_vondatum"), panel);
    dp_bisdatum = datePicker(QStringLiteral("dp_bisdatum"), panel);
    ed_companyname = new QLineEdit(panel);
    ed_companyname->setObjectName(QStringLiteral("ed_companyname"));
    ed_companyname->setText(UserSettings::value(settingsGroup, QStringLiteral("ed_companyname")).toString());
    const std::pair<QString, QWidget*> rows[] = {
        {QStringLiteral("from Court Nr. :"), cb_vonplatz}, {QStringLiteral("to Court Nr. :"), cb_bisplatz},
        {QStringLiteral("from Date :"), dp_vondatum},      {QStringLiteral("to Date :"), dp_bisdatum},
        {QStringLiteral("Company :"), ed_companyname},
    };
    int row = 0;
    for (const auto& [caption, control] : rows) {
        auto* label = new QLabel(caption, panel);
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row++, 1);
    }
    cb_details = choice(QStringLiteral("cb_details"), QStringLiteral("print single Reservations"), panel);
    cb_courtsum = choice(QStringLiteral("cb_courtsum"), QStringLiteral("print Courtsum"), panel);
    cb_daysum = choice(QStringLiteral("cb_daysum"), QStringLiteral("print Daysum"), panel);
    grid->addWidget(cb_details, 0, 2);
    grid->addWidget(cb_courtsum, 1, 2);
    grid->addWidget(cb_daysum, 2, 2);
    grid->setColumnStretch(1, 1);
}

void Tfrm_druck::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    cb_vonplatz->setCurrentIndex(0);
    cb_bisplatz->setCurrentIndex(11);
    const QDate today = DayCount::toDate(DayCount::today());
    dp_vondatum->setDate(today.addDays(-7));
    dp_bisdatum->setDate(today);
}

void Tfrm_druck::hideEvent(QHideEvent* event)
{
    UserSettings::setValue(settingsGroup, QStringLiteral("ed_companyname"), ed_companyname->text());
    UserSettings::setValue(settingsGroup, QStringLiteral("cb_details"), cb_details->isChecked());
    UserSettings::setValue(settingsGroup, QStringLiteral("cb_courtsum"), cb_courtsum->isChecked());
    UserSettings::setValue(settingsGroup, QStringLiteral("cb_daysum"), cb_daysum->isChecked());
    DeskWindow::hideEvent(event);
}

ReservationReport::Options Tfrm_druck::options() const
{
    ReservationReport::Options o;
    o.vonPlatz = cb_vonplatz->currentIndex() + 1;
    o.bisPlatz = cb_bisplatz->currentIndex() + 1;
    o.vonDatum = DayCount::fromDate(dp_vondatum->date());
    o.bisDatum = DayCount::fromDate(dp_bisdatum->date());
    o.company = ed_companyname->text();
    o.details = cb_details->isChecked();
    o.courtSum = cb_courtsum->isChecked();
    o.daySum = cb_daysum->isChecked();
    o.printed = DayCount::today();
    return o;
}

void Tfrm_druck::btn_previewClick()
{
    produce(sender() != btn_print);
}

void Tfrm_druck::produce(bool preview)
{
    Report::Document doc;
    if (!runAction([&] { doc = ReservationReport::document(options()); }))
        return;
    if (doc.isEmpty()) {
        Messages::information(QStringLiteral("No Reservations for printing a Report !"));
        return;
    }
    if (preview)
        Printing::preview(doc, this);
    else if (!Printing::print(doc))
        Messages::error(QStringLiteral("The report could not be printed."));
}
