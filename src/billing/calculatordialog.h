#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// The desk's pocket calculator, opened from the billing windows; its result is only shown.
class CalculatorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalculatorDialog(QWidget* parent);

    QLineEdit* input = nullptr;
    QLabel* result = nullptr;
};
