#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;

// The base of every window of the program besides the main window. It brings the habits all
// windows share, each set up once here: the remembered screen position, Enter moving the focus on,
// Esc pressing the window's close or cancel button, F1 opening the window's help topic, and the
// two ways a command opens a window (modal, or independent and brought to the front).
class DeskWindow : public QDialog {
    Q_OBJECT
public:
    DeskWindow(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // The button Esc presses; without one Esc does nothing.
    void setEscapeButton(QAbstractButton* button) { escapeButton_ = button; }
    QAbstractButton* escapeButton() const { return escapeButton_; }

    // On in most windows: Enter moves to the next control and is dropped.
    void setEnterMovesFocus(bool on) { enterMovesFocus_ = on; }
    bool enterMovesFocus() const { return enterMovesFocus_; }

    // 0: the window has no help topic.
    void setHelpTopic(int topic) { helpTopic_ = topic; }
    int helpTopic() const { return helpTopic_; }

    void setKeepsPlacement(bool on) { keepsPlacement_ = on; }

    // What Enter does: the focus goes to the next control in the tab order.
    void focusNextControl() { focusNextChild(); }

    // Shows the window beside the others; a window already open comes to the front.
    void showIndependent();
    // Shows the window modally and returns when it closes.
    int showModal();

    // A dialog of one fixed size: no minimise or maximise box, no resizing.
    void setFixedDialogSize(const QSize& size);

    // Runs one action of the window; a store error is shown and ends it. True when it ran through.
    bool runAction(const std::function<void()>& action);

protected:
    // The content area above the bottom button row of the window.
    QWidget* body();
    // Adds a button to the bottom row, right-aligned; with escape it is the button Esc presses.
    QPushButton* addBottomButton(const QString& name, const QString& caption, bool escape = false);
    // The window's "&Close" button btn_close: Esc presses it and it closes the window.
    QPushButton* addCloseButton();
    // The bold heading lbl_head across the top of the content area (the caller places it).
    QLabel* heading(const QString& text);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QAbstractButton> escapeButton_;
    bool enterMovesFocus_ = true;
    bool keepsPlacement_ = true;
    int helpTopic_ = 0;
    QWidget* body_ = nullptr;
    QHBoxLayout* bottomRow_ = nullptr;
};
