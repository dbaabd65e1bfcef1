#pragma once

#include "ui/deskwindow.h"
#include "users/login.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSmartCard;

// What both log-in windows share: the name list with the remembered name, the password, the
// check and, on success, the user's type and rights taking effect. The name is remembered when a
// log-in succeeds, never merely because the window closed. A fixed-size dialog.
class LoginWindow : public DeskWindow {
    Q_OBJECT
public:
    LoginWindow(const QString& name, const QString& okCaption, QWidget* parent);

    QLabel* lbl_user = nullptr;
    QComboBox* lu_user = nullptr;
    QLabel* lbl_passwort = nullptr;
    QLineEdit* ed_passwort = nullptr;
    QLabel* lbl_status = nullptr;
    QPushButton* btn_anmelden = nullptr;
    QPushButton* btn_close = nullptr;
    // The chip-card terminal, active while the window is shown when employee cards are in use.
    TSmartCard* sc_reader = nullptr;

public slots:
    void btn_anmeldenClick();
    // An employee card was inserted: log in with the name and password it carries.
    void sc_readerCardActive(int device);

protected:
    // Runs after a successful log-in, before the window closes.
    virtual void loggedIn() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    LoginCheck check_;
};
