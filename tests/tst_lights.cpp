#include "answers.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/session.h"
#include "lights/relaylink.h"
#include "lights/relays.h"
#include "lights/u_abbruchfenster.h"
#include "lights/u_gruppensteuerung.h"
#include "lights/u_lichtsteuerung.h"
#include "lights/u_schalttafel.h"
#include "platform/registry.h"
#include "relayinstallation.h"
#include "testinstallation.h"
#include "ui/fieldcontrols.h"
#include "ui/forms.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using Bytes = std::vector<unsigned char>;

// The light windows driven by their component names, the relay line read from its other end.
class TestLights : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void failureDialogRetriesWithChosenPort();
    void failureDialogCloseBoxAborts_data();
    void failureDialogCloseBoxAborts();
    void switchPanelLampsFollowModuleState();
    void assignmentTestButtonsRefuseUnstoredOrMissingOutput();
    void assignAutomaticalNumbersCourtsInOrder();
    void courtLightFollowsBookingsWhenTakenOver();
    void parameterTakeOverRefreshesWaitingTimeOnlyWhenStored();
    void switchPlanColoursAndRefusedInsert();

private:
    std::unique_ptr<RelayInstallation> hall_;
    RelayLine* line_ = nullptr;
};

void TestLights::init()
{
    hall_ = std::make_unique<RelayInstallation>();
    QVERIFY2(hall_->isValid(), qPrintable(hall_->installation.failure()));
    line_ = &hall_->line;
}

void TestLights::cleanup()
{
    line_ = nullptr;
    hall_.reset();
}

void TestLights::failureDialogRetriesWithChosenPort()
{
    TestInstallation::exec(QStringLiteral("update Kennzahlen set Lichtschaltung = true, ComPort = 1"));
    Registry::setValue(QStringLiteral("modul_2"), 0x81);
    Tfrm_abbruchfenster dialog;
    forms().abbruchfenster = &dialog;
    RecordSet parameters;
    parameters.openQuery(QStringLiteral("select * from Kennzahlen"));
    int shown = 0;
    std::function<void()> answer = [&] {
        if (!dialog.isVisible()) {
            QTimer::singleShot(20, answer);
            return;
        }
        ++shown;
        QCOMPARE(dialog.height(), 196);
        QVERIFY(dialog.gb_comport->isVisible());
        QCOMPARE(dialog.lbl_infotext1->text(), QStringLiteral("cannot open comport or"));
        QCOMPARE(dialog.lbl_infotext2->text(), QStringLiteral("comport already open !!"));
        QCOMPARE(dialog.lbl_infotext3->text(), QStringLiteral("check the seriel port (comport)."));
        QCOMPARE(dialog.cb_comport->currentText(), QStringLiteral("com2"));
        dialog.cb_comport->setCurrentIndex(0);
        emit dialog.cb_comport->activated(0);
        QTest::mouseClick(dialog.btn_nochmal, Qt::LeftButton);
    };
    QTimer::singleShot(20, answer);
    restartRelaysAtStart(parameters);
    forms().abbruchfenster = nullptr;
    QCOMPARE(shown, 1);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select ComPort from Kennzahlen")).toInt(), 0);
    QVERIFY(Relays::link().isOpen());
    QVERIFY(line_->waitFor(25));
    QTest::qWait(30);
    const Bytes sent = line_->values();
    QCOMPARE(sent, (Bytes{0x1B, 1, 0x40, 0, 0,    0x1B, 2, 0x40, 0x81, 0,    0x1B, 3, 0x40,
                          0,    0, 0x1B, 4, 0x40, 0,    0, 0x1B, 5,    0x40, 0,    0}));
}

void TestLights::failureDialogCloseBoxAborts_data()
{
    QTest::addColumn<bool>("showPort");
    QTest::addColumn<int>("height");
    QTest::newRow("with port choice") << true << 196;
    QTest::newRow("without") << false << 140;
}

void TestLights::failureDialogCloseBoxAborts()
{
    QFETCH(bool, showPort);
    QFETCH(int, height);
    Tfrm_abbruchfenster dialog;
    bool visible = !showPort;
    int seen = 0;
    QTimer::singleShot(50, &dialog, [&] {
        seen = dialog.height();
        visible = dialog.gb_comport->isVisible();
        dialog.close(); // the close box
    });
    QVERIFY(dialog.ask(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), showPort));
    QCOMPARE(seen, height);
    QCOMPARE(visible, showPort);
}

void TestLights::switchPanelLampsFollowModuleState()
{
    TestInstallation::exec(
        QStringLiteral("update Schaltplan set Bezeichnung = 'Court 3' where Anschluss = 3"));
    TestInstallation::exec(
        QStringLiteral("insert into Schaltplan (Anschluss, Bezeichnung, Gruppen) values (0, 'zero', 0)"));
    TestInstallation::exec(
        QStringLiteral("insert into Schaltplan (Anschluss, Bezeichnung, Gruppen) values (45, 'high', 0)"));
    Relays::link().open(0);
    Session::Modulzustand = {0x05, 0, 0, 0, 0x80};
    Tfrm_schalttafel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    for (int n = 1; n <= 40; ++n) {
        const bool on = n == 1 || n == 3 || n == 40;
        auto* lamp = panel.findChild<Lamp*>(QStringLiteral("lamp_%1").arg(n));
        QVERIFY(lamp);
        QCOMPARE(lamp->isOn(), on);
        QVERIFY(lamp->accessibleName().endsWith(on ? QLatin1String(" on") : QLatin1String(" off")));
    }
    // Each module's row of lamps is headed by its number alone.
    for (int m = 1; m <= 5; ++m) {
        const auto* heading = panel.findChild<QLabel*>(QStringLiteral("lbl_modul_%1").arg(m));
        QVERIFY(heading);
        QCOMPARE(heading->text(), QString::number(m));
    }
    QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("l3"))->text(), QStringLiteral("Court 3"));
    for (QLabel* label : panel.labels)
        QVERIFY(label->text() != QLatin1String("zero") && label->text() != QLatin1String("high"));
    QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("sw_17on")), Qt::LeftButton);
    QVERIFY(line_->waitFor(5));
    QTest::qWait(30);
    QCOMPARE(line_->values(), (Bytes{0x1B, 3, 0x40, 0x01, 0}));
    QVERIFY(panel.findChild<Lamp*>(QStringLiteral("lamp_17"))->isOn());
    QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("sw_1off")), Qt::LeftButton);
    QVERIFY(!panel.findChild<Lamp*>(QStringLiteral("lamp_1"))->isOn());
    QCOMPARE(Session::Modulzustand[0], quint8(0x04));
    panel.close();
}

void TestLights::assignmentTestButtonsRefuseUnstoredOrMissingOutput()
{
    TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer, Anschluss) values (1, NULL)"));
    TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer, Anschluss) values (2, 10)"));
    Relays::link().open(0);
    Answers answers;
    Tfrm_lichtsteuerung window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* bulbon = window.findChild<QPushButton*>(QStringLiteral("btn_lichtein"));
    QTest::mouseClick(bulbon, Qt::LeftButton);
    QCOMPARE(answers.asked, QStringList{QStringLiteral("No relais assigned !")});
    auto* line = window.findChild<ChoiceBox*>(QStringLiteral("cb_line"));
    line->setCurrentIndex(4);
    emit line->activated(4);
    QTest::mouseClick(bulbon, Qt::LeftButton);
    QCOMPARE(answers.asked.value(1), QStringLiteral("First click the take over button !"));
    QTest::qWait(30);
    QVERIFY(line_->bytes().empty());
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btn_uebernehmen")), Qt::LeftButton);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Anschluss from Tische where Tischnummer = 1"))
                 .toInt(),
             5);
    QTest::mouseClick(bulbon, Qt::LeftButton);
    QVERIFY(line_->waitFor(5));
    QTest::qWait(30);
    QCOMPARE(line_->values(), (Bytes{0x1B, 1, 0x40, 0x10, 0}));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btn_delete")), Qt::LeftButton);
    QVERIFY(TestInstallation::scalar(QStringLiteral("select Anschluss from Tische where Tischnummer = 1"))
                .isNull());
    QCOMPARE(answers.asked.size(), 2);
    window.close();
}

void TestLights::courtLightFollowsBookingsWhenTakenOver()
{
    TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer, Anschluss) values (1, 3)"));
    TestInstallation::exec(
        QStringLiteral("insert into Tische (Tischnummer, Anschluss, Lichtautomatik, Vorlauf, "
                       "Nachlauf) values (2, 4, true, 0, 30)"));
    Tfrm_lichtsteuerung window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Each control is found by its caption, as a screen reader reads it.
    for (QWidget* control :
         {static_cast<QWidget*>(window.se_vorlauf), static_cast<QWidget*>(window.se_nachlauf)}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        QVERIFY(a);
        QVERIFY2(a->text(QAccessible::Name).startsWith(QLatin1String("run-")),
                 qPrintable(a->text(QAccessible::Name)));
    }
    QCOMPARE(window.cb_lichtautomatik->text(), QStringLiteral("switch with bookings"));
    // Court 1 has no settings stored: not switched, 5 and 5 minutes.
    QVERIFY(!window.cb_lichtautomatik->isChecked());
    QCOMPARE(window.se_vorlauf->value(), 5);
    QCOMPARE(window.se_nachlauf->value(), 5);
    QCOMPARE(window.se_vorlauf->maximum(), 30);
    QTest::mouseClick(window.cb_lichtautomatik, Qt::LeftButton);
    window.se_vorlauf->setFocus();
    window.se_vorlauf->selectAll();
    QTest::keyClicks(window.se_vorlauf, "10");
    // Nothing is stored before "Take over".
    QVERIFY(
        !TestInstallation::scalar(QStringLiteral("select Lichtautomatik from Tische where Tischnummer = 1"))
             .toBool());
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btn_uebernehmen")), Qt::LeftButton);
    QVERIFY(
        TestInstallation::scalar(QStringLiteral("select Lichtautomatik from Tische where Tischnummer = 1"))
            .toBool());
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select Vorlauf from Tische where Tischnummer = 1")).toInt(),
        10);
    // Moving on shows the next court's own settings.
    window.navigator->button(RecordNavigator::Next)->click();
    QVERIFY(window.cb_lichtautomatik->isChecked());
    QCOMPARE(window.se_vorlauf->value(), 0);
    QCOMPARE(window.se_nachlauf->value(), 30);
    window.close();
}

void TestLights::assignAutomaticalNumbersCourtsInOrder()
{
    for (int n = 1; n <= 12; ++n)
        TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer, Anschluss) values (?, ?)"),
                               {n, 40 - n});
    Tfrm_lichtsteuerung window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btn_automatisch")), Qt::LeftButton);
    QCOMPARE(
        TestInstallation::scalar(QStringLiteral("select count(*) from Tische where Anschluss = Tischnummer"))
            .toInt(),
        12);
    window.close();
}

void TestLights::parameterTakeOverRefreshesWaitingTimeOnlyWhenStored()
{
    TestInstallation::exec(QStringLiteral("update Kennzahlen set Wartezeit = 20"));
    Answers answers;
    Tfrm_lichtsteuerung window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Session::Wartezeit = 77;
    auto* takeOver = window.findChild<QPushButton*>(QStringLiteral("btn_uebernehmen1"));
    QTest::mouseClick(takeOver, Qt::LeftButton);
    QCOMPARE(Session::Wartezeit, 77);
    auto* wait = window.findChild<ChoiceBox*>(QStringLiteral("cb_wartezeit"));
    QCOMPARE(wait->currentText(), QStringLiteral("20"));
    wait->setCurrentIndex(wait->findText(QStringLiteral("50")));
    window.findChild<QCheckBox*>(QStringLiteral("dcb_lichtsteuerungein"))->setChecked(true);
    QTest::mouseClick(takeOver, Qt::LeftButton);
    QCOMPARE(Session::Wartezeit, 50);
    QCOMPARE(TestInstallation::scalar(QStringLiteral("select Wartezeit from Kennzahlen")).toInt(), 50);
    QVERIFY(TestInstallation::scalar(QStringLiteral("select Lichtschaltung from Kennzahlen")).toBool());
    QVERIFY(answers.asked.isEmpty());
    window.close();
}

void TestLights::switchPlanColoursAndRefusedInsert()
{
    TestInstallation::exec(QStringLiteral("insert into Tische (Tischnummer, Anschluss) values (1, 7)"));
    TestInstallation::exec(QStringLiteral("update Schaltplan set Gruppen = 3 where Anschluss in (7, 8)"));
    Tfrm_gruppensteuerung window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* grid = window.findChild<RecordGrid*>(QStringLiteral("gr_schaltplan"));
    QAbstractItemModel* model = grid->model();
    auto colour = [&](int row, int column) {
        return model->index(row, column).data(Qt::BackgroundRole).value<QColor>();
    };
    // Output 7: used by a court (lime) in group 3 (red group cell); output 8: only the group cell.
    QCOMPARE(colour(6, 0), QColor(Qt::green));
    QCOMPARE(colour(6, 1), QColor(Qt::green));
    QCOMPARE(colour(6, 2), QColor(Qt::red));
    QVERIFY(!colour(7, 0).isValid());
    QCOMPARE(colour(7, 2), QColor(Qt::red));
    QVERIFY(!colour(0, 2).isValid());
    QVERIFY(!window.schaltplan()->append());
    QCOMPARE(window.schaltplan()->count(), 40);
    window.close();
}

QTEST_MAIN(TestLights)
#include "tst_lights.moc"
