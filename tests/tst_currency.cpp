#include "app/sessionstart.h"
#include "billing/u_abrechnung.h"
#include "billing/u_abschluesse.h"
#include "billing/u_alleabschluessereport.h"
#include "billing/u_laender.h"
#include "billing/u_tagesabrechnung.h"
#include "data/recordset.h"
#include "platform/registry.h"
#include "testinstallation.h"
#include "ui/forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestCurrency : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void takenOverCurrencyShowsEverywhereAndStays();
    void emptyCurrencyBlanksTheLabelsAndStartsAsUsDollar();

private:
    QStringList labels() const;

    std::unique_ptr<TestInstallation> installation;
    std::unique_ptr<Tfrm_abrechnung> billing;
    std::unique_ptr<Tfrm_abschluesse> overview;
    std::unique_ptr<Tfrm_alleabschluessereport> report;
    std::unique_ptr<Tfrm_Tagesabrechnung> daily;
    std::unique_ptr<Tfrm_laender> window;
};

void TestCurrency::init()
{
    installation = std::make_unique<TestInstallation>();
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
    billing = std::make_unique<Tfrm_abrechnung>();
    overview = std::make_unique<Tfrm_abschluesse>();
    report = std::make_unique<Tfrm_alleabschluessereport>();
    daily = std::make_unique<Tfrm_Tagesabrechnung>();
    window = std::make_unique<Tfrm_laender>();
    Forms& f = forms();
    f.abrechnung = billing.get();
    f.abschluesse = overview.get();
    f.alleabschluessereport = report.get();
    f.tagesabrechnung = daily.get();
    f.laender = window.get();
}

void TestCurrency::cleanup()
{
    forms() = Forms{};
    window.reset();
    daily.reset();
    report.reset();
    overview.reset();
    billing.reset();
    installation.reset();
}

QStringList TestCurrency::labels() const
{
    return {billing->lbl_abrechnen->text(), overview->lbl_summew->text(), report->lbl_summew->text(),
            daily->lbl_summew->text()};
}

void TestCurrency::takenOverCurrencyShowsEverywhereAndStays()
{
    window->show();
    RecordSet* countries = window->tbl_laender;
    QVERIFY(countries->count() > 0);
    QCOMPARE(window->ed_waehrung->text(), countries->field(QStringLiteral("Währung")).asString());
    int germany = -1;
    for (int row = 0; row < countries->count(); ++row)
        if (countries->valueAt(row, countries->fieldIndex(QStringLiteral("Land"))).toString() == "Germany")
            germany = row;
    QVERIFY(germany >= 0);
    countries->moveTo(germany);
    QCOMPARE(window->ed_waehrung->text(), QStringLiteral("EUR"));
    window->btn_uebernehmen->click();
    QVERIFY(!window->isVisible());
    QCOMPARE(labels(), QStringList(4, QStringLiteral("EUR")));
    QCOMPARE(Registry::text(QStringLiteral("Waehrung")), QStringLiteral("EUR"));
    QCOMPARE(SessionStart::currencyText(), QStringLiteral("EUR")); // what the next start shows

    // The field holds six characters at most; what is typed is taken as it stands.
    window->show();
    window->ed_waehrung->clear();
    QTest::keyClicks(window->ed_waehrung, QStringLiteral("Dollars"));
    QCOMPARE(window->ed_waehrung->text(), QStringLiteral("Dollar"));
    window->btn_uebernehmen->click();
    QCOMPARE(labels(), QStringList(4, QStringLiteral("Dollar")));

    // Close stores nothing.
    window->show();
    window->ed_waehrung->setText(QStringLiteral("XYZ"));
    window->btn_close->click();
    QCOMPARE(Registry::text(QStringLiteral("Waehrung")), QStringLiteral("Dollar"));
}

void TestCurrency::emptyCurrencyBlanksTheLabelsAndStartsAsUsDollar()
{
    window->show();
    window->ed_waehrung->clear();
    window->btn_uebernehmen->click();
    QCOMPARE(labels(), QStringList(4, QString()));
    QCOMPARE(SessionStart::currencyText(), QStringLiteral("US$"));
}

QTEST_MAIN(TestCurrency)
#include "tst_currency.moc"
