#pragma once

#include <QComboBox>

#include <functional>

// A text field with a drop-down list that is filled when it opens (its button or F5), as the
// dialog's name and member fields are: the list is read fresh each time, never kept stale.
class LookupBox : public QComboBox {
    Q_OBJECT
public:
    explicit LookupBox(QWidget* parent = nullptr);

    // Fills the list; called each time before the list opens.
    std::function<void()> fill;
    void setMaxLength(int length);

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
