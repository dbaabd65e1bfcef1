#pragma once

#include "ui/deskwindow.h"

class QPushButton;
class RecordGrid;
class RecordNavigator;
class RecordSet;
class RecordSetModel;

// The names and telephone numbers of players who are not members, edited in a grid ordered by
// name. A row the table refuses (a name already listed) stays in edit with what was typed until
// it is corrected or cancelled.
class Tfrm_namensliste final : public DeskWindow {
    Q_OBJECT
public:
    explicit Tfrm_namensliste(QWidget* parent = nullptr);

    RecordSet* names() const { return names_; }

    RecordGrid* DBGrid1 = nullptr;
    RecordNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

public slots:
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupGrid();
    void setupNavigator();
    // Writes the text of a cell still being edited into its row.
    bool rowIsBlank() const;

    RecordSet* names_ = nullptr;
    RecordSetModel* model_ = nullptr;
};
