#include "app/messagebox.h"
#include "platform/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMessageBoxes : public QObject {
    Q_OBJECT
private slots:
    void retryOrQuit_data();
    void retryOrQuit();
};

void TestMessageBoxes::retryOrQuit_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("retried");
    QTest::newRow("Retry") << "Retry" << true;
    QTest::newRow("Quit") << "Quit" << false;
    QTest::newRow("closed with Escape") << QString() << false;
}

void TestMessageBoxes::retryOrQuit()
{
    QFETCH(QString, click);
    QFETCH(bool, retried);
    qunsetenv("COURTORIA_UNATTENDED");
    installMessageBoxes();
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString shownText;
    // The box runs its own loop: it is answered from inside that loop once it shows.
    std::function<void()> answer;
    answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            QTimer::singleShot(10, answer);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        icon = box->icon();
        shownText = box->text();
        if (click.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == click)
                b->click();
    };
    QTimer::singleShot(0, answer);
    const bool result = Messages::retry(QStringLiteral("The database server does not answer."));
    Messages::setHandler({});
    QCOMPARE(result, retried);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Quit", "Retry"}));
    QCOMPARE(defaultButton, QString("Retry"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(shownText, QString("The database server does not answer."));
}

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
