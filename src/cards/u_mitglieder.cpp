#include "cards/u_mitglieder.h"

#include "cards/memberfilter.h"
#include "cards/members.h"
#include "data/recordsetmodel.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int memberNumberDigits = 7;

const QVector<FormField> personalFields = {
    {"ed_mitgliedsnummer", "&Member nr.", "Mitgliedsnummer", FormField::Kind::Integer},
    {"ed_vorname", "&Firstname", "Vorname"},
    {"ed_nachname", "&Surname", "Nachname"},
    {"ed_strasse", "S&treet", "Strasse"},
};
// One caption for the three parts of the address line.
const QVector<FormField> addressFields = {
    {"ed_plz", "&Zip/City/Housenr.", "PLZ"},
    {"ed_ort", "City", "Ort"},
    {"ed_hausnummer", "Housenr.", "Hausnummer"},
};
const QVector<FormField> otherFields = {
    {"ed_telefon", "Te&lefon :", "Telefon"},
    {"ed_geburtsdatum", "&Birthday", "Geburtsdatum", FormField::Kind::Date},
    {"ed_eintritt", "&Entrace", "Eintritt", FormField::Kind::Date},
    {"ed_austritt", "Lea&ved", "Austritt", FormField::Kind::Date},
    {"ed_rabatt", "&Discount", "Rabatt", FormField::Kind::Number},
    {"ed_sonstiges", "&Others", "Sonstiges"},
};

const GridColumns overviewColumns = {
    {"Mitgliedsnummer", "Member Nr.", 80, Qt::AlignRight | Qt::AlignVCenter},
    {"Nachname", "Surname", 120},
    {"Vorname", "First Name", 110},
    {"Ort", "City", 110},
    {"PLZ", "ZIP", 60},
    {"Strasse", "Street", 130},
    {"Hausnummer", "HouseNr.", 60},
    {"Telefon", "Telefon", 100},
    {"Eintritt", "Entrace", 80, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Date},
    {"Austritt", "Leaved", 80, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Date},
    {"Geburtsdatum", "Birthday", 80, Qt::AlignLeft | Qt::AlignVCenter, GridColumn::Display::Date},
    {"Rabatt", "Discount", 60, Qt::AlignRight | Qt::AlignVCenter},
    {"Sonstiges", "Others", 200},
};

QLineEdit* searchEdit(const char* name, const QString& caption, QGridLayout* layout, int row, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    label->setBuddy(edit);
    layout->addWidget(label, row, 0);
    layout->addWidget(edit, row, 1);
    return edit;
}

} // namespace

Tfrm_mitglieder::Tfrm_mitglieder(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_mitglieder"), QStringLiteral("Members"), parent)
{
    setHelpTopic(600);
    formModel_ = new RecordSetModel(&records_, this);
    gridModel_ = new RecordSetModel(&records_, this);
    gridModel_->setColumns(overviewColumns);
    auto* layout = new QVBoxLayout(body());
    auto* header = new QWidget(body());
    setupHeader(header);
    layout->addWidget(header);
    PageControl = new QTabWidget(body());
    PageControl->setObjectName(QStringLiteral("PageControl"));
    layout->addWidget(PageControl, 1);
    setupDataPage();
    setupSearchPage();
    setupOverviewPage();
    setupNavigator();
    layout->addWidget(DBNavigator);
    cb_mitohne = new QCheckBox(QStringLiteral("&Autoserve Membernumber"), body());
    cb_mitohne->setObjectName(QStringLiteral("cb_mitohne"));
    cb_mitohne->setChecked(true);
    layout->addWidget(cb_mitohne);
    btn_close = addCloseButton();
    connect(PageControl, &QTabWidget::currentChanged, this, &Tfrm_mitglieder::PageControlChange);

    records_.onNewRecord = [this] {
        drawnNumber_.reset();
        if (cb_mitohne->isChecked()) {
            drawnNumber_ = Members::fGetMaxMitgliedNr();
            records_.setField(QStringLiteral("Mitgliedsnummer"), *drawnNumber_);
        }
    };
    records_.beforeInsertWrite = [this] { Members::confirmDrawnNumber(records_, drawnNumber_); };
    // Separate from the member's own deletion: if that fails, the discounts are gone already.
    records_.beforeDelete = [this] {
        Members::deleteMonthlyDiscounts(records_.field(QStringLiteral("Mitgliedsnummer")).asInteger());
        return true;
    };
    connect(&records_, &RecordSet::currentChanged, this, &Tfrm_mitglieder::showHeader);
    connect(&records_, &RecordSet::rowChanged, this, &Tfrm_mitglieder::showHeader);
    connect(&records_, &RecordSet::reset, this, &Tfrm_mitglieder::showHeader);
    resize(720, 480);
}

void Tfrm_mitglieder::setupHeader(QWidget* header)
{
    auto* row = new QHBoxLayout(header);
    auto* caption = new QLabel(QStringLiteral("Member"), header);
    QFont bold = caption->font();
    bold.setBold(true);
    lbl_nachname = new QLabel(header);
    lbl_nachname->setObjectName(QStringLiteral("lbl_nachname"));
    lbl_vorname = new QLabel(header);
    lbl_vorname->setObjectName(QStringLiteral("lbl_vorname"));
    // Stored names are shown as they are: a name with markup in it is no markup here.
    for (QLabel* name : {lbl_nachname, lbl_vorname}) {
        name->setFont(bold);
        name->setTextFormat(Qt::PlainText);
    }
    row->addWidget(caption);
    row->addWidget(lbl_nachname);
    row->addWidget(lbl_vorname);
    row->addStretch(1);
}

void Tfrm_mitglieder::setupDataPage()
{
    TabSheetPersoenlich = new QWidget(PageControl);
    TabSheetPersoenlich->setObjectName(QStringLiteral("TabSheetPersoenlich"));
    auto* page = new QVBoxLayout(TabSheetPersoenlich);
    auto* top = new QGridLayout;
    auto* address = new QGridLayout;
    auto* rest = new QGridLayout;
    page->addLayout(top);
    page->addLayout(address);
    page->addLayout(rest);
    page->addStretch(1);
    form_ = new FieldForm(formModel_, TabSheetPersoenlich);
    form_->build(top, personalFields);
    form_->build(address, addressFields, 0, int(addressFields.size()));
    form_->build(rest, otherFields);
    // City and house number sit under the one caption of the address line; screen readers still
    // name each of them.
    for (const FormField& f : addressFields.mid(1)) {
        form_->label(f.name)->hide();
        form_->control(f.name)->setAccessibleName(f.label);
    }
    if (auto* number = qobject_cast<QLineEdit*>(form_->control(QStringLiteral("ed_mitgliedsnummer"))))
        number->setMaxLength(memberNumberDigits);
    PageControl->addTab(TabSheetPersoenlich, QStringLiteral("&Datas"));
}

void Tfrm_mitglieder::setupSearchPage()
{
    TabSheetFilter = new QWidget(PageControl);
    TabSheetFilter->setObjectName(QStringLiteral("TabSheetFilter"));
    auto* grid = new QGridLayout(TabSheetFilter);
    EditNr = searchEdit("EditNr", QStringLiteral("Member &Nr."), grid, 0, TabSheetFilter);
    EditNr->setMaxLength(memberNumberDigits);
    EditVNam = searchEdit("EditVNam", QStringLiteral("&First Name"), grid, 1, TabSheetFilter);
    EditNNam = searchEdit("EditNNam", QStringLiteral("&Surname"), grid, 2, TabSheetFilter);
    EditPlz = searchEdit("EditPlz", QStringLiteral("&ZIP"), grid, 3, TabSheetFilter);
    EditOrt = searchEdit("EditOrt", QStringLiteral("&City"), grid, 4, TabSheetFilter);
    btn_suchen = new QPushButton(QStringLiteral("Start searching"), TabSheetFilter);
    btn_suchen->setObjectName(QStringLiteral("btn_suchen"));
    btn_suchenende = new QPushButton(QStringLiteral("End searching"), TabSheetFilter);
    btn_suchenende->setObjectName(QStringLiteral("btn_suchenende"));
    grid->addWidget(btn_suchen, 5, 0);
    grid->addWidget(btn_suchenende, 5, 1, Qt::AlignLeft);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    connect(btn_suchen, &QPushButton::clicked, this, &Tfrm_mitglieder::btn_suchenClick);
    connect(btn_suchenende, &QPushButton::clicked, this, &Tfrm_mitglieder::btn_suchenendeClick);
    PageControl->addTab(TabSheetFilter, QStringLiteral("&Search"));
}

void Tfrm_mitglieder::setupOverviewPage()
{
    tbs_ueberblick = new QWidget(PageControl);
    tbs_ueberblick->setObjectName(QStringLiteral("tbs_ueberblick"));
    auto* page = new QVBoxLayout(tbs_ueberblick);
    gr_mitglieder =
        new RecordGrid(QStringLiteral("gr_mitglieder"), QStringLiteral("Members"), tbs_ueberblick);
    gr_mitglieder->setRecords(gridModel_);
    page->addWidget(gr_mitglieder);
    PageControl->addTab(tbs_ueberblick, QStringLiteral("&Overview"));
}

void Tfrm_mitglieder::setupNavigator()
{
    DBNavigator = new RecordNavigator(body());
    DBNavigator->setObjectName(QStringLiteral("DBNavigator"));
    DBNavigator->setRecords(&records_);
    DBNavigator->setMapper(form_->mapper());
    DBNavigator->setGrid(gr_mitglieder);
    const std::pair<RecordNavigator::Button, const char*> hints[] = {
        {RecordNavigator::First, "first dataset"},         {RecordNavigator::Prior, "one step back"},
        {RecordNavigator::Next, "one step forward"},       {RecordNavigator::Last, "last dataset"},
        {RecordNavigator::Insert, "append dataset"},       {RecordNavigator::Delete, "delete dataset"},
        {RecordNavigator::Edit, "edit dataset"},           {RecordNavigator::Post, "adopt changes"},
        {RecordNavigator::Cancel, "abort without change"}, {RecordNavigator::Refresh, "show dataset new"},
    };
    for (const auto& [button, hint] : hints)
        DBNavigator->setHint(button, QLatin1String(hint));
}

void Tfrm_mitglieder::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    PageControlChange(PageControl->currentIndex());
    runAction([this] { openUnfiltered(); });
    form_->applySizes();
}

void Tfrm_mitglieder::closeEvent(QCloseEvent* event)
{
    // What is being typed is stored before the register closes; a member the table refuses keeps
    // the window open with the table's message, to be corrected or cancelled.
    if (isVisible() && !runAction([this] { form_->postPending(); })) {
        event->ignore();
        return;
    }
    DeskWindow::closeEvent(event);
}

void Tfrm_mitglieder::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        records_.close();
    DeskWindow::hideEvent(event);
}

void Tfrm_mitglieder::openUnfiltered()
{
    records_.openTable(QStringLiteral("Mitglieder"), QStringLiteral("Mitgliedsnummer"));
}

void Tfrm_mitglieder::PageControlChange(int index)
{
    // In the grid Enter edits a cell; on the two form pages it moves to the next field.
    setEnterMovesFocus(PageControl->widget(index) != tbs_ueberblick);
}

void Tfrm_mitglieder::btn_suchenClick()
{
    QVector<MemberFilter::Condition> conditions;
    const std::pair<QLineEdit*, const char*> edits[] = {{EditNr, "Mitgliedsnummer"},
                                                        {EditVNam, "Vorname"},
                                                        {EditNNam, "Nachname"},
                                                        {EditPlz, "PLZ"},
                                                        {EditOrt, "Ort"}};
    for (const auto& [edit, field] : edits)
        if (!edit->text().isEmpty())
            conditions.push_back({QLatin1String(field), edit->text()});
    // Searching opens the register again: what is being typed is stored first, or the search
    // waits with the table's message.
    runAction([&] {
        form_->postPending();
        if (conditions.isEmpty()) {
            openUnfiltered();
            return;
        }
        const MemberFilter::Select select =
            MemberFilter::select(conditions, QStringLiteral("Mitgliedsnummer"));
        records_.openQuery(select.sql, select.params);
    });
}

void Tfrm_mitglieder::btn_suchenendeClick()
{
    runAction([this] {
        form_->postPending();
        openUnfiltered();
    });
}

void Tfrm_mitglieder::showHeader()
{
    const bool any = records_.isOpen() && !records_.isEmpty();
    lbl_nachname->setText(any ? records_.field(QStringLiteral("Nachname")).asString() : QString());
    lbl_vorname->setText(any ? records_.field(QStringLiteral("Vorname")).asString() : QString());
}
