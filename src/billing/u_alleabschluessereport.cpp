#include "billing/u_alleabschluessereport.h"

#include "billing/accountsreport.h"
#include "data/daycount.h"
#include "platform/messages.h"
#include "report/printing.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

Tfrm_alleabschluessereport::Tfrm_alleabschluessereport(QWidget* parent)
    : DeskWindow(QStringLiteral("frm_alleabschluessereport"), QStringLiteral("List of daily accounts"),
                 parent)
{
    resize(640, 420);
    auto* form = new QFormLayout(body());
    lbl_summew = new QLabel(body());
    lbl_summew->setObjectName(QStringLiteral("lbl_summew"));
    form->addRow(QStringLiteral("Sum "), lbl_summew);
    btn_close = addCloseButton();
}

void Tfrm_alleabschluessereport::printAccounts(const QDate& vonDatum, const QDate& bisDatum, bool details,
                                               bool preview)
{
    AccountsReport::Options o;
    o.vonDatum = DayCount::fromDate(vonDatum);
    o.bisDatum = DayCount::fromDate(bisDatum);
    o.details = details;
    o.currency = lbl_summew->text();
    o.printed = DayCount::now();
    Report::Document doc;
    if (!runAction([&] { doc = AccountsReport::document(o); }) || doc.isEmpty())
        return;
    QWidget* owner = parentWidget() ? parentWidget() : this;
    if (preview)
        Printing::preview(doc, owner);
    else if (!Printing::print(doc))
        Messages::error(QStringLiteral("The report could not be printed."));
}
