#include "ui/deskwindow.h"

#include "ui/keyhabits.h"
#include "ui/placement.h"
#include "ui/storeaction.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DeskWindow::DeskWindow(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    // Windows of the main window, with the system menu's minimise and maximise boxes. The dialog
    // type is what makes X11 name the main window as their owner (WM_TRANSIENT_FOR), so that a
    // window manager keeps them above it and gives them no task-bar entry of their own.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    KeyHabits::install();
}

void DeskWindow::showIndependent()
{
    if (isVisible()) {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        return;
    }
    show();
    raise();
    activateWindow();
}

void DeskWindow::setFixedDialogSize(const QSize& size)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(size);
}

bool DeskWindow::runAction(const std::function<void()>& action)
{
    return StoreAction::run(action);
}

int DeskWindow::showModal()
{
    if (isVisible())
        hide();
    return exec();
}

void DeskWindow::showEvent(QShowEvent* event)
{
    if (keepsPlacement_ && !event->spontaneous())
        Placement::restore(this);
    QDialog::showEvent(event);
}

void DeskWindow::hideEvent(QHideEvent* event)
{
    if (keepsPlacement_ && !event->spontaneous())
        Placement::save(this);
    QDialog::hideEvent(event);
}

void DeskWindow::keyPressEvent(QKeyEvent* event)
{
    // QDialog would close on Esc and press its default button on Enter; here Esc belongs to the
    // named button alone and Enter is left to the key habits.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Escape || (enter && enterMovesFocus_)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QWidget* DeskWindow::body()
{
    if (!body_) {
        auto* layout = new QVBoxLayout(this);
        body_ = new QWidget(this);
        body_->setObjectName(QStringLiteral("pnl_body"));
        layout->addWidget(body_, 1);
        bottomRow_ = new QHBoxLayout;
        bottomRow_->addStretch();
        layout->addLayout(bottomRow_);
    }
    return body_;
}

QPushButton* DeskWindow::addBottomButton(const QString& name, const QString& caption, bool escape)
{
    body();
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(96);
    bottomRow_->addWidget(button);
    if (escape)
        setEscapeButton(button);
    return button;
}

QPushButton* DeskWindow::addCloseButton()
{
    QPushButton* button = addBottomButton(QStringLiteral("btn_close"), QStringLiteral("&Close"), true);
    connect(button, &QPushButton::clicked, this, &QDialog::close);
    return button;
}

QLabel* DeskWindow::heading(const QString& text)
{
    auto* label = new QLabel(text, body());
    label->setObjectName(QStringLiteral("lbl_head"));
    QFont big = label->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    label->setFont(big);
    return label;
}
