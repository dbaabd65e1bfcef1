#include "ui/helpviewer.h"

#include "ui/placement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The pages are compiled into a static library: its resources need registering by hand.
static void registerHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace {

const QString contentsPage = QStringLiteral("qrc:/help/Courtoria.html");

QString& fileName()
{
    static QString name;
    return name;
}

class HelpWindow : public QWidget {
public:
    HelpWindow()
    {
        setObjectName(QStringLiteral("frm_help"));
        setWindowTitle(QStringLiteral("Courtoria Help"));
        setAttribute(Qt::WA_QuitOnClose, false);
        browser = new QTextBrowser(this);
        browser->setObjectName(QStringLiteral("tb_help"));
        browser->setOpenExternalLinks(true);
        auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
        contents->setObjectName(QStringLiteral("btn_contents"));
        auto* back = new QPushButton(QStringLiteral("&Back"), this);
        back->setObjectName(QStringLiteral("btn_back"));
        auto* close = new QPushButton(QStringLiteral("&Close"), this);
        close->setObjectName(QStringLiteral("btn_close"));
        connect(contents, &QPushButton::clicked, this, [this] { open(QUrl(contentsPage)); });
        connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
        connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        back->setEnabled(false);
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(browser);
        resize(680, 560);
    }

    void open(const QUrl& url)
    {
        browser->setSource(url);
        belongTo(ownerNow());
        if (!isVisible())
            Placement::restore(this);
        show();
        raise();
        activateWindow();
    }

    QTextBrowser* browser = nullptr;

protected:
    void hideEvent(QHideEvent* event) override
    {
        Placement::save(this);
        QWidget::hideEvent(event);
    }

    // The modal window the viewer was lent to is closing: the viewer stays open, back with the
    // main window.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parentWidget() && event->type() == QEvent::Hide)
            belongTo(mainWindow());
        return false;
    }

private:
    static QWidget* mainWindow()
    {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows)
            if (qobject_cast<QMainWindow*>(w))
                return w;
        return nullptr;
    }

    // A modal window blocks every window but its own: opened from one, the viewer becomes its
    // window so that it can be read, scrolled and closed while the modal window stays open.
    static QWidget* ownerNow()
    {
        if (QWidget* modal = QApplication::activeModalWidget())
            return modal;
        return mainWindow();
    }

    void belongTo(QWidget* owner)
    {
        if (owner == parentWidget())
            return;
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        const bool shown = isVisible();
        const QRect place = geometry();
        setParent(owner, Qt::Window);
        if (owner && owner != mainWindow())
            owner->installEventFilter(this);
        if (shown) {
            setGeometry(place);
            show();
        }
    }
};

QPointer<HelpWindow>& window()
{
    static QPointer<HelpWindow> w;
    return w;
}

HelpWindow* ensureWindow()
{
    if (!window()) {
        registerHelpPages();
        window() = new HelpWindow;
    }
    return window();
}

} // namespace

namespace Help {

void setHelpFile(const QString& name)
{
    fileName() = name;
}
QString helpFile()
{
    return fileName();
}

void showContents()
{
    ensureWindow()->open(QUrl(contentsPage));
}

void showTopic(int topic)
{
    QUrl url(contentsPage);
    url.setFragment(QStringLiteral("topic%1").arg(topic));
    ensureWindow()->open(url);
}

void quit()
{
    if (window())
        delete window();
}

QWidget* viewer()
{
    return window();
}
QTextBrowser* browser()
{
    return window() ? window()->browser : nullptr;
}

} // namespace Help
