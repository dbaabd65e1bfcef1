#include "lights/u_abbruchfenster.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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
    btn_nochmal = addBottomButton(QStringLiteral("btn_nochmal"), QStringLiteral("&Build Connection"));
    btn_abbruch = addBottomButton(QStringLiteral("btn_abbruch"), QStringLiteral("&Abort"));
    // 140 high holds the three lines and the buttons; the port choice, when asked for, makes it 196.
    setFixedDialogSize(QSize(360, 140));
}
