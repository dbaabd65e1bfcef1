#include "lights/headerpanel.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

QWidget* makeHeaderPanel(const QString& text, QWidget* parent)
{
    auto* panel = new QLabel(text, parent);
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    QPalette grey = panel->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    grey.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(grey);
    QFont font = panel->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    panel->setFont(font);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setMinimumHeight(panel->fontMetrics().height() * 2);
    return panel;
}
