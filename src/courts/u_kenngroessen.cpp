#include "courts/u_kenngroessen.h"

#include "app/sessionstart.h"
#include "data/pendingrow.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/store.h"
#include "ui/fieldform.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

using Kind = FormField::Kind;

constexpr int maxPercentage = 999;

QVector<std::pair<QString, QVariant>> numbered(int from, int to)
{
    QVector<std::pair<QString, QVariant>> choices;
    for (int n = from; n <= to; ++n)
        choices.append({QString::number(n), n});
    return choices;
}

} // namespace

Tfrm_kenngroessen::Tfrm_kenngroessen(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_kenngroessen"), QStringLiteral("Parameters"), parent)
{
    setHelpTopic(700);
    tbl_kenn = new RecordSet(this);
    tbl_preisprofil = new RecordSet(this);
    // The profile keeps its installed hours: a new row is refused without a word.
    tbl_preisprofil->beforeInsert = [] { return false; };
    auto* layout = new QVBoxLayout(body());
    QLabel* head = heading(QStringLiteral("Parameters"));
    layout->addWidget(head);
    auto* columns = new QHBoxLayout;
    auto* left = new QWidget(body());
    left->setMinimumWidth(330);
    setupParameters(left);
    columns->addWidget(left);
    auto* right = new QWidget(body());
    setupProfile(right);
    columns->addWidget(right, 1);
    layout->addLayout(columns, 1);
    btn_close = addCloseButton();
    resize(980, 580);
}

void Tfrm_kenngroessen::setupParameters(QWidget* parent)
{
    auto* column = new QVBoxLayout(parent);
    auto* precision = new QGroupBox(QStringLiteral("Digitprecission  /  Print Bill"), parent);
    auto* grid = new QGridLayout(precision);
    parameterFields = new FieldForm(new RecordSetModel(tbl_kenn, this), precision);
    parameterFields->build(grid, {{QStringLiteral("DBComboBox2"), QStringLiteral("Digitprecission"),
                                   QStringLiteral("Nachkommastellen"), Kind::Choice, numbered(0, 2)}});
    gb_beleg = new QGroupBox(QStringLiteral("Print Bill"), precision);
    gb_beleg->setObjectName(QStringLiteral("gb_beleg"));
    auto* receipt = new QGridLayout(gb_beleg);
    parameterFields->build(
        receipt,
        {{QStringLiteral("cb_belegdrucken"), QStringLiteral("Print Bill"), QStringLiteral("Beleg"),
          Kind::Boolean},
         {QStringLiteral("DBEdit1"), QStringLiteral("Company"), QStringLiteral("Firmenname")},
         {QStringLiteral("DBComboBox1"), QStringLiteral("Count"), QStringLiteral("Beleganzahl"), Kind::Choice,
          numbered(1, 5)},
         {QStringLiteral("DBEdit4"), QStringLiteral("Street"), QStringLiteral("Strasse")},
         {QStringLiteral("DBEdit5"), QStringLiteral("ZIP,City"), QStringLiteral("PLZOrt")},
         {QStringLiteral("DBEdit6"), QStringLiteral("Telefon"), QStringLiteral("Telefon")},
         {QStringLiteral("DBEdit7"), QStringLiteral("Bill ID"), QStringLiteral("Belegid"), Kind::Integer},
         {QStringLiteral("RxDBComboBox1"),
          QStringLiteral("Format"),
          QStringLiteral("Belegdruck"),
          Kind::Choice,
          {{QStringLiteral("4 1/4 x 5 1/2 Inches"), 0}, {QStringLiteral("A5 Format"), 1}}}});
    // The flag is edited nowhere else and read nowhere: it stays hidden.
    parameterFields->control(QStringLiteral("cb_belegdrucken"))->hide();
    grid->addWidget(gb_beleg, 1, 0, 1, 2);
    DBNavigator1 = new RecordNavigator(precision);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(RecordNavigator::Edit | RecordNavigator::Post | RecordNavigator::Cancel |
                                    RecordNavigator::Refresh);
    DBNavigator1->setRecords(tbl_kenn);
    DBNavigator1->setMapper(parameterFields->mapper());
    grid->addWidget(DBNavigator1, 2, 0, 1, 2, Qt::AlignLeft);
    column->addWidget(precision);
    column->addStretch();
}

void Tfrm_kenngroessen::setupProfile(QWidget* parent)
{
    auto* column = new QVBoxLayout(parent);
    auto* label = new QLabel(QStringLiteral("Priceprofile in percent"), parent);
    profileModel_ = new RecordSetModel(tbl_preisprofil, this);
    const QColor lime(0, 255, 0);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    GridColumn hour{QStringLiteral("Stunde_e"), QStringLiteral("Hour"), 150};
    hour.readOnly = true;
    hour.cellColour = QColor(0, 0, 255);
    hour.textColour = QColor(255, 255, 0);
    hour.bold = true;
    hour.titleColour = QColor(255, 255, 0);
    GridColumns columns{hour};
    const std::pair<const char*, const char*> days[] = {
        {"Montag", "Mo"},  {"Dienstag", "Tu"}, {"Mittwoch", "We"}, {"Donnerstag", "Th"},
        {"Freitag", "Fr"}, {"Samstag", "Sa"},  {"Sonntag", "Su"}};
    for (const auto& [field, title] : days) {
        GridColumn day{QLatin1String(field), QLatin1String(title), 48, right};
        day.titleColour = qstrcmp(title, "Sa") == 0   ? QColor(255, 0, 255)
                          : qstrcmp(title, "Su") == 0 ? QColor(255, 0, 0)
                                                      : lime;
        columns << day;
    }
    profileModel_->setColumns(columns);
    dgr_profil =
        new RecordGrid(QStringLiteral("dgr_profil"), QStringLiteral("Priceprofile in percent"), parent);
    dgr_profil->setRecords(profileModel_);
    // Billing reads a percentage as a whole number: the weekday cells take digits, 0 to 999.
    for (int day = 1; day < columns.size(); ++day)
        dgr_profil->setDigitColumn(day, maxPercentage);
    label->setBuddy(dgr_profil);
    DBNavigator2 = new RecordNavigator(parent);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->setVisibleButtons(RecordNavigator::First | RecordNavigator::Prior | RecordNavigator::Next |
                                    RecordNavigator::Last | RecordNavigator::Edit | RecordNavigator::Post |
                                    RecordNavigator::Cancel | RecordNavigator::Refresh);
    DBNavigator2->setRecords(tbl_preisprofil);
    DBNavigator2->setGrid(dgr_profil);
    column->addWidget(label);
    column->addWidget(dgr_profil, 1);
    column->addWidget(DBNavigator2, 0, Qt::AlignLeft);
}

void Tfrm_kenngroessen::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    runAction([this] {
        tbl_kenn->openTable(QStringLiteral("Kennzahlen"));
        tbl_preisprofil->openTable(QStringLiteral("Preisprofil"), QStringLiteral("Stundenindex"));
    });
}

void Tfrm_kenngroessen::closeEvent(QCloseEvent* event)
{
    if (tbl_kenn->isOpen()) {
        parameterFields->writeControls();
        postOrDrop(*tbl_kenn);
        tbl_kenn->close();
    }
    if (tbl_preisprofil->isOpen()) {
        dgr_profil->commitEditor();
        postOrDrop(*tbl_preisprofil);
        tbl_preisprofil->close();
    }
    runAction([] { SessionStart::loadNachkommafaktor(); });
    DeskWindow::closeEvent(event);
}
