#include "ui/textfit.h"

#include <QFontMetrics>
#include <QStringList>
#include <QWidget>

namespace TextFit {
namespace {

constexpr double smallest = 6.0;
constexpr double step = 0.5;

int widest(const QFont& font, const QStringList& texts)
{
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString& text : texts)
        width = std::max(width, metrics.horizontalAdvance(text));
    return width;
}

} // namespace

QFont fitting(const QFont& font, const QStringList& texts, int width)
{
    QFont fitted = font;
    while (widest(fitted, texts) > width && fitted.pointSizeF() - step >= smallest)
        fitted.setPointSizeF(fitted.pointSizeF() - step);
    return fitted;
}

void shrinkToWidth(QWidget* control, int width)
{
    QFont font = control->font();
    while (control->sizeHint().width() > width && font.pointSizeF() - step >= smallest) {
        font.setPointSizeF(font.pointSizeF() - step);
        control->setFont(font);
    }
}

} // namespace TextFit
