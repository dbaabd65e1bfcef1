#include "report/reportpainter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace Report {
namespace {

QFont paintFont(const Font& font)
{
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void paintItem(QPainter& painter, const Item& item, double scale)
{
    const QRectF r(item.rect.left() * scale, item.rect.top() * scale, item.rect.width() * scale,
                   item.rect.height() * scale);
    const double pen = item.penWidth / 72.0 * 25.4 * scale;
    switch (item.kind) {
    case Item::Kind::Fill: painter.fillRect(r, item.color); break;
    case Item::Kind::Text: {
        painter.setFont(paintFont(item.font));
        painter.setPen(item.color);
        const int flags =
            int(item.alignment) | Qt::AlignTop | (item.wrap ? Qt::TextWordWrap : Qt::TextDontClip);
        if (item.clip) {
            // Only the sides: a printer's font may run a little taller than the measured line.
            painter.save();
            painter.setClipRect(r.adjusted(0, -r.height(), 0, r.height()));
            painter.drawText(r, flags, item.text);
            painter.restore();
        } else {
            painter.drawText(r, flags, item.text);
        }
        break;
    }
    case Item::Kind::Line:
        painter.setPen(QPen(item.color, pen, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        break;
    case Item::Kind::Frame:
        painter.setPen(QPen(item.color, pen, Qt::SolidLine, Qt::SquareCap));
        if (item.edges & Qt::TopEdge)
            painter.drawLine(r.topLeft(), r.topRight());
        if (item.edges & Qt::BottomEdge)
            painter.drawLine(r.bottomLeft(), r.bottomRight());
        if (item.edges & Qt::LeftEdge)
            painter.drawLine(r.topLeft(), r.bottomLeft());
        if (item.edges & Qt::RightEdge)
            painter.drawLine(r.topRight(), r.bottomRight());
        break;
    }
}

} // namespace

bool paint(const Document& document, QPagedPaintDevice& device)
{
    device.setPageLayout(
        QPageLayout(QPageSize(document.paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / 25.4;
    const QList<Page> pages = document.printedPages();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        for (const Item& item : pages[i].items)
            paintItem(painter, item, scale);
    }
    return painter.end();
}

} // namespace Report
