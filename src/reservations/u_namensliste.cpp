#include "reservations/u_namensliste.h"

#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "ui/recordgrid.h"
#include "ui/recordnavigator.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

Tfrm_namensliste::Tfrm_namensliste(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_namensliste"), QStringLiteral("Namelist"), parent)
{
    resize(420, 460);
    names_ = new RecordSet(this);
    model_ = new RecordSetModel(names_, this);
    setupGrid();
    setupNavigator();
}

void Tfrm_namensliste::setupGrid()
{
    GridColumns columns{{QStringLiteral("Name"), QStringLiteral("Name"), 200},
                        {QStringLiteral("Telefonnummer"), QStringLiteral("Telefonnumber"), 150}};
    for (GridColumn& column : columns)
        column.titleAlignment = Qt::AlignCenter;
    model_->setColumns(columns);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new RecordGrid(QStringLiteral("DBGrid1"), QStringLiteral("Names"), body());
    DBGrid1->setRecords(model_);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(DBGrid1);
}

void Tfrm_namensliste::setupNavigator()
{
    DBNavigator1 = new RecordNavigator(body());
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setRecords(names_);
    DBNavigator1->setGrid(DBGrid1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DBNavigator1);
    bottom->addStretch();
    static_cast<QVBoxLayout*>(body()->layout())->addLayout(bottom);
    BitBtn1 = addBottomButton(QStringLiteral("BitBtn1"), QStringLiteral("&Close"));
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_namensliste::BitBtn1Click);
}

bool Tfrm_namensliste::rowIsBlank() const
{
    for (const QString& field : names_->fieldNames())
        if (!names_->field(field).isEmpty())
            return false;
    return true;
}

void Tfrm_namensliste::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (!event->spontaneous() && !names_->isOpen())
        runAction([this] { names_->openTable(QStringLiteral("Namen"), QStringLiteral("Name")); });
}

void Tfrm_namensliste::BitBtn1Click()
{
    close();
}

void Tfrm_namensliste::closeEvent(QCloseEvent* event)
{
    if (isVisible() && names_->isOpen()) {
        DBGrid1->commitEditor();
        const auto state = names_->state();
        if (state == RecordSet::State::Insert && rowIsBlank()) {
            names_->cancel();
        } else if (state == RecordSet::State::Insert || state == RecordSet::State::Edit) {
            // Closing would drop what was typed: the row is stored first, and a row the table
            // refuses keeps the window open until it is corrected or cancelled.
            if (!runAction([this] { names_->post(); })) {
                event->ignore();
                return;
            }
        }
    }
    DeskWindow::closeEvent(event);
    if (event->isAccepted())
        names_->close();
}
