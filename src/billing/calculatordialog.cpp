#include "billing/calculatordialog.h"

#include "billing/calculator.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

CalculatorDialog::CalculatorDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_rechner"));
    setWindowTitle(QStringLiteral("Calculator"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Calculation"), this);
    input = new QLineEdit(this);
    input->setObjectName(QStringLiteral("ed_rechnung"));
    label->setBuddy(input);
    result = new QLabel(this);
    result->setObjectName(QStringLiteral("lbl_ergebnis"));
    result->setAccessibleName(QStringLiteral("Result"));
    result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont big = result->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    result->setFont(big);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setAutoDefault(false);
    layout->addWidget(label);
    layout->addWidget(input);
    layout->addWidget(result);
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(input, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::optional<double> value = Calculator::evaluate(text);
        result->setText(value ? QLocale::c().toString(*value, 'g', 15) : QString());
    });
}
