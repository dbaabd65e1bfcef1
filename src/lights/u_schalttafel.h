#pragma once

#include "ui/deskwindow.h"

#include <array>

class QLabel;
class QPushButton;
class RecordSet;

// One lamp of the switch panel: black when its output is off, red when on. Screen readers hear
// the output and its state.
class Lamp final : public QWidget {
    Q_OBJECT
public:
    Lamp(int output, QWidget* parent);
    void setOn(bool on);
    bool isOn() const { return on_; }
    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int output_;
    bool on_ = false;
};

// All forty relay outputs with their labels from the switch plan and an on and an off button each,
// over a field of lamps that shows the modules' stored state.
class Tfrm_schalttafel final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_schalttafel(QWidget* parent = nullptr);

    // Output n (1 to 40) at index n - 1.
    std::array<QLabel*, 40> labels{};
    std::array<QPushButton*, 40> onButtons{};
    std::array<QPushButton*, 40> offButtons{};
    std::array<Lamp*, 40> lamps{};
    QPushButton* btn_close = nullptr;

public slots:
    // Shared by all forty on (off) buttons; the button's "tag" property is its output.
    void sw_1onClick();
    void sw_1offClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* setupOutputs();
    QWidget* setupLamps();
    void showLabels();
    void showLamps();
    void clicked(bool on);

    RecordSet* schaltplan_ = nullptr;
};
