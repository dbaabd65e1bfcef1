#include "reservations/u_statistik.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLinearGradient>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

const QColor lightCyan(128, 255, 255);
constexpr double markGap = 4; // pixels between a bar's top and its mark

} // namespace

Tfrm_statistik::Tfrm_statistik(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_statistik"), QStringLiteral("Courtstatistic"), parent)
{
    setHelpTopic(1500);
    auto* layout = new QVBoxLayout(body());
    lbl_head = heading(QStringLiteral("Statistic Courtplaytime"));
    lbl_head->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbl_head);
    setupChart();
    layout->addWidget(ch_tischzeiten, 1);
    btn_close = addCloseButton();
    // Close and minimise boxes, so that the chart may be put aside while the desk goes on working.
    // A dialog of one fixed size offers no minimise box, so this one may be made larger as well:
    // the chart grows with it.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint);
    setMinimumSize(640, 480);
    resize(640, 480);
}

void Tfrm_statistik::setupChart()
{
    chart_ = new QChart;
    chart_->setTitle(QStringLiteral("Courtplaytime"));
    chart_->legend()->hide();
    chart_->setAnimationOptions(QChart::NoAnimation);
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, lightCyan);
    background.setColorAt(1, Qt::white);
    chart_->setBackgroundBrush(background);

    playtime_ = new QBarSet(QStringLiteral("Playtime"));
    playtime_->setColor(Qt::red);
    playtime_->setBorderColor(Qt::black);
    series_ = new QBarSeries;
    series_->append(playtime_);
    chart_->addSeries(series_);
    courts_ = new QBarCategoryAxis;
    courts_->setTitleText(QStringLiteral("Court Number"));
    percent_ = new QValueAxis;
    percent_->setTitleText(QStringLiteral("Playtime in %"));
    percent_->setLabelFormat(QStringLiteral("%g"));
    percent_->setRange(0, 100);
    chart_->addAxis(courts_, Qt::AlignBottom);
    chart_->addAxis(percent_, Qt::AlignLeft);
    series_->attachAxis(courts_);
    series_->attachAxis(percent_);

    ch_tischzeiten = new QChartView(chart_, body());
    ch_tischzeiten->setObjectName(QStringLiteral("ch_tischzeiten"));
    ch_tischzeiten->setAccessibleName(QStringLiteral("Courtplaytime"));
    ch_tischzeiten->setRenderHint(QPainter::Antialiasing);
    ch_tischzeiten->setRubberBand(QChartView::NoRubberBand);
    ch_tischzeiten->setInteractive(false);
    connect(chart_, &QChart::plotAreaChanged, this, &Tfrm_statistik::placeMarks);
}

void Tfrm_statistik::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous())
        return;
    QList<CourtStatistics::CourtShare> shares;
    runAction([&] { shares = CourtStatistics::courtShares(); });
    showShares(shares);
}

void Tfrm_statistik::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        showShares({});
    DeskWindow::hideEvent(event);
}

void Tfrm_statistik::showShares(const QList<CourtStatistics::CourtShare>& shares)
{
    bars_ = shares;
    playtime_->remove(0, playtime_->count());
    courts_->clear();
    qDeleteAll(marks_);
    marks_.clear();
    double sum = 0;
    double highest = 0;
    QStringList categories;
    for (const CourtStatistics::CourtShare& s : shares) {
        sum += s.share;
        highest = std::max(highest, s.share);
        categories << QString::number(s.court);
        playtime_->append(s.share);
    }
    courts_->append(categories);
    // Without a single court the axis has nowhere to put its title and draws it astray.
    courts_->setTitleVisible(!categories.isEmpty());
    // Room above the highest bar for its mark.
    percent_->setRange(0, shares.isEmpty() ? 100 : std::min(100.0, highest * 1.15 + 1));
    percent_->applyNiceNumbers();
    QStringList spoken;
    for (const CourtStatistics::CourtShare& s : shares) {
        auto* mark = new QGraphicsSimpleTextItem(CourtStatistics::mark(s.share, sum), chart_);
        marks_ << mark;
        spoken << QStringLiteral("Court %1: %2").arg(s.court).arg(mark->text());
    }
    ch_tischzeiten->setAccessibleDescription(spoken.join(QStringLiteral(", ")));
    placeMarks();
}

void Tfrm_statistik::placeMarks()
{
    for (int i = 0; i < marks_.size() && i < bars_.size(); ++i) {
        const QPointF top = chart_->mapToPosition(QPointF(i, bars_[i].share), series_);
        const QRectF size = marks_[i]->boundingRect();
        marks_[i]->setPos(top.x() - size.width() / 2, top.y() - size.height() - markGap);
    }
}

QStringList Tfrm_statistik::marks() const
{
    QStringList texts;
    for (const QGraphicsSimpleTextItem* mark : marks_)
        texts << mark->text();
    return texts;
}
