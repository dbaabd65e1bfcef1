#pragma once

#include "courts/courtplan.h"

#include <QFrame>

class QLabel;

// One court on the plan's floor: its number, type and picture, and the markers of a court played
// now and of a finished reservation not yet billed.
class tcourt final : public QFrame {
    Q_OBJECT
public:
    explicit tcourt(QWidget* floor);

    // The court number, the tile's tag.
    int tag() const { return tag_; }
    void setTag(int court) { tag_ = court; }

    // Colour, picture, type name and number as the plan reads them.
    void setLook(const CourtPlan::TileLook& look);
    void setColour(const QColor& colour);
    QColor colour() const;
    void setPicture(int tischbild);
    void showTimes(const CourtPlan::TileTimes& times);

    QLabel* imagecourt = nullptr;
    QLabel* lbl_courtconst = nullptr;
    QLabel* lbl_courtnummer = nullptr;
    QLabel* lbl_startzeit = nullptr;
    QLabel* lbl_laufzeit = nullptr;
    QFrame* pnl_players = nullptr;
    QFrame* pnl_notcalc = nullptr;

private:
    void describe();

    int tag_ = 0;
};

// The tennis (1) and squash (2) court pictures; a null pixmap for any other value.
QPixmap courtPicture(int tischbild);
// A small square marker in one colour without text.
QFrame* markerPanel(const QString& name, const QColor& colour, QWidget* parent);
