#include "cards/tsmartcard.h"

#include <QGuiApplication>
#include <QLabel>

TSmartCard::TSmartCard(QObject* parent)
    : SmartCard(parent)
{
    AutoUnlock = true;
    setLanguage(Language::English);
}

void TSmartCard::setActive(bool on)
{
    if (on == active())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        SmartCard::setActive(on);
    } catch (...) {
        QGuiApplication::restoreOverrideCursor();
        throw;
    }
    QGuiApplication::restoreOverrideCursor();
}

void TSmartCard::statusChanged(const QString& text)
{
    if (statusLabel_)
        statusLabel_->setText(text);
}
