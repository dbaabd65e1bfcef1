#include "report/report.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>

namespace Report {
namespace {

constexpr double mmPerPoint = 25.4 / 72.0;
// Texts are measured in a font a hundred times the size, so that hinting and whole pixels do not
// distort the widths a printer at any resolution draws.
constexpr double measureScale = 100.0;
constexpr double tolerance = 0.001;

QFont measuringFont(const Font& font)
{
    QFont f(font.family);
    f.setPixelSize(std::max(1, int(font.pointSize * measureScale + 0.5)));
    f.setBold(font.bold);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double toMm(double measured)
{
    return measured / measureScale * mmPerPoint;
}

class Layouter {
public:
    Layouter(const Definition& d, const QList<Row>& rows)
        : d_(d)
        , rows_(rows)
    {
        doc_.name = d.name;
        doc_.paper = d.paper;
        doc_.copies = d.copies;
    }

    Document run()
    {
        if (rows_.isEmpty() && !d_.printWithoutRows)
            return doc_;
        startPage(rows_.isEmpty() ? nullptr : &rows_.first());
        const int levels = int(d_.groups.size());
        QList<int> groupStart(levels, 0);
        for (int i = 0; i < rows_.size(); ++i) {
            int level = levels;
            if (i == 0)
                level = 0;
            else
                for (int g = 0; g < levels; ++g)
                    if (rows_[i].value(d_.groups[g].field) != rows_[i - 1].value(d_.groups[g].field)) {
                        level = g;
                        break;
                    }
            if (i > 0)
                for (int g = levels - 1; g >= level; --g)
                    groupFooter(g, groupStart[g], i);
            for (int g = level; g < levels; ++g) {
                groupStart[g] = i;
                groupHeader(g, i);
            }
            place(d_.detail, context(&rows_[i], nullptr));
        }
        if (!rows_.isEmpty())
            for (int g = levels - 1; g >= 0; --g)
                groupFooter(g, groupStart[g], int(rows_.size()));
        place(d_.summary, context(rows_.isEmpty() ? nullptr : &rows_.last(), &rows_));
        finishPage();
        return doc_;
    }

private:
    Context context(const Row* row, const QList<Row>* rows) const
    {
        Context c;
        c.row = row;
        c.rows = rows;
        c.page = int(doc_.pages.size());
        return c;
    }

    double bandHeight(const Band& band, const Context& c) const
    {
        if (!band.visible)
            return 0;
        double h = band.height;
        for (const Element& e : band.elements)
            if (e.visible && e.stretch && e.kind == Element::Kind::Text)
                h = std::max(h, band.height + wrappedHeight(textOf(e, c), e.font, e.box.width()) -
                                    e.box.height());
        return h;
    }

    static QString textOf(const Element& e, const Context& c) { return e.value ? e.value(c) : e.text; }

    double pageBottom() const
    {
        const double footer = d_.pageFooter.visible ? d_.pageFooter.height : 0;
        return d_.paper.height() - d_.margins.bottom() - footer;
    }

    void startPage(const Row* row)
    {
        doc_.pages.append(Page{});
        y_ = d_.margins.top();
        const Context c = context(row, &rows_);
        place(d_.pageHeader, c, false);
        if (doc_.pages.size() == 1)
            place(d_.title, c, false);
        place(d_.columnHeader, c, false);
        contentTop_ = y_;
        lastRow_ = row;
    }

    void finishPage()
    {
        const Band& f = d_.pageFooter;
        if (!f.visible)
            return;
        y_ = d_.paper.height() - d_.margins.bottom() - f.height;
        place(f, context(lastRow_, &rows_), false);
    }

    void newPage(const Row* row)
    {
        finishPage();
        startPage(row);
    }

    bool atPageTop() const { return y_ <= contentTop_ + tolerance; }

    // Places a band at the current position, first moving to a new page when it does not fit.
    void place(const Band& band, const Context& c, bool mayBreak = true)
    {
        const double h = bandHeight(band, c);
        if (!band.visible || (h <= 0 && band.elements.isEmpty()))
            return;
        if (mayBreak && y_ + h > pageBottom() + tolerance && !atPageTop()) {
            newPage(c.row);
            place(band, context(c.row, c.rows), false);
            return;
        }
        if (c.row)
            lastRow_ = c.row;
        Page& page = doc_.pages.last();
        page.bands.append(PlacedBand{band.name, y_, h});
        const QPointF origin(d_.margins.left(), y_);
        if (band.fill.isValid()) {
            Item fill;
            fill.kind = Item::Kind::Fill;
            fill.band = band.name;
            fill.rect = QRectF(origin, QSizeF(d_.paper.width() - d_.margins.left() - d_.margins.right(), h));
            fill.color = band.fill;
            page.items.append(fill);
        }
        for (const Element& e : band.elements)
            if (e.visible)
                page.items.append(item(e, band, c, origin, h - band.height));
        y_ += h;
    }

    Item item(const Element& e, const Band& band, const Context& c, const QPointF& origin,
              double growth) const
    {
        Item it;
        it.name = e.name;
        it.band = band.name;
        it.color = e.color;
        it.penWidth = e.penWidth;
        it.edges = e.edges;
        it.font = e.font;
        it.alignment = e.alignment;
        QRectF r = e.box.translated(origin);
        switch (e.kind) {
        case Element::Kind::Frame:
            it.kind = Item::Kind::Frame;
            // A frame as high as its band grows with the band's stretched text.
            if (e.box.top() <= tolerance && e.box.height() >= band.height - tolerance)
                r.setHeight(r.height() + growth);
            break;
        case Element::Kind::Line: it.kind = Item::Kind::Line; break;
        case Element::Kind::Text: {
            it.kind = Item::Kind::Text;
            it.text = textOf(e, c);
            it.wrap = e.stretch;
            it.clip = !e.stretch && e.box.width() > 0;
            const QSizeF size = textSize(it.text, e.font);
            if (e.stretch)
                r.setHeight(std::max(r.height(), wrappedHeight(it.text, e.font, r.width())));
            else if (r.height() <= 0)
                r.setHeight(size.height());
            if (r.width() <= 0) {
                if (e.alignment & Qt::AlignRight)
                    r.setLeft(r.left() - size.width());
                r.setWidth(size.width());
            }
            break;
        }
        }
        it.rect = r;
        return it;
    }

    void groupHeader(int level, int first)
    {
        const Group& g = d_.groups[level];
        const Row* row = &rows_[first];
        if (g.newPage && first > 0 && !atPageTop()) {
            newPage(row);
        } else if (!atPageTop()) {
            // A kept-together group moves whole; a header right above one moves with it rather than
            // stand alone at the foot of the page.
            double h = 0;
            if (g.keepTogether)
                h = groupHeight(level, first, groupEnd(level, first));
            else if (level + 1 < d_.groups.size() && d_.groups[level + 1].keepTogether)
                h = bandHeight(g.header, context(row, nullptr)) +
                    groupHeight(level + 1, first, groupEnd(level + 1, first));
            if (h > 0 && y_ + h > pageBottom() + tolerance && h <= pageBottom() - contentTop_ + tolerance)
                newPage(row);
        }
        place(g.header, context(row, nullptr));
    }

    void groupFooter(int level, int first, int end)
    {
        const QList<Row> rows = rows_.mid(first, end - first);
        place(d_.groups[level].footer, context(&rows_[end - 1], &rows));
    }

    int groupEnd(int level, int first) const
    {
        int end = first + 1;
        while (end < rows_.size() && sameGroup(level, first, end))
            ++end;
        return end;
    }

    bool sameGroup(int level, int a, int b) const
    {
        for (int g = 0; g <= level; ++g)
            if (rows_[a].value(d_.groups[g].field) != rows_[b].value(d_.groups[g].field))
                return false;
        return true;
    }

    double groupHeight(int level, int first, int end) const
    {
        const Group& g = d_.groups[level];
        const QList<Row> rows = rows_.mid(first, end - first);
        double h = bandHeight(g.header, context(&rows_[first], nullptr)) +
                   bandHeight(g.footer, context(&rows_[end - 1], &rows));
        if (level + 1 < d_.groups.size()) {
            for (int i = first; i < end;) {
                const int next = groupEnd(level + 1, i);
                h += groupHeight(level + 1, i, next);
                i = next;
            }
        } else {
            for (int i = first; i < end; ++i)
                h += bandHeight(d_.detail, context(&rows_[i], nullptr));
        }
        return h;
    }

    const Definition& d_;
    const QList<Row>& rows_;
    Document doc_;
    double y_ = 0;
    double contentTop_ = 0;
    const Row* lastRow_ = nullptr;
};

} // namespace

Element Element::label(const QString& name, double left, double top, const QString& text, Font font)
{
    Element e;
    e.name = name;
    e.box = QRectF(left, top, 0, 0);
    e.text = text;
    e.font = font;
    return e;
}

Element Element::field(const QString& name, double left, double top,
                       std::function<QString(const Context&)> value, Font font)
{
    Element e = label(name, left, top, QString(), font);
    e.value = std::move(value);
    return e;
}

Element Element::frame(const QString& name, const QRectF& box, double penWidth)
{
    Element e;
    e.kind = Kind::Frame;
    e.name = name;
    e.box = box;
    e.penWidth = penWidth;
    return e;
}

Element Element::rule(const QString& name, const QRectF& box, double penWidth)
{
    Element e = frame(name, box, penWidth);
    e.kind = Kind::Line;
    return e;
}

Element& Element::alignRight(double rightEdge)
{
    alignment = Qt::AlignRight;
    box.moveLeft(box.width() > 0 ? rightEdge - box.width() : rightEdge);
    return *this;
}

Element& Element::centredIn(double left, double width)
{
    alignment = Qt::AlignHCenter;
    box.setLeft(left);
    box.setWidth(width);
    return *this;
}

Element& Element::coloured(const QColor& c)
{
    color = c;
    return *this;
}

Element* Band::element(const QString& name)
{
    for (Element& e : elements)
        if (e.name == name)
            return &e;
    return nullptr;
}

QVariant Context::field(const QString& name) const
{
    return row ? row->value(name) : QVariant();
}

double Context::sum(const QString& field) const
{
    double total = 0;
    if (rows)
        for (const Row& r : *rows)
            total += r.value(field).toDouble();
    return total;
}

Band* Definition::band(const QString& name)
{
    for (Band* b : {&title, &pageHeader, &columnHeader, &detail, &summary, &pageFooter})
        if (b->name == name)
            return b;
    for (Group& g : groups) {
        if (g.header.name == name)
            return &g.header;
        if (g.footer.name == name)
            return &g.footer;
    }
    return nullptr;
}

const Item* Page::item(const QString& name) const
{
    for (const Item& it : items)
        if (it.name == name)
            return &it;
    return nullptr;
}

QList<const Item*> Page::itemsNamed(const QString& name) const
{
    QList<const Item*> out;
    for (const Item& it : items)
        if (it.name == name)
            out << &it;
    return out;
}

QStringList Page::bandNames() const
{
    QStringList names;
    for (const PlacedBand& b : bands)
        names << b.name;
    return names;
}

QList<Page> Document::printedPages() const
{
    QList<Page> out;
    for (int copy = 0; copy < std::max(1, copies); ++copy)
        out += pages;
    return out;
}

Document layout(const Definition& definition, const QList<Row>& rows)
{
    return Layouter(definition, rows).run();
}

QSizeF textSize(const QString& text, const Font& font)
{
    const QFontMetricsF fm(measuringFont(font));
    return QSizeF(toMm(fm.horizontalAdvance(text)), toMm(fm.height()));
}

double wrappedHeight(const QString& text, const Font& font, double width)
{
    const QFontMetricsF fm(measuringFont(font));
    const double w = width / mmPerPoint * measureScale;
    const QRectF r = fm.boundingRect(QRectF(0, 0, w, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text);
    return std::max(toMm(r.height()), toMm(fm.height()));
}

} // namespace Report
