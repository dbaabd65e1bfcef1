#include "users/loginwindow.h"

#include "cards/cardlayouts.h"
#include "cards/tsmartcard.h"
#include "data/session.h"
#include "platform/messages.h"
#include "platform/usersettings.h"
#include "ui/pictures.h"
#include "users/rightscontrols.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {
// Both log-in windows propose the name last used in either of them.
const QString rememberedGroup = QStringLiteral("LOGIN");
} // namespace

LoginWindow::LoginWindow(const QString& name, const QString& okCaption, QWidget* parent)
    : DeskWindow(name, QStringLiteral("LOGIN"), parent)
{
    setWindowIcon(Pictures::toolIcon(Pictures::Tool::Login));
    auto* grid = new QGridLayout(body());
    auto* picture = new QLabel(body());
    picture->setPixmap(Pictures::toolIcon(Pictures::Tool::Login).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);
    grid->addWidget(picture, 0, 0, 2, 1);
    lbl_user = new QLabel(QStringLiteral("Select User"), body());
    lbl_user->setObjectName(QStringLiteral("lbl_user"));
    lu_user = new QComboBox(body());
    lu_user->setObjectName(QStringLiteral("lu_user"));
    lu_user->setEditable(true);
    lu_user->lineEdit()->setMaxLength(30); // Rechte.Benutzer
    lu_user->setInsertPolicy(QComboBox::NoInsert);
    lu_user->setMinimumWidth(200);
    lbl_passwort = new QLabel(QStringLiteral("Input Password"), body());
    lbl_passwort->setObjectName(QStringLiteral("lbl_passwort"));
    ed_passwort = new QLineEdit(body());
    ed_passwort->setObjectName(QStringLiteral("ed_passwort"));
    ed_passwort->setMaxLength(30);
    ed_passwort->setEchoMode(QLineEdit::Password);
    ed_passwort->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*', not the style's dot
    lbl_status = new QLabel(QStringLiteral("Cardstatus"), body());
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    grid->addWidget(lbl_user, 0, 1);
    grid->addWidget(lu_user, 0, 2);
    grid->addWidget(lbl_passwort, 1, 1);
    grid->addWidget(ed_passwort, 1, 2);
    grid->addWidget(lbl_status, 2, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    lbl_user->setBuddy(lu_user);
    lbl_passwort->setBuddy(ed_passwort);

    btn_anmelden = addBottomButton(QStringLiteral("btn_anmelden"), okCaption);
    btn_close = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"), true);
    connect(btn_anmelden, &QPushButton::clicked, this, &LoginWindow::btn_anmeldenClick);
    connect(btn_close, &QPushButton::clicked, this, &QDialog::reject);
    // Sized with the card status line in, so that card log-in finds room for it.
    setFixedDialogSize(sizeHint().expandedTo(QSize(380, 160)));
    lbl_status->hide();
    sc_reader = new TSmartCard(this);
    sc_reader->setObjectName(QStringLiteral("sc_reader"));
    sc_reader->setStatusLabel(lbl_status);
    sc_reader->OnCardActive = [this](int device) { sc_readerCardActive(device); };
    setWindowModality(Qt::ApplicationModal);
}

void LoginWindow::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    const QString remembered = UserSettings::value(rememberedGroup, QStringLiteral("lu_user")).toString();
    lu_user->clear();
    runAction([this] { lu_user->addItems(LoginCheck::userNames()); });
    lu_user->setEditText(remembered);
    // The previous user's password must not wait in the field for the next one.
    ed_passwort->clear();
    ed_passwort->setFocus();
    const bool byCard = Session::KartenleserAktiv && Session::KarteFuerAngestellte;
    if (byCard) {
        try {
            sc_reader->setActive(true);
        } catch (const SmartCardError& e) {
            Messages::error(e.message());
        }
        sc_reader->setLanguage(SmartCard::Language::English);
    }
    lbl_status->setVisible(byCard);
}

void LoginWindow::hideEvent(QHideEvent* event)
{
    sc_reader->setActive(false);
    DeskWindow::hideEvent(event);
}

void LoginWindow::sc_readerCardActive(int)
{
    const std::optional<CardLayout::Employee> employee =
        CardLayout::readEmployee(sc_reader->CardCommand("Card,MemRead,20,60"));
    if (!employee) {
        Messages::information(QStringLiteral("no correct carddatas!"));
        return;
    }
    lu_user->setEditText(employee->Benutzer);
    ed_passwort->setText(employee->Passwort);
    btn_anmeldenClick();
}

void LoginWindow::btn_anmeldenClick()
{
    std::optional<LoggedInUser> user;
    if (!runAction([&] { user = check_.check(lu_user->currentText(), ed_passwort->text()); }))
        return;
    if (!user) {
        Messages::information(QStringLiteral("login failed !"));
        ed_passwort->setFocus();
        return;
    }
    // Only a name that logged in is proposed next time: a mistyped attempt by an employee must
    // not become the name the administrator's start-up log-in offers.
    UserSettings::setValue(rememberedGroup, QStringLiteral("lu_user"), user->benutzer);
    beginSession(*user);
    applyControlStates(RightsMap::statesFor(user->rights));
    loggedIn();
    accept();
}
