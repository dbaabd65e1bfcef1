#pragma once

#include <QWidget>

class QProgressBar;

// The loading screen shown while the windows are created.
class Tfrm_intro : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_intro(int objects, QWidget* parent = nullptr);

    // Advances the bar and paints at once: the event loop does not run during start-up.
    void step();

    QProgressBar* pb_loading = nullptr;
};
