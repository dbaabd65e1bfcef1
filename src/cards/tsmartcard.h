#pragma once

#include "cards/smartcard.h"

#include <QLabel>
#include <QPointer>

// The terminal component as a window owns it: its status texts go to the window's status label and
// activation shows the wait cursor. Set up alike in every window: inactive until the window is
// shown, English texts, unlocking the card after the card-active handler.
class TSmartCard final : public SmartCard {
    Q_OBJECT
public:
    explicit TSmartCard(QObject* parent = nullptr);

    void setStatusLabel(QLabel* label) { statusLabel_ = label; }
    QLabel* statusLabel() const { return statusLabel_; }
    // As SmartCard::setActive, with the wait cursor while the library loads.
    void setActive(bool on);

protected:
    void statusChanged(const QString& text) override;

private:
    QPointer<QLabel> statusLabel_;
};
