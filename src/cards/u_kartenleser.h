#pragma once

#include "data/recordset.h"
#include "ui/deskwindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;
class RecordGrid;
class RecordSetModel;
class TSmartCard;

// Writes member and employee chip cards and keeps the card-reader settings. The settings take
// effect for the session only when taken over, which also stores them; writing a card clears it
// and writes the chosen member's or user's record from address 0, reporting into the page's memo.
// Employee cards are written by the administrator only.
class Tfrm_kartenleser : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_kartenleser(QWidget* parent = nullptr);

    RecordSet* members() { return &members_; }
    RecordSet* users() { return &users_; }

    QTabWidget* pc_chipcard = nullptr;
    QWidget* ts_settings = nullptr;
    QWidget* ts_members = nullptr;
    QWidget* ts_employees = nullptr;
    QCheckBox* cb_cardreader = nullptr;
    QCheckBox* cb_members = nullptr;
    QCheckBox* cb_employs = nullptr;
    QPushButton* btn_takeover = nullptr;
    QLineEdit* ed_nachname = nullptr;
    QPushButton* btn_filter = nullptr;
    QPushButton* btn_alle = nullptr;
    RecordGrid* gr_members = nullptr;
    QPlainTextEdit* me_members = nullptr;
    QPushButton* btn_member = nullptr;
    RecordGrid* gr_users = nullptr;
    QPlainTextEdit* me_employees = nullptr;
    QPushButton* btn_employ = nullptr;
    QLabel* lbl_status = nullptr;
    QProgressBar* GaugeSCard = nullptr;
    QPushButton* btn_close = nullptr;
    TSmartCard* sc_reader = nullptr;

public slots:
    void pc_chipcardChange();
    void btn_filterClick();
    void btn_alleClick();
    void btn_takeoverClick();
    void btn_memberClick();
    void btn_employClick();
    void sc_readerProgress(int device, int progress);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupSettingsPage();
    void setupMembersPage();
    void setupEmployeesPage();
    void setupStatus(QWidget* status);
    void openAllMembers();
    void loadSettings();
    // Clears the card and writes the record; the memo tells how it went.
    void writeCard(const QByteArray& record, QPlainTextEdit* memo, const QString& generated);

    RecordSet members_;
    RecordSet users_;
    RecordSet settings_;
    RecordSetModel* membersModel_ = nullptr;
    RecordSetModel* usersModel_ = nullptr;
};
