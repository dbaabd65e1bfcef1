#include "ui/recordnavigator.h"

#include "data/recordset.h"
#include "platform/messages.h"
#include "ui/fieldform.h"
#include "ui/pictures.h"
#include "ui/recordgrid.h"
#include "ui/storeaction.h"

#include <QAbstractItemModel>
#include <QDataWidgetMapper>
#include <QHBoxLayout>
#include <QMetaProperty>
#include <QToolButton>

namespace {

struct ButtonKind {
    RecordNavigator::Button button;
    const char* name;
    Pictures::Navigator picture;
    const char* spoken; // what a screen reader says for the picture button
};

const ButtonKind kinds[] = {
    {RecordNavigator::First, "nbFirst", Pictures::Navigator::First, "First record"},
    {RecordNavigator::Prior, "nbPrior", Pictures::Navigator::Prior, "Prior record"},
    {RecordNavigator::Next, "nbNext", Pictures::Navigator::Next, "Next record"},
    {RecordNavigator::Last, "nbLast", Pictures::Navigator::Last, "Last record"},
    {RecordNavigator::Insert, "nbInsert", Pictures::Navigator::Insert, "Insert record"},
    {RecordNavigator::Delete, "nbDelete", Pictures::Navigator::Delete, "Delete record"},
    {RecordNavigator::Edit, "nbEdit", Pictures::Navigator::Edit, "Edit record"},
    {RecordNavigator::Post, "nbPost", Pictures::Navigator::Post, "Post edit"},
    {RecordNavigator::Cancel, "nbCancel", Pictures::Navigator::Cancel, "Cancel edit"},
    {RecordNavigator::Refresh, "nbRefresh", Pictures::Navigator::Refresh, "Refresh data"},
};

} // namespace

RecordNavigator::RecordNavigator(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonKind& kind : kinds) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(kind.name));
        b->setIcon(Pictures::navigatorIcon(kind.picture));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(26, 25);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAccessibleName(QLatin1String(kind.spoken));
        const Button which = kind.button;
        connect(b, &QToolButton::pressed, this, [this, which] {
            if (!grid_)
                return;
            if (which == Cancel)
                grid_->dropEditor();
            else
                grid_->commitEditor();
        });
        connect(b, &QToolButton::clicked, this, [this, which] { press(which); });
        layout->addWidget(b);
        buttons_.insert(which, b);
    }
    updateButtons();
}

void RecordNavigator::setRecords(RecordSet* records)
{
    for (const auto& c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    records_ = records;
    if (records) {
        connections_ << connect(records, &RecordSet::stateChanged, this, &RecordNavigator::updateButtons)
                     << connect(records, &RecordSet::currentChanged, this, &RecordNavigator::updateButtons)
                     << connect(records, &RecordSet::reset, this, &RecordNavigator::updateButtons)
                     << connect(records, &RecordSet::rowRemoved, this, &RecordNavigator::updateButtons)
                     << connect(records, &RecordSet::rowAppended, this, &RecordNavigator::updateButtons);
        // The mapper follows the current row wherever it was moved from.
        connections_ << connect(records, &RecordSet::currentChanged, this, [this](int row) {
            if (mapper_)
                mapper_->setCurrentIndex(row);
        });
        connections_ << connect(records, &RecordSet::reset, this, [this] {
            if (mapper_ && records_)
                mapper_->setCurrentIndex(records_->recNo());
        });
    }
    updateButtons();
}

void RecordNavigator::setMapper(QDataWidgetMapper* mapper)
{
    mapper_ = mapper;
    if (mapper_) {
        mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
        if (records_)
            mapper_->setCurrentIndex(records_->recNo());
    }
}

void RecordNavigator::setGrid(RecordGrid* grid)
{
    grid_ = grid;
}

void RecordNavigator::setVisibleButtons(Buttons buttons)
{
    visible_ = buttons;
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setVisible(visible_.testFlag(it.key()));
}

void RecordNavigator::setHint(Button button, const QString& hint)
{
    if (QToolButton* b = buttons_.value(button)) {
        b->setToolTip(hint);
        if (!hint.isEmpty())
            b->setAccessibleName(hint);
    }
}

void RecordNavigator::updateButtons()
{
    const bool open = records_ && records_->isOpen();
    const bool editing = open && (records_->state() == RecordSet::State::Edit ||
                                  records_->state() == RecordSet::State::Insert);
    const bool writable = open && !records_->isReadOnly();
    const int row = open ? records_->recNo() : -1;
    const int count = open ? records_->count() : 0;
    const bool canBack = open && row > 0;
    const bool canForward = open && row >= 0 && row < count - 1;
    buttons_[First]->setEnabled(canBack);
    buttons_[Prior]->setEnabled(canBack);
    buttons_[Next]->setEnabled(canForward);
    buttons_[Last]->setEnabled(canForward);
    buttons_[Insert]->setEnabled(writable);
    buttons_[Delete]->setEnabled(writable && count > 0);
    buttons_[Edit]->setEnabled(writable && !editing && count > 0);
    buttons_[Post]->setEnabled(editing);
    buttons_[Cancel]->setEnabled(editing);
    buttons_[Refresh]->setEnabled(open);
}

void RecordNavigator::writeControls()
{
    if (mapper_ && records_)
        writeMappedControls(mapper_, records_->recNo());
}

void RecordNavigator::run(Button button)
{
    RecordSet& r = *records_;
    switch (button) {
    case First:
        writeControls();
        r.first();
        break;
    case Prior:
        writeControls();
        r.prior();
        break;
    case Next:
        writeControls();
        r.next();
        break;
    case Last:
        writeControls();
        r.last();
        break;
    case Insert:
        writeControls();
        r.append();
        break;
    case Delete:
        if (!deleteQuestion_.isEmpty() && !Messages::ask(deleteQuestion_))
            return;
        r.remove();
        break;
    case Edit: r.edit(); break;
    case Post:
        writeControls();
        r.post();
        break;
    case Cancel:
        r.cancel();
        if (mapper_)
            mapper_->revert();
        break;
    case Refresh: r.refresh(); break;
    }
    emit pressed(button);
}

void RecordNavigator::press(Button button)
{
    if (!records_ || !records_->isOpen())
        return;
    StoreAction::run([this, button] { run(button); });
    updateButtons();
}
