#include "billing/u_abschluesse.h"

#include "billing/accounts.h"
#include "billing/calculatordialog.h"
#include "billing/excelexport.h"
#include "billing/u_alleabschluessereport.h"
#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/session.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

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

SearchAnimation::SearchAnimation(QWidget* parent)
    : QWidget(parent)
    , timer_(new QTimer(this))
{
    setFixedSize(64, 48);
    setAccessibleName(QStringLiteral("Searching the accounts"));
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % 16;
        update();
    });
}

void SearchAnimation::start()
{
    frame_ = 0;
    timer_->start();
}

void SearchAnimation::stop()
{
    timer_->stop();
}

bool SearchAnimation::isRunning() const
{
    return timer_->isActive();
}

void SearchAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with lines of text...
    const QRectF sheet(16, 3, 28, 38);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    for (int line = 0; line < 6; ++line)
        p.drawLine(QPointF(sheet.left() + 4, sheet.top() + 6 + line * 6),
                   QPointF(sheet.right() - 4 - (line % 3) * 4, sheet.top() + 6 + line * 6));
    // ...and a magnifier circling over it.
    const double angle = frame_ * 2 * std::numbers::pi / 16;
    const QPointF lens(sheet.center().x() + 6 * std::cos(angle), sheet.center().y() + 6 * std::sin(angle));
    p.setPen(QPen(QColor(90, 60, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(6, 6), lens + QPointF(12, 12));
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(180, 220, 255, 160));
    p.drawEllipse(lens, 8, 8);
}

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
    setupExcelPage();
    layout->addWidget(pc, 1);
    auto* bottom = new QWidget(body());
    setupBottom(bottom);
    layout->addWidget(bottom);
    // Esc asks the delete question on the accounts page only.
    connect(pc, &QTabWidget::currentChanged, this,
            [this] { setEscapeButton(pc->currentWidget() == ts_accounts ? BitBtn2 : nullptr); });
    setEscapeButton(BitBtn2);
    resize(760, 600);
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
    // Six accounts at a glance; the page's height goes to the bills of the chosen one.
    DBGrid1->setFixedHeight(6 * DBGrid1->verticalHeader()->defaultSectionSize() + 2 * DBGrid1->frameWidth());
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
    for (QPushButton* b : {btn_preview, btn_ausdruck}) {
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, &Tfrm_abschluesse::btn_previewClick);
    }
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

QGroupBox* Tfrm_abschluesse::radioGroup(const char* name, const QString& accessibleName,
                                        const QStringList& captions, int columns, int designChoice,
                                        QButtonGroup*& buttons)
{
    auto* group = new QGroupBox(ts_excel);
    group->setObjectName(QLatin1String(name));
    group->setAccessibleName(accessibleName);
    auto* grid = new QGridLayout(group);
    buttons = new QButtonGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        auto* choice = new QRadioButton(captions[i], group);
        choice->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        buttons->addButton(choice, i);
        grid->addWidget(choice, i / columns, i % columns);
    }
    const QString key = QLatin1String(name);
    const int kept = UserSettings::value(settingsGroup, key, designChoice).toInt();
    buttons->button(kept >= 0 && kept < captions.size() ? kept : designChoice)->setChecked(true);
    connect(buttons, &QButtonGroup::idToggled, this, [key](int id, bool checked) {
        if (checked)
            UserSettings::setValue(settingsGroup, key, id);
    });
    return group;
}

void Tfrm_abschluesse::setupExcelPage()
{
    ts_excel = new QWidget(pc);
    ts_excel->setObjectName(QStringLiteral("ts_excel"));
    auto* grid = new QGridLayout(ts_excel);
    const auto label = [this, grid](const char* name, const QString& text, int row) {
        auto* caption = new QLabel(text, ts_excel);
        caption->setObjectName(QLatin1String(name));
        grid->addWidget(caption, row, 0);
        return caption;
    };
    ed_excelvondatum = dateField("ed_excelvondatum", ts_excel);
    label("lbl_excelvondatum", QStringLiteral("from daily account date"), 0)->setBuddy(ed_excelvondatum);
    grid->addWidget(ed_excelvondatum, 0, 1, Qt::AlignLeft);
    ed_excelbisdatum = dateField("ed_excelbisdatum", ts_excel);
    label("lbl_excelbisdatum", QStringLiteral("to daily account date"), 1)->setBuddy(ed_excelbisdatum);
    grid->addWidget(ed_excelbisdatum, 1, 1, Qt::AlignLeft);
    for (QDateEdit* field : {ed_excelvondatum, ed_excelbisdatum}) {
        const QString key = field->objectName();
        field->setDate(UserSettings::value(settingsGroup, key, QDate::currentDate()).toDate());
        connect(field, &QDateEdit::dateChanged, this,
                [key](const QDate& date) { UserSettings::setValue(settingsGroup, key, date); });
    }

    auto* path = setupExcelPath();
    label("lbl_exportpfad", QStringLiteral("Export path"), 2)->setBuddy(fe_excel);
    grid->addLayout(path, 2, 1, 1, 2);

    rg_exceltyp = radioGroup(
        "rg_exceltyp", QStringLiteral("Excel version"),
        {QStringLiteral("EXCEL 40"), QStringLiteral("EXCEL 50"), QStringLiteral("EXCEL 97 (2000)")}, 3, 2,
        exceltypButtons_);
    label("lbl_excelversion", QStringLiteral("Excel version"), 3)->setBuddy(rg_exceltyp);
    grid->addWidget(rg_exceltyp, 3, 1, 1, 2);
    rg_exporttyp = radioGroup("rg_exporttyp", QStringLiteral("Export type"),
                              {QStringLiteral("only daily accounts sum"),
                               QStringLiteral("with sum of courts"), QStringLiteral("with courtdetails")},
                              1, 1, exporttypButtons_);
    label("lbl_exporttyp", QStringLiteral("Export type"), 4)->setBuddy(rg_exporttyp);
    grid->addWidget(rg_exporttyp, 4, 1);
    auto* pointer = new QLabel(QStringLiteral("<--- "), ts_excel);
    pointer->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(pointer, 4, 2, Qt::AlignLeft | Qt::AlignVCenter);

    grid->addLayout(setupExcelButtons(), 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
    pc->addTab(ts_excel, QStringLiteral("Export to Excel"));
}

QHBoxLayout* Tfrm_abschluesse::setupExcelPath()
{
    fe_excel = new QLineEdit(ts_excel);
    fe_excel->setObjectName(QStringLiteral("fe_excel"));
    const QString designPath =
        QDir::toNativeSeparators(QDir::home().filePath(QStringLiteral("daily_accounts_to_01012002.xls")));
    fe_excel->setText(UserSettings::value(settingsGroup, QStringLiteral("fe_excel"), designPath).toString());
    connect(fe_excel, &QLineEdit::textChanged, this, [](const QString& text) {
        UserSettings::setValue(settingsGroup, QStringLiteral("fe_excel"), text);
    });
    fe_excel->setToolTip(QStringLiteral("F5 chooses the file"));
    auto* browse = new QPushButton(QStringLiteral("..."), ts_excel);
    browse->setObjectName(QStringLiteral("fe_excel_button"));
    browse->setAccessibleName(QStringLiteral("Choose the export file"));
    browse->setToolTip(QStringLiteral("Choose the export file (F5)"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(32);
    connect(browse, &QPushButton::clicked, this, &Tfrm_abschluesse::fe_excelBrowse);
    fe_excel->installEventFilter(this);
    auto* path = new QHBoxLayout;
    path->addWidget(fe_excel, 1);
    path->addWidget(browse);
    return path;
}

QHBoxLayout* Tfrm_abschluesse::setupExcelButtons()
{
    btn_excelstart = new QPushButton(QStringLiteral("Start generating excelfile"), ts_excel);
    btn_excelstart->setObjectName(QStringLiteral("btn_excelstart"));
    an_excel = new SearchAnimation(ts_excel);
    an_excel->setObjectName(QStringLiteral("an_excel"));
    // Its place stays free while it is hidden, so that the buttons do not jump when it shows.
    QSizePolicy keepPlace = an_excel->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    an_excel->setSizePolicy(keepPlace);
    an_excel->hide();
    btn_excelansehen = new QPushButton(QStringLiteral("Show EXCEL Export"), ts_excel);
    btn_excelansehen->setObjectName(QStringLiteral("btn_excelansehen"));
    for (QPushButton* b : {btn_excelstart, btn_excelansehen})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_excelstart);
    buttons->addWidget(an_excel);
    buttons->addStretch();
    buttons->addWidget(btn_excelansehen);
    connect(btn_excelstart, &QPushButton::clicked, this, &Tfrm_abschluesse::btn_excelstartClick);
    connect(btn_excelansehen, &QPushButton::clicked, this, &Tfrm_abschluesse::btn_excelansehenClick);
    return buttons;
}

int Tfrm_abschluesse::exceltyp() const
{
    return exceltypButtons_->checkedId();
}

int Tfrm_abschluesse::exporttyp() const
{
    return exporttypButtons_->checkedId();
}

void Tfrm_abschluesse::fe_excelBrowse()
{
    QFileDialog dialog(this, QStringLiteral("Export path"));
    dialog.setObjectName(QStringLiteral("fe_excel_dialog"));
    // The export replaces the file it names; choosing a name asks nothing yet.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    dialog.setNameFilters({QStringLiteral("Excel files (*.xls)"), QStringLiteral("All files (*)")});
    const QFileInfo current(fe_excel->text().trimmed());
    dialog.setDirectory(!fe_excel->text().trimmed().isEmpty() && current.absoluteDir().exists()
                            ? current.absolutePath()
                            : QDir::homePath());
    if (!current.fileName().isEmpty())
        dialog.selectFile(current.fileName());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        fe_excel->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

bool Tfrm_abschluesse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fe_excel && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F5 && key->modifiers() == Qt::NoModifier) {
            fe_excelBrowse();
            return true;
        }
    }
    return DeskWindow::eventFilter(watched, event);
}

void Tfrm_abschluesse::btn_excelstartClick()
{
    an_excel->show();
    an_excel->start();
    // The export runs on this thread: let the animation move between rows, but take no input.
    const auto keepMoving = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    keepMoving();
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    const auto progress = [&] {
        if (sinceRepaint.elapsed() >= 40) {
            keepMoving();
            sinceRepaint.restart();
        }
    };
    runAction([&] {
        try {
            xls_tagesabrechnungen.FileName = fe_excel->text();
            xls_tagesabrechnungen.setXLSVersion(TXLSWrite::Version(exceltyp()));
            ExcelExport::run(xls_tagesabrechnungen, ExcelExport::Layout(exporttyp()),
                             DayCount::fromDate(ed_excelvondatum->date()),
                             DayCount::fromDate(ed_excelbisdatum->date()), progress);
        } catch (const XLSError& error) {
            Messages::error(error.message());
        }
    });
    an_excel->stop();
    an_excel->hide();
}

void Tfrm_abschluesse::btn_excelansehenClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(fe_excel->text().trimmed()));
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
    const int factor = Session::Nachkommafaktor;
    if (factor == 1 || factor == 10 || factor == 100)
        xls_tagesabrechnungen.setNachkommafaktor(factor);
    an_excel->stop();
    an_excel->hide();
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

void Tfrm_abschluesse::btn_previewClick()
{
    if (Tfrm_alleabschluessereport* report = forms().alleabschluessereport)
        report->printAccounts(ed_vondatum->date(), ed_bisdatum->date(), cb_detail->isChecked(),
                              sender() != btn_ausdruck);
}

void Tfrm_abschluesse::BitBtn2Click()
{
    if (!Messages::ask(QStringLiteral("Delete daily accounts older than date ?"),
                       Messages::Icon::Information))
        return;
    if (!runAction([this] { Accounts::deleteOlderThan(DayCount::fromDate(dt_loeschen->date())); }))
        return;
    ed_tischbetrag->clear();
    openAccounts();
}
