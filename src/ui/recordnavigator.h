#pragma once

#include "data/recordset.h"

#include <QDataWidgetMapper>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QToolButton;
class RecordGrid;

// The record navigator of the windows that edit a table: first, prior, next, last, insert,
// delete, edit, post, cancel and refresh over one RecordSet. Each window shows the buttons it
// names; the buttons enable themselves from the set's position and state. With a widget mapper
// the edited controls are written into the row before it is posted or left.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_DECLARE_FLAGS(Buttons, Button)
    static constexpr Buttons allButtons = Buttons(0x3ff);

    explicit RecordNavigator(QWidget* parent = nullptr);

    void setRecords(RecordSet* records);
    RecordSet* records() const { return records_; }
    void setMapper(QDataWidgetMapper* mapper);
    // The grid the set is edited in: a cell still open there is written before a button acts,
    // or dropped by Cancel.
    void setGrid(RecordGrid* grid);

    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return visible_; }
    // Hints are shown as tool tips; a button without one shows none.
    void setHint(Button button, const QString& hint);
    // The question asked before a delete; empty deletes without asking.
    void setDeleteQuestion(const QString& question) { deleteQuestion_ = question; }

    QToolButton* button(Button button) const { return buttons_.value(button); }

public slots:
    // Does what the button does; store errors are shown and end the action.
    void press(RecordNavigator::Button button);
    void updateButtons();

signals:
    // After the action of a button ran without error.
    void pressed(RecordNavigator::Button button);

private:
    void run(Button button);
    void writeControls();

    QPointer<RecordSet> records_;
    QPointer<QDataWidgetMapper> mapper_;
    QPointer<RecordGrid> grid_;
    QHash<Button, QToolButton*> buttons_;
    QList<QMetaObject::Connection> connections_;
    Buttons visible_ = allButtons;
    QString deleteQuestion_ = QStringLiteral("Delete record?");
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RecordNavigator::Buttons)
