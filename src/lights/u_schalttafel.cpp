#include "lights/u_schalttafel.h"

#include "data/recordset.h"
#include "data/session.h"
#include "lights/headerpanel.h"
#include "lights/relays.h"
#include "ui/pictures.h"
#include "ui/textfit.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int outputs = 40;
constexpr int cellWidth = 64;

QString outputName(int n)
{
    return QStringLiteral("Output %1").arg(n);
}

} // namespace

Lamp::Lamp(int output, QWidget* parent)
    : QWidget(parent)
    , output_(output)
{
    setObjectName(QStringLiteral("lamp_%1").arg(output));
    setFixedSize(sizeHint());
    setOn(false);
}

void Lamp::setOn(bool on)
{
    on_ = on;
    setAccessibleName(outputName(output_) + (on ? QStringLiteral(" on") : QStringLiteral(" off")));
    setToolTip(accessibleName());
    update();
}

void Lamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(on_ ? QColor(Qt::red) : QColor(Qt::black));
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

Tfrm_schalttafel::Tfrm_schalttafel(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_schalttafel"), QStringLiteral("Switchpanel"), parent)
{
    setHelpTopic(2300);
    schaltplan_ = new RecordSet(this);
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(makeHeaderPanel(windowTitle(), body()));
    layout->addWidget(setupOutputs());
    auto* bottom = new QHBoxLayout;
    auto* picture = new QLabel(body());
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Pictures::toolIcon(Pictures::Tool::Lights).pixmap(96, 96));
    bottom->addWidget(picture);
    bottom->addStretch();
    bottom->addWidget(setupLamps());
    bottom->addStretch();
    layout->addLayout(bottom);
    btn_close = addCloseButton();
}

QWidget* Tfrm_schalttafel::setupOutputs()
{
    auto* area = new QWidget(body());
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    for (int n = 1; n <= outputs; ++n) {
        auto* cell = new QWidget(area);
        auto* cellLayout = new QVBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        cellLayout->setSpacing(1);
        auto* label = new QLabel(outputName(n), cell);
        label->setObjectName(QStringLiteral("l%1").arg(n));
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(cellWidth);
        cellLayout->addWidget(label);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(1);
        for (const bool on : {true, false}) {
            auto* button = new QPushButton(on ? QStringLiteral("On") : QStringLiteral("Off"), cell);
            button->setObjectName(QStringLiteral("sw_%1%2").arg(n).arg(on ? "on" : "off"));
            button->setProperty("tag", n);
            button->setFixedWidth(cellWidth / 2);
            buttons->addWidget(button);
            (on ? onButtons : offButtons)[std::size_t(n - 1)] = button;
            connect(button, &QPushButton::clicked, this,
                    on ? &Tfrm_schalttafel::sw_1onClick : &Tfrm_schalttafel::sw_1offClick);
        }
        cellLayout->addLayout(buttons);
        labels[std::size_t(n - 1)] = label;
        grid->addWidget(cell, (n - 1) / 10, (n - 1) % 10);
    }
    showLabels();
    return area;
}

QWidget* Tfrm_schalttafel::setupLamps()
{
    auto* field = new QWidget(body());
    field->setObjectName(QStringLiteral("pnl_lampen"));
    field->setAccessibleName(QStringLiteral("Relay modules"));
    auto* grid = new QGridLayout(field);
    grid->setSpacing(6);
    for (int k = 1; k <= 8; ++k)
        grid->addWidget(new QLabel(QString::number(k), field), 0, k, Qt::AlignCenter);
    for (int m = 1; m <= 5; ++m) {
        auto* heading = new QLabel(QString::number(m), field);
        heading->setObjectName(QStringLiteral("lbl_modul_%1").arg(m));
        heading->setAccessibleName(QStringLiteral("Module %1").arg(m));
        grid->addWidget(heading, m, 0, Qt::AlignCenter);
        for (int k = 1; k <= 8; ++k) {
            const int n = (m - 1) * 8 + k;
            auto* lamp = new Lamp(n, field);
            lamps[std::size_t(n - 1)] = lamp;
            grid->addWidget(lamp, m, k, Qt::AlignCenter);
        }
    }
    return field;
}

void Tfrm_schalttafel::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous() || schaltplan_->isOpen())
        return;
    runAction([this] {
        schaltplan_->openTable(QStringLiteral("Schaltplan"), QStringLiteral("Anschluss"));
        showLabels();
    });
    showLamps();
}

void Tfrm_schalttafel::closeEvent(QCloseEvent* event)
{
    DeskWindow::closeEvent(event);
    if (event->isAccepted())
        schaltplan_->close();
}

void Tfrm_schalttafel::showLabels()
{
    for (int n = 1; n <= outputs; ++n) {
        QLabel* label = labels[std::size_t(n - 1)];
        QString text = label->text();
        if (schaltplan_->isOpen()) {
            for (schaltplan_->first(); !schaltplan_->eof(); schaltplan_->next())
                if (schaltplan_->field(QStringLiteral("Anschluss")).asInteger() == n) {
                    text = schaltplan_->field(QStringLiteral("Bezeichnung")).asString();
                    break;
                }
        }
        label->setText(text);
        label->setToolTip(text);
        // A long name gets a smaller font rather than losing its ends; one too long even for the
        // smallest breaks between its words instead.
        const QFont usual = label->parentWidget()->font();
        const int room = label->contentsRect().width() - 2;
        QFont fitted = TextFit::fitting(usual, {text}, room);
        const bool oneLine = QFontMetrics(fitted).horizontalAdvance(text) <= room;
        if (!oneLine)
            fitted = TextFit::fitting(usual, text.split(QLatin1Char(' '), Qt::SkipEmptyParts), room);
        label->setWordWrap(!oneLine);
        label->setFont(fitted);
        label->setMinimumHeight(oneLine ? 0 : label->heightForWidth(label->width()));
        onButtons[std::size_t(n - 1)]->setAccessibleName(
            QStringLiteral("%1 (%2) on").arg(text, outputName(n)));
        offButtons[std::size_t(n - 1)]->setAccessibleName(
            QStringLiteral("%1 (%2) off").arg(text, outputName(n)));
    }
}

void Tfrm_schalttafel::showLamps()
{
    for (int n = 1; n <= outputs; ++n) {
        const auto [module, mask] = Relays::outputBit(n);
        lamps[std::size_t(n - 1)]->setOn(Session::Modulzustand[std::size_t(module - 1)] & mask);
    }
}

void Tfrm_schalttafel::clicked(bool on)
{
    const auto* button = qobject_cast<QPushButton*>(sender());
    if (!button)
        return;
    const int n = button->property("tag").toInt();
    if (n < 1)
        return;
    on ? fLichtEin(n) : fLichtAus(n);
    if (n <= outputs)
        lamps[std::size_t(n - 1)]->setOn(on);
}

void Tfrm_schalttafel::sw_1onClick()
{
    clicked(true);
}

void Tfrm_schalttafel::sw_1offClick()
{
    clicked(false);
}
