#pragma once

#include "ui/deskwindow.h"

class FieldForm;
class QGroupBox;
class QLabel;
class QPushButton;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The administrator's editor of his own password and start-up log-in and of the employees' names,
// passwords and rights. It adds and removes no user; changes take effect at the next log-in, and
// changes not taken over are dropped when the window closes.
class Tfrm_benutzerrechte : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_benutzerrechte(QWidget* parent = nullptr);

    RecordSet* qry_administrator = nullptr;
    RecordSet* qry_user = nullptr;
    QGroupBox* gb_administrator = nullptr;
    QGroupBox* gb_users = nullptr;
    QGroupBox* gb_menue = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QPushButton* btn_takeover1 = nullptr;
    QPushButton* btn_takeover2 = nullptr;
    QPushButton* btn_close = nullptr;
    FieldForm* administratorFields = nullptr;
    FieldForm* userFields = nullptr;

public slots:
    void btn_takeover1Click();
    void btn_takeover2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupAdministrator();
    void setupUsers();
};
