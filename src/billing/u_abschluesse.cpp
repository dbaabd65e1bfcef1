#include "billing/u_abschluesse.h"

#include "billing/accounts.h"
#include "billing/calculatordialog.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString settingsGroup = QStringLiteral("frm_abschluesse");

QDateEdit* dateField(const char* name, QWidget* parent)
{
    auto* field = new QDateEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setCalendarPopup(true);
    field->setDisplayFormat(DisplayFormat::dateFormat());
    return field;
}

} // namespace

Tfrm_abschluesse::Tfrm_abschluesse(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_abschluesse"), QStringLiteral("All Daily Accounts"), parent)
{
    setHelpTopic(1100);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    qry_folge = new RecordSet(this);
    qry_abrechnungx = new RecordSet(this);
    qry_abrechnungx->setReadOnly(true);
    folgeModel_ = new RecordSetModel(qry_folge, this);
    folgeModel_->setColumns(
        {{QStringLiteral("Abrechnungsfolge"), QStringLiteral("Folge"), 50, Qt::AlignRight | Qt::AlignVCenter},
         {QStringLiteral("Abrechnungsdatum"), QStringLiteral("Datum"), 140, Qt::AlignCenter,
          GridColumn::Display::DateTime}});
    linesModel_ = new RecordSetModel(qry_abrechnungx, this);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    linesModel_->setColumns({
        {QStringLiteral("Tischnummer"), QStringLiteral("Court"), 45, right},
        {QStringLiteral("Reservierer"), QStringLiteral("Reservator"), 160},
        {QStringLiteral("Startzeit"), QStringLiteral("Start"), 160, Qt::AlignLeft | Qt::AlignVCenter,
         GridColumn::Display::DateTime},
        {QStringLiteral("Quaters"), QStringLiteral("Quat."), 45, right},
        {QStringLiteral("Betrag"), QStringLiteral("Bill"), 75, right, GridColumn::Display::Money},
        {QStringLiteral("Einschreibdatum"), QStringLiteral("Court Calculated"), 140, Qt::AlignCenter,
         GridColumn::Display::DateTime},
    });

    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("All Daily Accounts"));
    layout->addWidget(lbl_head);
    pc = new QTabWidget(body());
    pc->setObjectName(QStringLiteral("pc"));
    setupAccountsPage();
    setupPrintPage();
    ts_excel = new QWidget(pc);
    ts_excel->setObjectName(QStringLiteral("ts_excel"));
    pc->addTab(ts_excel, QStringLiteral("Export to Excel"));
    layout->addWidget(pc, 1);
    auto* bottom = new QWidget(body());
    setupBottom(bottom);
    layout->addWidget(bottom);
    // Esc asks the delete question on the accounts page only.
    connect(pc, &QTabWidget::currentChanged, this,
            [this] { setEscapeButton(pc->currentWidget() == ts_accounts ? BitBtn2 : nullptr); });
    setEscapeButton(BitBtn2);
    resize(760, 520);
}

void Tfrm_abschluesse::setupAccountsPage()
{
    ts_accounts = new QWidget(pc);
    ts_accounts->setObjectName(QStringLiteral("ts_accounts"));
    auto* grid = new QGridLayout(ts_accounts);
    DBGrid1 = new RecordGrid(QStringLiteral("DBGrid1"), QStringLiteral("Daily accounts"), ts_accounts);
    DBGrid1->setRecords(folgeModel_);
    DBGrid1->setWholeRowSelection(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->hide();
    DBGrid1->setMaximumWidth(230);
    auto* pointer = new QLabel(QStringLiteral("<-- Daily Accounts"), ts_accounts);
    pointer->setObjectName(QStringLiteral("lbl_abrechnung"));
    DBNavigator1 = new RecordNavigator(ts_accounts);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last);
    DBNavigator1->setRecords(qry_folge);
    dgr_abschluss =
        new RecordGrid(QStringLiteral("dgr_abschluss"), QStringLiteral("Bills of the account"), ts_accounts);
    dgr_abschluss->setRecords(linesModel_);
    dgr_abschluss->setWholeRowSelection(true);
    dgr_abschluss->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dgr_abschluss->horizontalHeader()->setStyleSheet(QStringLiteral("color: navy;"));
    auto* clickHint = new QLabel(QStringLiteral("<--click a row"), ts_accounts);
    clickHint->setObjectName(QStringLiteral("Label2"));
    auto* deletion = new QGroupBox(QStringLiteral("Delete daily accounts"), ts_accounts);
    deletion->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout(deletion);
    dt_loeschen = dateField("dt_loeschen", deletion);
    dt_loeschen->setAccessibleName(QStringLiteral("Delete accounts closed before"));
    BitBtn2 = new QPushButton(QStringLiteral("Delete older than date"), deletion);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    row->addWidget(dt_loeschen);
    row->addWidget(BitBtn2);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrm_abschluesse::BitBtn2Click);
    grid->addWidget(DBGrid1, 0, 0, 2, 1);
    grid->addWidget(pointer, 0, 1, Qt::AlignTop);
    grid->addWidget(DBNavigator1, 1, 1, Qt::AlignTop);
    grid->addWidget(dgr_abschluss, 2, 0, 1, 3);
    grid->addWidget(clickHint, 3, 0);
    grid->addWidget(deletion, 3, 1, 1, 2, Qt::AlignRight);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);
    pc->addTab(ts_accounts, QStringLiteral("Daily Accounts"));
    // The lines and the sum follow the chosen account.
    connect(qry_folge, &RecordSet::currentChanged, this, &Tfrm_abschluesse::ds_folgeDataChange);
}

void Tfrm_abschluesse::setupPrintPage()
{
    ts_print = new QWidget(pc);
    ts_print->setObjectName(QStringLiteral("ts_print"));
    auto* grid = new QGridLayout(ts_print);
    auto* from = new QLabel(QStringLiteral("from daily account date"), ts_print);
    from->setObjectName(QStringLiteral("lbl_vondatum"));
    ed_vondatum = dateField("ed_vondatum", ts_print);
    from->setBuddy(ed_vondatum);
    auto* to = new QLabel(QStringLiteral("to daily account date"), ts_print);
    to->setObjectName(QStringLiteral("lbl_bisdatum"));
    ed_bisdatum = dateField("ed_bisdatum", ts_print);
    to->setBuddy(ed_bisdatum);
    cb_detail = new QCheckBox(QStringLiteral("Show details"), ts_print);
    cb_detail->setObjectName(QStringLiteral("cb_detail"));
    cb_detail->setLayoutDirection(Qt::RightToLeft); // the text left of the box
    btn_preview = new QPushButton(QStringLiteral("&Preview"), ts_print);
    btn_preview->setObjectName(QStringLiteral("btn_preview"));
    btn_ausdruck = new QPushButton(QStringLiteral("P&rint"), ts_print);
    btn_ausdruck->setObjectName(QStringLiteral("btn_ausdruck"));
    // The accounts report joins these buttons with the report engine.
    for (QPushButton* b : {btn_preview, btn_ausdruck})
        b->setAutoDefault(false);
    grid->addWidget(from, 0, 0);
    grid->addWidget(ed_vondatum, 0, 1);
    grid->addWidget(to, 1, 0);
    grid->addWidget(ed_bisdatum, 1, 1);
    grid->addWidget(cb_detail, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(btn_preview, 3, 0);
    grid->addWidget(btn_ausdruck, 3, 1, Qt::AlignLeft);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
    for (QDateEdit* field : {ed_vondatum, ed_bisdatum}) {
        const QString key = field->objectName();
        field->setDate(UserSettings::value(settingsGroup, key, QDate::currentDate()).toDate());
        connect(field, &QDateEdit::dateChanged, this,
                [key](const QDate& date) { UserSettings::setValue(settingsGroup, key, date); });
    }
    pc->addTab(ts_print, QStringLiteral("Print Reports"));
}

void Tfrm_abschluesse::setupBottom(QWidget* panel)
{
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Sum of Bills"), panel);
    label->setObjectName(QStringLiteral("lbl_tischbetrag"));
    ed_tischbetrag = new QLineEdit(panel);
    ed_tischbetrag->setObjectName(QStringLiteral("ed_tischbetrag"));
    ed_tischbetrag->setReadOnly(true);
    ed_tischbetrag->setAlignment(Qt::AlignRight);
    ed_tischbetrag->setStyleSheet(QStringLiteral("background: rgb(192, 255, 192);"));
    label->setBuddy(ed_tischbetrag);
    lbl_summew = new QLabel(panel);
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    row->addWidget(label);
    row->addWidget(ed_tischbetrag);
    row->addWidget(lbl_summew);
    row->addStretch();
    btn_rechner = addBottomButton(QStringLiteral("btn_rechner"), QStringLiteral("C&alculator"));
    btn_close = addCloseButton();
    connect(btn_rechner, &QPushButton::clicked, this, [this] { CalculatorDialog(this).exec(); });
}

void Tfrm_abschluesse::openAccounts()
{
    runAction([this] {
        qry_folge->openQuery(
            QStringLiteral("select distinct Abrechnungsfolge, Abrechnungsdatum from Tischabrechnung "
                           "where Abgerechnet = true order by Abrechnungsfolge desc"));
        ds_folgeDataChange();
    });
}

void Tfrm_abschluesse::ds_folgeDataChange()
{
    const int folge =
        qry_folge->isOpen() ? qry_folge->field(QStringLiteral("Abrechnungsfolge")).asInteger() : 0;
    runAction([this, folge] {
        qry_abrechnungx->openQuery(QStringLiteral("select * from Tischabrechnung where "
                                                  "Abrechnungsfolge=:Abrechnungsfolge order by Tischnummer,"
                                                  "Einschreibdatum"),
                                   {{QStringLiteral("Abrechnungsfolge"), folge}});
        ed_tischbetrag->setText(DisplayFormat::money(Accounts::sum(folge)));
    });
}

void Tfrm_abschluesse::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    dt_loeschen->setDate(QDate::currentDate());
    ed_tischbetrag->setText(DisplayFormat::money(0));
    pc->setCurrentWidget(ts_accounts);
    openAccounts();
}

void Tfrm_abschluesse::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous()) {
        qry_abrechnungx->close();
        qry_folge->close();
    }
    DeskWindow::hideEvent(event);
}

void Tfrm_abschluesse::BitBtn2Click()
{
    if (!Messages::ask(QStringLiteral("Delete daily accounts older than date ?")))
        return;
    if (!runAction([this] { Accounts::deleteOlderThan(DayCount::fromDate(dt_loeschen->date())); }))
        return;
    ed_tischbetrag->clear();
    openAccounts();
}
