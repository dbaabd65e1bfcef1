#pragma once

#include "ui/deskwindow.h"

#include <QPointer>
#include <QString>

class ChoiceBox;
class QGroupBox;
class QLabel;
class QPushButton;
class RecordSet;

// Tells that the relay modules' serial port cannot be opened and asks whether to try again or to
// go on without the modules; when asked, it also offers another port, written into the parameter
// row's ComPort as the window closes.
class Tfrm_abbruchfenster final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_abbruchfenster(QWidget* parent = nullptr);

    // The parameter row whose ComPort the port choice edits; null offers no row to edit.
    void setPortRecords(RecordSet* parameters);
    // Fills, shows modally and returns true for abort (also after the close box).
    bool ask(const QString& line1, const QString& line2, const QString& line3, bool showPort);

    QLabel* lbl_infotext1 = nullptr;
    QLabel* lbl_infotext2 = nullptr;
    QLabel* lbl_infotext3 = nullptr;
    QPushButton* btn_nochmal = nullptr;
    QPushButton* btn_abbruch = nullptr;
    QGroupBox* gb_comport = nullptr;
    ChoiceBox* cb_comport = nullptr;

public slots:
    void btn_nochmalClick();
    void btn_abbruchClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setupPortChoice();
    void portChosen();

    QPointer<RecordSet> parameters_;
    bool abort_ = true;
    QString postFailure_;
};

// The three lines, the port choice when showPort, retry or abort: true means abort. Without the
// window it answers abort. A port choice the table refuses is thrown as StoreError afterwards.
bool fAbbruchfenster(const QString& line1, const QString& line2, const QString& line3, bool showPort);

// Start-up's relay restart with the open parameter row: the stored output bytes go out again, and
// while the port cannot be opened the desk is asked, with the port choice bound to that row.
void restartRelaysAtStart(RecordSet& parameters);
