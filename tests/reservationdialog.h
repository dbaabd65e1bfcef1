#pragma once

#include "reservations/quartergrid.h"
#include "reservations/u_reservieren.h"

#include <QLineEdit>
#include <QTest>

// Drives the reservation dialog as the desk does: opened for a scheduler day column and hour, a
// quarter of a court marked or unmarked with the left button.
namespace ReservationDialog {

// False when the dialog did not appear.
inline bool show(Tfrm_reservieren* dialog, int column, int hour)
{
    dialog->ed_tag->setText(QString::number(column));
    dialog->ed_stunde->setText(QString::number(hour));
    dialog->show();
    return QTest::qWaitForWindowExposed(dialog);
}

inline void click(Tfrm_reservieren* dialog, int hour, int court, int quarter)
{
    QuarterGrid* grid = dialog->grid();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->quarterArea(1, hour, court, quarter).center());
}

} // namespace ReservationDialog
