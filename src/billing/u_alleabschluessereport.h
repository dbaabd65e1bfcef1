#pragma once

#include "ui/deskwindow.h"

class QDate;
class QPushButton;
class QLabel;

// The printed list of daily accounts; its form is never shown itself. It holds the currency text
// the list prints beside each account's total.
class Tfrm_alleabschluessereport : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_alleabschluessereport(QWidget* parent = nullptr);

    // The accounts closed on the days vonDatum to bisDatum, both included: in a preview that
    // returns when it is closed, or straight to the printer. With details every bill line prints.
    // Nothing prints, and no message shows, when no account lies in the range.
    void printAccounts(const QDate& vonDatum, const QDate& bisDatum, bool details, bool preview);

    QPushButton* btn_close = nullptr;
    QLabel* lbl_summew = nullptr;
};
