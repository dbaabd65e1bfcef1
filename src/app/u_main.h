#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class ClosingAnimation;

// The main window: menu bar and tool bar open every other window.
class Tfrm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget* parent = nullptr);
    ~Tfrm_main() override;

    // How long the closing animation plays before the window really closes.
    static inline int closingMilliseconds = 900;

    bool firstShowDone() const { return firstShowDone_; }

    QToolBar* sb_main = nullptr;
    QWidget* Image1 = nullptr;
    QLabel* lbl_closing = nullptr;
    ClosingAnimation* an_close = nullptr;

public slots:
    void mnu_neuanmeldungClick();
    void mnu_rechteClick();
    void mnu_courtsClick();
    void mnu_schedulerClick();
    void mnu_abschlussClick();
    void mnu_abschluesseClick();
    void mnu_mitgliederClick();
    void mnu_kenngroessenClick();
    void mnu_pricesClick();
    void mnu_inventarClick();
    void mnu_laenderwahlClick();
    void mnu_tischfarbenClick();
    void mnu_zipClick();
    void mnu_namenslisteClick();
    void mnu_activitiesClick();
    void mnu_tischlichtsteuerungClick();
    void mnu_sonstigeschalterClick();
    void mnu_schalttafelClick();
    void mnu_kartenleserClick();
    void mnu_tischstatistikClick();
    void mnu_druckClick();
    void mnu_windowshelpClick();
    void mnu_browserhelpClick();
    void Aboutus1Click();
    void btn_closeClick();

signals:
    // The start-up steps of the first showing have run (also when they stopped at an error).
    void shown();
    // The window has closed for good: the program ends.
    void ended();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    // The start-up steps of the first showing; false when the required log-in did not succeed.
    bool startSession();
    void lockUnlessLoginIsNotRequired();
    void buildMenu();
    void buildToolBar();

    bool firstShowDone_ = false;
    // The log-in was asked, or is not required: the commands follow the session from here on.
    bool accessDecided_ = false;
    bool closing_ = false;
    bool closed_ = false;
};
