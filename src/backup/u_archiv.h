#pragma once

#include "ui/deskwindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;
namespace Archive {
struct Progress;
}

// Saves the tables into dated zip archives, restores them and deletes archives.
class Tfrm_archiv : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_archiv(QWidget* parent = nullptr);

    QLabel* lbl_head = nullptr;
    QTabWidget* pc_archiv = nullptr;
    QWidget* ts_save = nullptr;
    QWidget* ts_restore = nullptr;
    QLineEdit* dir_zip = nullptr;
    QLineEdit* ed_file = nullptr;
    QPushButton* btn_save = nullptr;
    QLineEdit* fne_database = nullptr;
    QPushButton* btn_restore = nullptr;
    QPushButton* btn_delete = nullptr;
    QGroupBox* gb_fortschritt = nullptr;
    QLabel* lbl_file = nullptr;
    QProgressBar* pb_file = nullptr;
    QProgressBar* pb_all = nullptr;
    QPushButton* btn_close = nullptr;

public slots:
    void btn_saveClick();
    void btn_restoreClick();
    void btn_deleteClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupSavePage();
    void setupRestorePage();
    void setupProgress();
    Archive::Progress progressDisplay(const QString& endText);
    QString installDirectory() const;
    QString tablesDirectory() const;
    bool storeInPlace() const;
    void endBusy();
    QString backupDirectory() const;
};
