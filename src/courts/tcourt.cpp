#include "courts/tcourt.h"
#include "ui/textfit.h"

#include <QLabel>
#include <QPixmap>

namespace {

QLabel* tileLabel(const char* name, const QString& text, QPoint at, QWidget* tile)
{
    auto* label = new QLabel(text, tile);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

// The pictures live in this static library: the resource must be registered by a function of it.
static void loadCourtPictures()
{
    Q_INIT_RESOURCE(courts);
}

QPixmap courtPicture(int tischbild)
{
    if (tischbild != 1 && tischbild != 2)
        return {};
    static const bool loaded = (loadCourtPictures(), true);
    Q_UNUSED(loaded);
    // Decoded on first use, not at start-up: every tile shares the two pictures.
    if (tischbild == 1) {
        static const QPixmap tennis(QStringLiteral(":/courts/tennis.jpg"), "JPG");
        return tennis;
    }
    static const QPixmap squash(QStringLiteral(":/courts/squash.jpg"), "JPG");
    return squash;
}

QFrame* markerPanel(const QString& name, const QColor& colour, QWidget* parent)
{
    auto* marker = new QFrame(parent);
    marker->setObjectName(name);
    QPalette palette = marker->palette();
    palette.setColor(QPalette::Window, colour);
    marker->setPalette(palette);
    marker->setAutoFillBackground(true);
    marker->setFrameStyle(QFrame::Panel | QFrame::Raised);
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    return marker;
}

tcourt::tcourt(QWidget* floor)
    : QFrame(floor)
{
    setObjectName(QStringLiteral("tcourt"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setGeometry(CourtPlan::defaultTilePlace.x(), CourtPlan::defaultTilePlace.y(), CourtPlan::tileWidth,
                CourtPlan::tileHeight);
    setAutoFillBackground(true);
    setColour(CourtPlan::defaultTileColour);
    // Tiles take the focus from the keyboard too, so that the menu key reaches a court's menu.
    setFocusPolicy(Qt::TabFocus);
    // The tile's own small type, so that "12:45p" fits before the running time as on the desk's
    // old screens.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    imagecourt = new QLabel(this);
    imagecourt->setObjectName(QStringLiteral("imagecourt"));
    imagecourt->setGeometry(5, 18, 99, 57);
    imagecourt->setScaledContents(true);
    imagecourt->setEnabled(false);
    imagecourt->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbl_courtconst = tileLabel("lbl_courtconst", QStringLiteral("courttype"), {4, 4}, this);
    lbl_courtnummer = tileLabel("lbl_courtnummer", QString(), {86, 2}, this);
    QFont bold = lbl_courtnummer->font();
    bold.setPointSize(10);
    bold.setBold(true);
    lbl_courtnummer->setFont(bold);
    QPalette blue = lbl_courtnummer->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lbl_courtnummer->setPalette(blue);
    lbl_startzeit = tileLabel("lbl_startzeit", QStringLiteral("00:00"), {5, 76}, this);
    lbl_laufzeit = tileLabel("lbl_laufzeit", QStringLiteral("00:00"), {43, 76}, this);
    // The start ("12:45p") has the 38 pixels up to the running time, which has those up to the
    // yellow marker: a type in which both fit with a gap keeps them from running together.
    const QFont times = TextFit::fitting(
        font(), {QStringLiteral("00:00a"), QStringLiteral("00:00p"), QStringLiteral("00:00")}, 43 - 5 - 3);
    lbl_startzeit->setFont(times);
    lbl_laufzeit->setFont(times);
    pnl_players = markerPanel(QStringLiteral("pnl_players"), Qt::red, this);
    pnl_players->setGeometry(93, 77, 11, 12);
    pnl_players->hide();
    pnl_notcalc = markerPanel(QStringLiteral("pnl_notcalc"), Qt::yellow, this);
    pnl_notcalc->setGeometry(78, 77, 11, 12);
    pnl_notcalc->hide();
    describe();
}

void tcourt::setLook(const CourtPlan::TileLook& look)
{
    tag_ = look.court;
    setColour(look.colour);
    setPicture(look.picture);
    lbl_courtconst->setText(look.typeName);
    lbl_courtconst->adjustSize();
    lbl_courtnummer->setText(QString::number(look.court));
    lbl_courtnummer->adjustSize();
    describe();
}

void tcourt::setColour(const QColor& colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

QColor tcourt::colour() const
{
    return palette().color(QPalette::Window);
}

void tcourt::setPicture(int tischbild)
{
    imagecourt->setPixmap(courtPicture(tischbild));
}

void tcourt::showTimes(const CourtPlan::TileTimes& times)
{
    // Most minutes change nothing on most tiles: only what changed is laid out again.
    bool changed = false;
    const auto show = [&](QWidget* marker, bool on) {
        if (marker->isVisibleTo(this) != on) {
            marker->setVisible(on);
            changed = true;
        }
    };
    const auto text = [&](QLabel* label, const QString& value) {
        if (label->text() != value) {
            label->setText(value);
            label->adjustSize();
            changed = true;
        }
    };
    show(pnl_players, times.players);
    show(pnl_notcalc, times.notCalculated);
    text(lbl_startzeit, times.start);
    text(lbl_laufzeit, times.running);
    if (changed)
        describe();
}

void tcourt::describe()
{
    // What a screen reader says of the tile: the markers are colours only on screen.
    QString text = tr("Court %1, %2").arg(lbl_courtnummer->text(), lbl_courtconst->text());
    if (pnl_players->isVisibleTo(this))
        text += tr(", players on court since %1, %2 played").arg(lbl_startzeit->text(), lbl_laufzeit->text());
    if (pnl_notcalc->isVisibleTo(this))
        text += tr(", not calculated");
    setAccessibleName(text);
}
