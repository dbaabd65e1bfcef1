#include "lights/u_gruppensteuerung.h"

#include "data/query.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "data/store.h"
#include "lights/headerpanel.h"
#include "lights/relays.h"
#include "ui/recordgrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

// The switch plan with the colours of court outputs and groups.
class SwitchPlanModel final : public RecordSetModel {
public:
    using RecordSetModel::RecordSetModel;

    void setCourtOutputs(QSet<int> outputs) { courtOutputs_ = std::move(outputs); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::BackgroundRole || !index.isValid())
            return RecordSetModel::data(index, role);
        const RecordSet* plan = records();
        const int anschluss =
            FieldValue(plan->valueAt(index.row(), plan->fieldIndex(QStringLiteral("Anschluss")))).asInteger();
        QVariant colour;
        if (courtOutputs_.contains(anschluss))
            colour = QColor(Qt::green); // lime
        if (index.column() == columnOf(QStringLiteral("Gruppen"))) {
            const QColor group = Tfrm_gruppensteuerung::groupColour(
                FieldValue(plan->valueAt(index.row(), plan->fieldIndex(QStringLiteral("Gruppen"))))
                    .asInteger());
            if (group.isValid())
                colour = group;
        }
        return colour;
    }

private:
    QSet<int> courtOutputs_;
};

namespace {

// The group cell picks from 0 to 4.
class GroupPickList final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->setAccessibleName(QStringLiteral("Group"));
        for (int g = 0; g <= 4; ++g)
            box->addItem(QString::number(g));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentIndex(box->findText(FieldValue(index.data(Qt::EditRole)).asString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* box = static_cast<QComboBox*>(editor);
        if (box->currentIndex() >= 0)
            model->setData(index, box->currentText().toInt());
    }
};

bool inside(const QWidget* widget, const QWidget* area)
{
    return widget && (widget == area || area->isAncestorOf(widget));
}

} // namespace

QColor Tfrm_gruppensteuerung::groupColour(int gruppe)
{
    switch (gruppe) {
    case 1: return QColor(Qt::yellow);
    case 2: return QColor(Qt::cyan); // aqua
    case 3: return QColor(Qt::red);
    case 4: return QColor(0, 128, 0); // green
    default: return {};
    }
}

Tfrm_gruppensteuerung::Tfrm_gruppensteuerung(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_gruppensteuerung"), QStringLiteral("Switch Groups"), parent)
{
    setHelpTopic(2200);
    resize(640, 520);
    schaltplan_ = new RecordSet(this);
    // The plan has one row per output, installed once: no row is ever added.
    schaltplan_->beforeInsert = [] { return false; };
    model_ = new SwitchPlanModel(schaltplan_, this);
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(makeHeaderPanel(windowTitle(), body()));
    setupGrid();
    auto* row = new QHBoxLayout;
    row->addWidget(gr_schaltplan, 1);
    row->addWidget(setupButtons());
    layout->addLayout(row, 1);
    btn_close = addCloseButton();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (inside(old, gr_schaltplan) && !inside(now, gr_schaltplan))
            gr_schaltplanExit();
    });
}

void Tfrm_gruppensteuerung::setupGrid()
{
    model_->setColumns(
        {{QStringLiteral("Anschluss"), QStringLiteral("Switch"), 60, Qt::AlignRight | Qt::AlignVCenter,
          GridColumn::Display::Plain, true},
         {QStringLiteral("Bezeichnung"), QStringLiteral("Name of Switch"), 220},
         {QStringLiteral("Gruppen"), QStringLiteral("Group"), 60, Qt::AlignRight | Qt::AlignVCenter}});
    gr_schaltplan = new RecordGrid(QStringLiteral("gr_schaltplan"), QStringLiteral("Switch plan"), body());
    gr_schaltplan->setRecords(model_);
    gr_schaltplan->setItemDelegateForColumn(2, new GroupPickList(gr_schaltplan));
    gr_schaltplan->horizontalHeader()->setStretchLastSection(true);
}

QWidget* Tfrm_gruppensteuerung::setupButtons()
{
    auto* column = new QWidget(body());
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    struct Group {
        int number; // 0: all outputs
        QPushButton** on;
        QPushButton** off;
        const char* name;
    };
    const Group groups[] = {{0, &sw_alleon, &sw_alleoff, "alle"},
                            {1, &sw_gruppe1on, &sw_gruppe1off, "gruppe1"},
                            {2, &sw_gruppe2on, &sw_gruppe2off, "gruppe2"},
                            {3, &sw_gruppe3on, &sw_gruppe3off, "gruppe3"},
                            {4, &sw_gruppe4on, &sw_gruppe4off, "gruppe4"}};
    for (const Group& g : groups) {
        const QString title =
            g.number == 0 ? QStringLiteral("All") : QStringLiteral("Group %1").arg(g.number);
        auto* panel = new QGroupBox(title, column);
        panel->setObjectName(QStringLiteral("pnl_%1").arg(QLatin1String(g.name)));
        const QColor colour = groupColour(g.number);
        if (colour.isValid()) {
            QPalette palette = panel->palette();
            palette.setColor(QPalette::Window, colour);
            palette.setColor(QPalette::WindowText, colour.lightness() < 100 ? Qt::white : Qt::black);
            panel->setPalette(palette);
            panel->setAutoFillBackground(true);
        }
        auto* buttons = new QHBoxLayout(panel);
        for (const bool on : {true, false}) {
            auto* button = new QPushButton(on ? QStringLiteral("On") : QStringLiteral("Off"), panel);
            button->setObjectName(QStringLiteral("sw_%1%2").arg(QLatin1String(g.name), on ? "on" : "off"));
            button->setAccessibleName(title + (on ? QStringLiteral(" on") : QStringLiteral(" off")));
            button->setPalette(QApplication::palette(button));
            buttons->addWidget(button);
            *(on ? g.on : g.off) = button;
            connect(button, &QPushButton::clicked, this, [this, n = g.number, on] { switchGroup(n, on); });
        }
        layout->addWidget(panel);
    }
    layout->addStretch();
    return column;
}

void Tfrm_gruppensteuerung::switchGroup(int gruppe, bool on)
{
    // A group changed in the grid counts once it is stored.
    gr_schaltplanExit();
    runAction([gruppe, on] {
        if (gruppe == 0)
            on ? fAlleEin() : fAlleAus();
        else
            on ? fGruppeEin(gruppe) : fGruppeAus(gruppe);
    });
}

void Tfrm_gruppensteuerung::gr_schaltplanExit()
{
    if (!schaltplan_->isOpen())
        return;
    gr_schaltplan->commitEditor();
    if (schaltplan_->state() != RecordSet::State::Edit)
        return;
    try {
        schaltplan_->post();
    } catch (const StoreError&) {
        // The row stays in edit for the desk to correct.
    }
}

void Tfrm_gruppensteuerung::showEvent(QShowEvent* event)
{
    DeskWindow::showEvent(event);
    if (event->spontaneous() || schaltplan_->isOpen())
        return;
    runAction([this] {
        QSet<int> outputs;
        Query used(
            QStringLiteral("select Anschluss from Tische where Anschluss is not NULL order by Anschluss"));
        used.open();
        for (; !used.eof(); used.next()) {
            const int n = used.field(QStringLiteral("Anschluss")).asInteger();
            if (n >= 0 && n <= 47)
                outputs.insert(n);
        }
        used.close();
        model_->setCourtOutputs(outputs);
        schaltplan_->openTable(QStringLiteral("Schaltplan"), QStringLiteral("Anschluss"));
    });
}

void Tfrm_gruppensteuerung::closeEvent(QCloseEvent* event)
{
    gr_schaltplanExit();
    DeskWindow::closeEvent(event);
    if (event->isAccepted())
        schaltplan_->close();
}
