#include "answers.h"
#include "cards/u_mitglieder.h"
#include "courts/u_kenngroessen.h"
#include "data/daycount.h"
#include "stock/u_inventar.h"
#include "testinstallation.h"
#include "ui/fieldcontrols.h"
#include "ui/fieldform.h"
#include "ui/recordnavigator.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QDate today(2026, 11, 14); // in a month of 30 days, in a common year

// Types as a keyboard does: one key per character, an emoji being one character of two UTF-16
// units.
void typeText(QWidget* widget, const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    for (const uint c : characters) {
        const char32_t one = c;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&one, 1),
                            Qt::NoModifier);
    }
}

// One of the windows whose fields are a FieldForm over a record set, with its navigator.
struct FormWindow {
    std::unique_ptr<DeskWindow> window;
    FieldForm* form = nullptr;
    RecordNavigator* navigator = nullptr;

    explicit FormWindow(const QString& name)
    {
        if (name == QLatin1String("members")) {
            auto* members = new Tfrm_mitglieder;
            window.reset(members);
            form = members->form();
            navigator = members->DBNavigator;
        } else if (name == QLatin1String("stock")) {
            auto* stock = new Tfrm_inventar;
            window.reset(stock);
            form = stock->form();
            navigator = stock->DBNavigator1;
        } else {
            auto* parameters = new Tfrm_kenngroessen;
            window.reset(parameters);
            form = parameters->parameterFields;
            navigator = parameters->DBNavigator1;
        }
        window->show();
        QApplication::setActiveWindow(window.get());
    }
};

} // namespace

class TestForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void typedDates_data();
    void typedDates();
    void badInput_data();
    void badInput();

private:
    std::unique_ptr<TestInstallation> installation;
};

void TestForms::initTestCase()
{
    // The dates below are typed in the format the fields show under the test locale.
    QCOMPARE(DayCountEdit().displayFormat(), QStringLiteral("d MMM yyyy"));
}

void TestForms::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    DayCount::setCurrentMoment(QDateTime(today, QTime(18, 0)));
    TestInstallation::exec("insert into Mitglieder (Mitgliedsnummer, Nachname, Telefon, Rabatt) "
                           "values (1, 'Abel', '030', 5)");
    TestInstallation::exec(
        "insert into Inventar (Inventar_id, Name, Lagerbestand, Wert) values (1, 'Net', 2, 320)");
    TestInstallation::exec("update Kennzahlen set Belegid = 41");
}

void TestForms::cleanup()
{
    installation.reset();
}

void TestForms::typedDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("stored");
    QTest::newRow("day, month and year") << "1 Dec 2026" << QDate(2026, 12, 1);
    QTest::newRow("a day of one digit before the month") << "7 Mar 2025" << QDate(2025, 3, 7);
    QTest::newRow("the 31st typed in a month of 30 days") << "31 Dec 2026" << QDate(2026, 12, 31);
    QTest::newRow("a leap day typed in a common year") << "29 Feb 2028" << QDate(2028, 2, 29);
    // The toolkit's refusal: the day is cut to the month's last.
    QTest::newRow("an impossible date") << "30 Feb 2026" << QDate(2026, 2, 28);
    QTest::newRow("only the day: this month and year") << "9" << QDate(2026, 11, 9);
}

void TestForms::typedDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, stored);
    FormWindow members(QStringLiteral("members"));
    auto* joined = qobject_cast<DayCountEdit*>(members.form->control(QStringLiteral("ed_eintritt")));
    QVERIFY(joined);
    QVERIFY(!joined->dayCount().isValid()); // an empty field
    joined->setFocus();
    QTRY_VERIFY(joined->hasFocus());
    QTest::keyClicks(joined, typed);
    QVERIFY(members.navigator->button(RecordNavigator::Post)->isEnabled());
    members.navigator->press(RecordNavigator::Post);
    QCOMPARE(TestInstallation::scalar("select Eintritt from Mitglieder").toInt(), DayCount::fromDate(stored));
    QCOMPARE(joined->date(), stored);

    // Delete empties the date again.
    joined->setFocus();
    QTest::keyClick(joined, Qt::Key_Delete);
    members.navigator->press(RecordNavigator::Post);
    QVERIFY(TestInstallation::scalar("select Eintritt from Mitglieder").isNull());
}

void TestForms::badInput_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("stored"); // a select of the one value
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<QString>("message"); // empty: none

    const QString discount = "select Rabatt from Mitglieder";
    QTest::newRow("discount: a lone minus") << "members"
                                            << "ed_rabatt"
                                            << "-" << false << discount << QVariant(5)
                                            << "Field 'Rabatt' holds numbers only; '-' is not a number.";
    QTest::newRow("discount: an exponent is refused as typed")
        << "members"
        << "ed_rabatt"
        << "1e2" << false << discount << QVariant(12) << "";
    QTest::newRow("discount: a pasted page of digits")
        << "members"
        << "ed_rabatt" << QString(10000, '9') << true << discount << QVariant(5)
        << "Field 'Rabatt' holds numbers only; '99999999999999999999...' is not a number.";
    QTest::newRow("item number: a lone plus")
        << "stock"
        << "DBEdit1"
        << "+" << false << "select Inventar_id from Inventar" << QVariant(1)
        << "Field 'Inventar_id' holds whole numbers only; '+' is not one.";
    QTest::newRow("stock: a lone minus") << "stock"
                                         << "DBEdit4"
                                         << "-" << false << "select Lagerbestand from Inventar" << QVariant(2)
                                         << "Field 'Lagerbestand' holds numbers only; '-' is not a number.";
    QTest::newRow("price: pasted words")
        << "stock"
        << "DBEdit5"
        << "ten" << true << "select Wert from Inventar" << QVariant(320) << "";
    QTest::newRow("bill id: a lone minus") << "parameters"
                                           << "DBEdit7"
                                           << "-" << false << "select Belegid from Kennzahlen" << QVariant(41)
                                           << "Field 'Belegid' holds whole numbers only; '-' is not one.";
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xBE"); // a tennis ball, two UTF-16 units
    QTest::newRow("telephone: 21 emoji where 20 characters fit")
        << "members"
        << "ed_telefon" << emoji.repeated(21) << false << "select Telefon from Mitglieder"
        << QVariant(emoji.repeated(20)) << "";
    QTest::newRow("surname: a pasted NUL") << "members"
                                           << "ed_nachname" << QString::fromUtf16(u"Ab\0el", 5) << true
                                           << "select Nachname from Mitglieder" << QVariant("Abel") << "";
    QTest::newRow("surname: markup is a name like any other")
        << "members"
        << "ed_nachname"
        << "<b>Abel</b>" << false << "select Nachname from Mitglieder" << QVariant("<b>Abel</b>") << "";
}

void TestForms::badInput()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    QFETCH(QString, stored);
    QFETCH(QVariant, expected);
    QFETCH(QString, message);
    FormWindow form(window);
    auto* edit = qobject_cast<QLineEdit*>(form.form->control(control));
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    if (pasted) {
        QApplication::clipboard()->setText(input);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else {
        typeText(edit, input);
    }
    Answers answers;
    answers.answer = Messages::Answer::Ok;
    form.navigator->press(RecordNavigator::Post);
    QCOMPARE(answers.asked, message.isEmpty() ? QStringList() : QStringList{message});
    const QVariant value = TestInstallation::scalar(stored);
    QCOMPARE(value.toString(), expected.toString());
    if (expected.typeId() != QMetaType::QString)
        QVERIFY2(value.typeId() != QMetaType::QString, "a number field holds a text");

    // A refused number stays in editing as typed, to be corrected; the header shows a stored name
    // as the text it is.
    if (!message.isEmpty()) {
        QCOMPARE(edit->text(), input);
        QVERIFY(form.navigator->button(RecordNavigator::Cancel)->isEnabled());
    }
    if (auto* members = qobject_cast<Tfrm_mitglieder*>(form.window.get())) {
        QCOMPARE(members->lbl_nachname->textFormat(), Qt::PlainText);
        QCOMPARE(members->lbl_nachname->text(),
                 TestInstallation::scalar("select Nachname from Mitglieder").toString());
    }
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
