#include "app/u_main.h"
#include "app/windowset.h"
#include "data/daycount.h"
#include "data/session.h"
#include "platform/messages.h"
#include "reservations/u_reservieren.h"
#include "reservations/u_reservierungsliste.h"
#include "testinstallation.h"
#include "ui/deskwindow.h"
#include "ui/forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

// Every window of the demo at its default size, as the desk first sees it: no text the desk reads
// is cut off, and no two texts run into each other. With COURTORIA_SHOTS set to a folder, each
// window is saved there as a picture to look at.
namespace {

// Two-digit days and the evening's times are the widest dates and moments the desk reads.
const QDate day(2026, 12, 28);

QString where(const QWidget* w)
{
    QStringList path;
    for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (!p->objectName().isEmpty())
            path.prepend(p->objectName());
    return path.join(QLatin1Char('/'));
}

QString shown(const QString& text)
{
    QString plain = text;
    // A mnemonic's ampersand is not drawn; a doubled one draws one.
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return plain;
}

int textWidth(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// A label with a buddy draws its mnemonic's ampersand as an underline.
QString labelText(const QLabel* label)
{
    return label->buddy() ? shown(label->text()) : label->text();
}

// Where a label draws its text, in its parent's coordinates.
QRect inkRect(const QLabel* label)
{
    const QFontMetrics metrics(label->font());
    const QString text = labelText(label);
    const QSize size(textWidth(metrics, text), metrics.height() * int(text.count(QLatin1Char('\n')) + 1));
    const QRect box =
        label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    const QRect ink = QStyle::alignedRect(label->layoutDirection(), label->alignment(), size, box);
    return ink.translated(label->pos());
}

bool readsAsText(const QLabel* label)
{
    return label->isVisibleTo(label->window()) && !label->text().trimmed().isEmpty() && !label->wordWrap() &&
           label->textFormat() != Qt::RichText && !Qt::mightBeRichText(label->text()) &&
           label->pixmap().isNull();
}

QStringList labelFaults(QWidget* window)
{
    QStringList faults;
    const auto labels = window->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (!readsAsText(label))
            continue;
        const QFontMetrics metrics(label->font());
        const int needed = textWidth(metrics, labelText(label));
        const int room = label->contentsRect().width() - 2 * label->margin();
        if (needed > room)
            faults << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                          .arg(where(label), labelText(label))
                          .arg(needed)
                          .arg(room);
    }
    // Texts side by side on one parent must not run into each other.
    for (int i = 0; i < labels.size(); ++i)
        for (int j = i + 1; j < labels.size(); ++j) {
            QLabel* a = labels[i];
            QLabel* b = labels[j];
            if (a->parentWidget() != b->parentWidget() || !readsAsText(a) || !readsAsText(b))
                continue;
            if (inkRect(a).intersects(inkRect(b)))
                faults << QStringLiteral("%1 \"%2\" runs into %3 \"%4\"")
                              .arg(where(a), labelText(a), where(b), labelText(b));
        }
    return faults;
}

QStringList buttonFaults(QWidget* window)
{
    QStringList faults;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->text().trimmed().isEmpty())
            continue;
        const bool marked = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        const bool pushed = qobject_cast<QPushButton*>(button);
        if (!marked && !pushed)
            continue;
        // A check box or a radio button draws its mark, a gap and the text; a push button centres
        // its text within its frame.
        const int needed = marked ? button->sizeHint().width()
                                  : QFontMetrics(button->font()).horizontalAdvance(shown(button->text())) + 6;
        if (needed > button->width())
            faults << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                          .arg(where(button), shown(button->text()))
                          .arg(needed)
                          .arg(button->width());
    }
    return faults;
}

QStringList gridFaults(QWidget* window)
{
    QStringList faults;
    for (QTableView* grid : window->findChildren<QTableView*>()) {
        if (!grid->isVisibleTo(window) || !grid->model())
            continue;
        QAbstractItemModel* model = grid->model();
        QStyleOptionViewItem option;
        option.initFrom(grid->viewport());
        option.font = grid->font();
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        for (int column = 0; column < model->columnCount(); ++column) {
            if (grid->isColumnHidden(column))
                continue;
            const int room = grid->columnWidth(column);
            const int title =
                grid->horizontalHeader()->isVisible()
                    ? QFontMetrics(grid->horizontalHeader()->font())
                          .horizontalAdvance(model->headerData(column, Qt::Horizontal).toString())
                    : 0;
            if (title > room)
                faults << QStringLiteral("%1 column title \"%2\" needs %3 px, has %4")
                              .arg(where(grid), model->headerData(column, Qt::Horizontal).toString())
                              .arg(title)
                              .arg(room);
            // The cell as its delegate draws it: formatted, with the delegate's own margins.
            for (int row = 0; row < std::min(model->rowCount(), 50); ++row) {
                const QModelIndex index = model->index(row, column);
                const int needed = grid->itemDelegateForIndex(index)->sizeHint(option, index).width();
                if (needed > room) {
                    faults << QStringLiteral("%1 column %2 row %3 \"%4\" needs %5 px, has %6")
                                  .arg(where(grid))
                                  .arg(column)
                                  .arg(row)
                                  .arg(index.data().toString())
                                  .arg(needed)
                                  .arg(room);
                    break;
                }
            }
        }
    }
    return faults;
}

} // namespace

class TestReadableTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowsShowTheirTextsWhole_data();
    void windowsShowTheirTextsWhole();

private:
    std::unique_ptr<TestInstallation> installation_;
};

void TestReadableTexts::initTestCase()
{
    const int today = DayCount::fromDate(day);
    installation_ = std::make_unique<TestInstallation>(true, today, today + 20.0 / 24 + 50.0 / 1440);
    QVERIFY2(installation_->isValid(), qPrintable(installation_->failure()));
    DayCount::setCurrentMoment(QDateTime(day, QTime(20, 50)));
    // A cancelled booking for the activity log, cancelled in the afternoon.
    TestInstallation::exec(
        QStringLiteral(
            "insert into Aktivitaet (Aufzeichnung, Datum, Reservierer, Platz, Startzeit, Laufzeit) "
            "values (?, ?, 'Hoffmann, Emma', 4, '08:30 am', 6)"),
        {today + 20.75 / 24, today});
    Messages::setHandler([](Messages::Kind, const QString&) { return Messages::Answer::No; });
    Session::Nachkommafaktor = 100;
    WindowSet::createMain();
    WindowSet::createObjects();
}

void TestReadableTexts::cleanupTestCase()
{
    WindowSet::destroyAll();
    Messages::setHandler({});
    DayCount::setCurrentMoment(QDateTime::currentDateTime());
    installation_.reset();
}

void TestReadableTexts::windowsShowTheirTextsWhole_data()
{
    QTest::addColumn<QString>("window");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<DeskWindow*>(w))
            QTest::newRow(qPrintable(w->objectName())) << w->objectName();
}

void TestReadableTexts::windowsShowTheirTextsWhole()
{
    QFETCH(QString, window);
    auto* w = qobject_cast<DeskWindow*>(Forms::window(window));
    QVERIFY(w);
    if (auto* list = qobject_cast<Tfrm_reservierungsliste*>(w))
        list->showFor(day, -1);
    if (auto* dialog = qobject_cast<Tfrm_reservieren*>(w)) {
        dialog->ed_tag->setText(QStringLiteral("1"));
        dialog->ed_stunde->setText(QStringLiteral("18"));
    }
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::qWait(50);
    if (const QByteArray shots = qgetenv("COURTORIA_SHOTS"); !shots.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(shots));
        w->grab().save(QString::fromLocal8Bit(shots) + QLatin1Char('/') + window + QStringLiteral(".png"));
    }
    const QStringList faults = labelFaults(w) + buttonFaults(w) + gridFaults(w);
    w->hide();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestReadableTexts)
#include "tst_readabletexts.moc"
