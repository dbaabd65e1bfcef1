#include "lights/u_abbruchfenster.h"

#include "data/recordset.h"
#include "data/store.h"
#include "lights/relays.h"
#include "ui/fieldcontrols.h"
#include "ui/forms.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int dialogWidth = 360;
constexpr int heightWithPort = 196;
constexpr int heightWithoutPort = 140;

} // namespace

Tfrm_abbruchfenster::Tfrm_abbruchfenster(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_abbruchfenster"), QStringLiteral("Info"), parent)
{
    auto* lines = new QVBoxLayout(body());
    for (auto [label, name] :
         {std::pair{&lbl_infotext1, "lbl_infotext1"}, std::pair{&lbl_infotext2, "lbl_infotext2"},
          std::pair{&lbl_infotext3, "lbl_infotext3"}}) {
        *label = new QLabel(body());
        (*label)->setObjectName(QLatin1String(name));
        lines->addWidget(*label);
    }
    setupPortChoice();
    lines->addWidget(gb_comport);
    lines->addStretch();
    btn_nochmal = addBottomButton(QStringLiteral("btn_nochmal"), QStringLiteral("&Build Connection"));
    btn_nochmal->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    btn_abbruch = addBottomButton(QStringLiteral("btn_abbruch"), QStringLiteral("&Abort"), true);
    connect(btn_nochmal, &QPushButton::clicked, this, &Tfrm_abbruchfenster::btn_nochmalClick);
    connect(btn_abbruch, &QPushButton::clicked, this, &Tfrm_abbruchfenster::btn_abbruchClick);
    // 140 high holds the three lines and the buttons; the port choice, when asked for, makes it 196.
    setFixedDialogSize(QSize(dialogWidth, heightWithoutPort));
}

void Tfrm_abbruchfenster::setupPortChoice()
{
    gb_comport = new QGroupBox(QStringLiteral("Select Comport"), body());
    gb_comport->setObjectName(QStringLiteral("gb_comport"));
    auto* row = new QHBoxLayout(gb_comport);
    auto* label = new QLabel(QStringLiteral("&ComPort :"), gb_comport);
    cb_comport = new ChoiceBox(gb_comport);
    cb_comport->setObjectName(QStringLiteral("cb_comport"));
    for (int port = 0; port < 4; ++port)
        cb_comport->addItem(QStringLiteral("com%1").arg(port + 1), port);
    label->setBuddy(cb_comport);
    row->addWidget(label);
    row->addWidget(cb_comport, 1);
    gb_comport->hide();
    connect(cb_comport, &QComboBox::activated, this, &Tfrm_abbruchfenster::portChosen);
}

void Tfrm_abbruchfenster::setPortRecords(RecordSet* parameters)
{
    parameters_ = parameters;
}

bool Tfrm_abbruchfenster::ask(const QString& line1, const QString& line2, const QString& line3, bool showPort)
{
    abort_ = true;
    postFailure_.clear();
    gb_comport->setVisible(showPort);
    setFixedDialogSize(QSize(dialogWidth, showPort ? heightWithPort : heightWithoutPort));
    lbl_infotext1->setText(line1);
    lbl_infotext2->setText(line2);
    lbl_infotext3->setText(line3);
    cb_comport->setValue(parameters_ && parameters_->isOpen()
                             ? parameters_->field(QStringLiteral("ComPort")).variant()
                             : QVariant());
    showModal();
    if (!postFailure_.isEmpty())
        throw StoreError(postFailure_);
    return abort_;
}

void Tfrm_abbruchfenster::portChosen()
{
    if (!parameters_ || !parameters_->isOpen())
        return;
    try {
        parameters_->setField(QStringLiteral("ComPort"), cb_comport->value());
    } catch (const StoreError& e) {
        postFailure_ = e.message();
    }
}

void Tfrm_abbruchfenster::btn_nochmalClick()
{
    abort_ = false;
    close();
}

void Tfrm_abbruchfenster::btn_abbruchClick()
{
    abort_ = true;
    close();
}

void Tfrm_abbruchfenster::closeEvent(QCloseEvent* event)
{
    // The chosen port is stored before the caller opens the link again.
    if (gb_comport->isVisible() && parameters_ && parameters_->state() == RecordSet::State::Edit) {
        try {
            parameters_->post();
        } catch (const StoreError& e) {
            postFailure_ = e.message();
        }
    }
    DeskWindow::closeEvent(event);
}

bool fAbbruchfenster(const QString& line1, const QString& line2, const QString& line3, bool showPort)
{
    Tfrm_abbruchfenster* window = forms().abbruchfenster;
    return window ? window->ask(line1, line2, line3, showPort) : true;
}

void restartRelaysAtStart(RecordSet& parameters)
{
    Tfrm_abbruchfenster* window = forms().abbruchfenster;
    if (window)
        window->setPortRecords(&parameters);
    Relays::restart(parameters, [] {
        return fAbbruchfenster(QStringLiteral("cannot open comport or"),
                               QStringLiteral("comport already open !!"),
                               QStringLiteral("check the seriel port (comport)."), true);
    });
    if (window)
        window->setPortRecords(nullptr);
}
