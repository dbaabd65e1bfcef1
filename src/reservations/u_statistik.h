#pragma once

#include "reservations/statistics.h"
#include "ui/deskwindow.h"

#include <QList>
#include <QStringList>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLabel;
class QPushButton;
class QValueAxis;

// How the reserved quarter-hours are shared among the courts: one red bar per court that has
// any, its height the court's percentage, with a mark above it that reads its share of all bars.
// Without reservations the chart stays empty.
class Tfrm_statistik final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_statistik(QWidget* parent = nullptr);

    // The bars as shown, in court order.
    const QList<CourtStatistics::CourtShare>& bars() const { return bars_; }
    QStringList marks() const;

    QLabel* lbl_head = nullptr;
    QChartView* ch_tischzeiten = nullptr;
    QPushButton* btn_close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setupChart();
    void showShares(const QList<CourtStatistics::CourtShare>& shares);
    void placeMarks();

    QChart* chart_ = nullptr;
    QBarSeries* series_ = nullptr;
    QBarSet* playtime_ = nullptr;
    QBarCategoryAxis* courts_ = nullptr;
    QValueAxis* percent_ = nullptr;
    QList<CourtStatistics::CourtShare> bars_;
    QList<QGraphicsSimpleTextItem*> marks_;
};
