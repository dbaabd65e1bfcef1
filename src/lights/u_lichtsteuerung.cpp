#include "lights/u_lichtsteuerung.h"

#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/session.h"
#include "data/store.h"
#include "lights/headerpanel.h"
#include "lights/relays.h"
#include "platform/messages.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

Tfrm_lichtsteuerung::Tfrm_lichtsteuerung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_lichtsteuerung"), QStringLiteral("Switch Courts Settings"), parent)
{
    setHelpTopic(2100);
    resize(620, 440);
    tische_ = new RecordSet(this);
    tischeModel_ = new RecordSetModel(tische_, this);
    kennzahlen_ = new RecordSet(this);
    kennzahlenModel_ = new RecordSetModel(kennzahlen_, this);

    auto* layout = new QVBoxLayout(body());
    layout->addWidget(makeHeaderPanel(windowTitle(), body()));
    auto* columns = new QHBoxLayout;
    columns->addWidget(setupCourts(), 1);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(setupAssignment());
    boxes->addWidget(setupParameters());
    boxes->addStretch();
    columns->addLayout(boxes);
    layout->addLayout(columns, 1);
    btn_close = addCloseButton();
}

QWidget* Tfrm_lichtsteuerung::setupCourts()
{
    auto* area = new QWidget(body());
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    tischeModel_->setColumns({{QStringLiteral("Tischnummer"), QStringLiteral("Court Number"), 100,
                               Qt::AlignRight | Qt::AlignVCenter, GridColumn::Display::Plain, true},
                              {QStringLiteral("Anschluss"), QStringLiteral("Switch Nr."), 90,
                               Qt::AlignRight | Qt::AlignVCenter, GridColumn::Display::Plain, true}});
    gr_anschluss =
        new RecordGrid(QStringLiteral("gr_anschluss"), QStringLiteral("Courts and their switches"), area);
    gr_anschluss->setRecords(tischeModel_);
    gr_anschluss->setWholeRowSelection(true);
    gr_anschluss->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gr_anschluss->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(gr_anschluss, 1);
    navigator = new RecordNavigator(area);
    navigator->setObjectName(QStringLiteral("navigator"));
    navigator->setRecords(tische_);
    navigator->setGrid(gr_anschluss);
    navigator->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                 RecordNavigator::Last);
    layout->addWidget(navigator, 0, Qt::AlignLeft);
    connect(tische_, &RecordSet::currentChanged, this, &Tfrm_lichtsteuerung::showLine);
    connect(tische_, &RecordSet::rowChanged, this, &Tfrm_lichtsteuerung::showLine);
    connect(tische_, &RecordSet::reset, this, &Tfrm_lichtsteuerung::showLine);
    return area;
}

QWidget* Tfrm_lichtsteuerung::setupAssignment()
{
    auto* box = new QGroupBox(body());
    auto* layout = new QGridLayout(box);
    lbl_box1 = new QLabel(QStringLiteral("Assign court to a switch (relais) on the modul"), box);
    lbl_box1->setObjectName(QStringLiteral("lbl_box1"));
    layout->addWidget(lbl_box1, 0, 0, 1, 3);
    auto* label = new QLabel(QStringLiteral("S&witch"), box);
    cb_line = new ChoiceBox(box);
    cb_line->setObjectName(QStringLiteral("cb_line"));
    for (int output = 1; output <= 40; ++output)
        cb_line->addItem(QString::number(output), output);
    label->setBuddy(cb_line);
    layout->addWidget(label, 1, 0);
    layout->addWidget(cb_line, 1, 1);
    connect(cb_line, &QComboBox::activated, this, &Tfrm_lichtsteuerung::lineChosen);
    auto button = [&](QPushButton*& member, const char* name, const QString& caption, int row, int column) {
        member = new QPushButton(caption, box);
        member->setObjectName(QLatin1String(name));
        layout->addWidget(member, row, column);
    };
    button(btn_uebernehmen, "btn_uebernehmen", QStringLiteral("&Take over"), 1, 2);
    button(btn_delete, "btn_delete", QStringLiteral("&Delete"), 2, 2);
    button(btn_lichtein, "btn_lichtein", QStringLiteral("Bulb&on"), 2, 0);
    button(btn_lichtaus, "btn_lichtaus", QStringLiteral("Bulbo&ff"), 2, 1);
    button(btn_automatisch, "btn_automatisch", QStringLiteral("Assign a&utomatical"), 3, 0);
    layout->removeWidget(btn_automatisch);
    layout->addWidget(btn_automatisch, 3, 0, 1, 3);
    cb_lichtautomatik = new QCheckBox(QStringLiteral("switch with bookings"), box);
    cb_lichtautomatik->setObjectName(QStringLiteral("cb_lichtautomatik"));
    layout->addWidget(cb_lichtautomatik, 4, 0, 1, 3);
    connect(cb_lichtautomatik, &QCheckBox::clicked, this,
            [this](bool on) { settingChanged(QStringLiteral("Lichtautomatik"), on); });
    auto minutes = [&](QSpinBox*& member, const char* name, const QString& caption, const QString& field,
                       int row) {
        auto* label = new QLabel(caption, box);
        member = new QSpinBox(box);
        member->setObjectName(QLatin1String(name));
        member->setRange(0, 30);
        member->setValue(5);
        label->setBuddy(member);
        layout->addWidget(label, row, 0);
        layout->addWidget(member, row, 1);
        const QSpinBox* spin = member;
        connect(spin, &QSpinBox::valueChanged, this,
                [this, field](int value) { settingChanged(field, value); });
    };
    minutes(se_vorlauf, "se_vorlauf", QStringLiteral("run-up [min] :"), QStringLiteral("Vorlauf"), 5);
    minutes(se_nachlauf, "se_nachlauf", QStringLiteral("run-down [min] :"), QStringLiteral("Nachlauf"), 6);
    connect(btn_uebernehmen, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_uebernehmenClick);
    connect(btn_delete, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_deleteClick);
    connect(btn_lichtein, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_lichteinClick);
    connect(btn_lichtaus, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_lichtausClick);
    connect(btn_automatisch, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_automatischClick);
    return box;
}

QWidget* Tfrm_lichtsteuerung::setupParameters()
{
    auto* box = new QGroupBox(body());
    auto* layout = new QGridLayout(box);
    lbl_box2 = new QLabel(QStringLiteral("Activate lightning and select ComPort"), box);
    lbl_box2->setObjectName(QStringLiteral("lbl_box2"));
    layout->addWidget(lbl_box2, 0, 0, 1, 2);
    QVector<std::pair<QString, QVariant>> ports;
    for (int port = 0; port < 4; ++port)
        ports.push_back({QStringLiteral("com%1").arg(port + 1), port});
    QVector<std::pair<QString, QVariant>> pauses;
    for (int ms : {5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100})
        pauses.push_back({QString::number(ms), ms});
    pauses.push_back({QString(), QVariant()});
    parameters_ = new FieldForm(kennzahlenModel_, box);
    parameters_->build(layout,
                       {{QStringLiteral("dcb_lichtsteuerungein"), QStringLiteral("Activate &Lighting"),
                         QStringLiteral("Lichtschaltung"), FormField::Kind::Boolean},
                        {QStringLiteral("cb_comport"), QStringLiteral("Com&Port :"),
                         QStringLiteral("ComPort"), FormField::Kind::Choice, ports},
                        {QStringLiteral("cb_wartezeit"), QStringLiteral("Waitin&gtime [msec] :"),
                         QStringLiteral("Wartezeit"), FormField::Kind::Choice, pauses}},
                       1);
    dcb_lichtsteuerungein =
        qobject_cast<QCheckBox*>(parameters_->control(QStringLiteral("dcb_lichtsteuerungein")));
    cb_comport = qobject_cast<ChoiceBox*>(parameters_->control(QStringLiteral("cb_comport")));
    cb_wartezeit = qobject_cast<ChoiceBox*>(parameters_->control(QStringLiteral("cb_wartezeit")));
    btn_uebernehmen1 = new QPushButton(QStringLiteral("Ta&ke over"), box);
    btn_uebernehmen1->setObjectName(QStringLiteral("btn_uebernehmen1"));
    btn_uebernehmen1->setAccessibleName(QStringLiteral("Take over parameters"));
    layout->addWidget(btn_uebernehmen1, 4, 1);
    connect(btn_uebernehmen1, &QPushButton::clicked, this, &Tfrm_lichtsteuerung::btn_uebernehmen1Click);
    return box;
}

void Tfrm_lichtsteuerung::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous() || tische_->isOpen())
        return;
    runAction([this] {
        tische_->openTable(QStringLiteral("Tische"), QStringLiteral("Tischnummer"));
        kennzahlen_->openQuery(QStringLiteral("select * from Kennzahlen"));
        parameters_->mapper()->toFirst();
    });
    showLine();
}

void Tfrm_lichtsteuerung::closeEvent(QCloseEvent* event)
{
    DeskWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    tische_->close();
    kennzahlen_->close();
}

void Tfrm_lichtsteuerung::showLine()
{
    const QSignalBlocker quiet(cb_line);
    const bool court = tische_->isOpen() && !tische_->isEmpty();
    cb_line->setValue(court ? tische_->field(QStringLiteral("Anschluss")).variant() : QVariant());
    // An installation made before the light settings has none to show or store.
    const bool settings = court && tische_->fieldIndex(QStringLiteral("Lichtautomatik")) >= 0 &&
                          tische_->fieldIndex(QStringLiteral("Vorlauf")) >= 0 &&
                          tische_->fieldIndex(QStringLiteral("Nachlauf")) >= 0;
    const QSignalBlocker quietCheck(cb_lichtautomatik);
    const QSignalBlocker quietRunUp(se_vorlauf);
    const QSignalBlocker quietRunDown(se_nachlauf);
    for (QWidget* control : {static_cast<QWidget*>(cb_lichtautomatik), static_cast<QWidget*>(se_vorlauf),
                             static_cast<QWidget*>(se_nachlauf)})
        control->setEnabled(settings);
    auto minutes = [&](const QString& field) {
        const FieldValue value = tische_->field(field);
        return value.isEmpty() ? 5 : value.asInteger();
    };
    cb_lichtautomatik->setChecked(settings && tische_->field(QStringLiteral("Lichtautomatik")).asBoolean());
    se_vorlauf->setValue(settings ? minutes(QStringLiteral("Vorlauf")) : 5);
    se_nachlauf->setValue(settings ? minutes(QStringLiteral("Nachlauf")) : 5);
}

void Tfrm_lichtsteuerung::settingChanged(const QString& field, const QVariant& value)
{
    if (!tische_->isOpen() || tische_->isEmpty())
        return;
    runAction([&] { tische_->setField(field, value); });
}

void Tfrm_lichtsteuerung::lineChosen()
{
    if (!tische_->isOpen() || tische_->isEmpty())
        return;
    // Choosing only edits the row; "Take over" stores it.
    runAction([this] { tische_->setField(QStringLiteral("Anschluss"), cb_line->value()); });
}

void Tfrm_lichtsteuerung::btn_uebernehmenClick()
{
    if (tische_->state() != RecordSet::State::Edit)
        return;
    try {
        tische_->post();
    } catch (const StoreError&) {
        // The row stays in edit; the test buttons say so until it is stored.
    }
}

void Tfrm_lichtsteuerung::btn_deleteClick()
{
    if (!tische_->isOpen() || tische_->isEmpty())
        return;
    runAction([this] {
        tische_->edit();
        tische_->setField(QStringLiteral("Anschluss"), QVariant());
        tische_->post();
    });
}

void Tfrm_lichtsteuerung::testSwitch(bool on)
{
    if (!tische_->isOpen() || tische_->isEmpty())
        return;
    if (tische_->state() == RecordSet::State::Edit) {
        Messages::information(QStringLiteral("First click the take over button !"));
        return;
    }
    const FieldValue anschluss = tische_->field(QStringLiteral("Anschluss"));
    if (anschluss.isEmpty()) {
        Messages::information(QStringLiteral("No relais assigned !"));
        return;
    }
    on ? fLichtEin(anschluss.asInteger()) : fLichtAus(anschluss.asInteger());
}

void Tfrm_lichtsteuerung::btn_lichteinClick()
{
    testSwitch(true);
}

void Tfrm_lichtsteuerung::btn_lichtausClick()
{
    testSwitch(false);
}

void Tfrm_lichtsteuerung::btn_automatischClick()
{
    if (!tische_->isOpen())
        return;
    runAction([this] {
        tische_->first();
        for (int output = 1; !tische_->eof() && output <= 40; ++output) {
            tische_->edit();
            tische_->setField(QStringLiteral("Anschluss"), output);
            tische_->post();
            tische_->next();
        }
    });
}

void Tfrm_lichtsteuerung::btn_uebernehmen1Click()
{
    if (!kennzahlen_->isOpen() || kennzahlen_->isEmpty())
        return;
    try {
        parameters_->writeControls();
        // Nothing changed is nothing to store: Wartezeit stays as it is.
        if (kennzahlen_->state() != RecordSet::State::Edit)
            return;
        kennzahlen_->post();
        Session::Wartezeit = kennzahlen_->field(QStringLiteral("Wartezeit")).asInteger();
    } catch (const StoreError&) {
    }
}
