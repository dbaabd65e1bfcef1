#pragma once

#include <QWidget>

class QTimer;

// The animation shown while the program closes: sheets flying into a bin, stopping at the last
// frame.
class ClosingAnimation : public QWidget {
    Q_OBJECT
public:
    explicit ClosingAnimation(QWidget* parent = nullptr);

    void start(int milliseconds);
    int frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* timer_;
    int frame_ = 0;
};
