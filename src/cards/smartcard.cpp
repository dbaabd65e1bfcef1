#include "cards/smartcard.h"

#include "platform/messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <atomic>

namespace {

const char* const downloadLine = "Pls. download latest version at: https://www.courtoria.example/scard32";
constexpr int replyCapacity = 255;
constexpr int errorTextCapacity = 254;
constexpr int listCapacity = 32768;
constexpr int statusTextLimit = 255;
// Codes a Windows loader would report: the file is not there, or it is no loadable library.
constexpr int libraryNotFound = 2;
constexpr int libraryNotLoadable = 11;

const char* const textKeys[] = {"CrdDetect",  "CrdInsert", "CrdInvalid",  "CrdLocked",
                                "CrdReady",   "CrdValid",  "Progress",    "Search",
                                "SearchFail", "SearchOK",  "TerminalErr", "TerminalTyp"};
const char* const englishTexts[] = {"Detecting card...",
                                    "Please insert a smartcard...",
                                    "Invalid / unknown smartcard!",
                                    "Card is locked by '#1'",
                                    "Card ok",
                                    "Card activated and ready",
                                    "Operation in progress #1",
                                    "Looking for a terminal at #1 - #2",
                                    "No terminal found at #1!",
                                    "Terminal OK at #1",
                                    "Please check terminal settings, no access!",
                                    "Wrong terminal type!"};
const char* const germanTexts[] = {
    "Untersuche Karte...",     "Bitte Karte einlegen...",       "Ungültige / unbekannte Karte!",
    "Karte gesperrt von '#1'", "Karte wird bearbeitet",         "Karte ist aktiviert und freigegeben",
    "Vorgang läuft: #1",       "Suche Terminal an #1 - #2",     "Kein Terminal an #1 gefunden!",
    "Terminal an #1 OK",       "Terminaleinstellungen prüfen!", "Falscher Gerätetyp!"};

QString& programDirectoryOverride()
{
    static QString directory;
    return directory;
}

int signedByte(std::intptr_t values, int byte)
{
    return int(std::int8_t(std::uint8_t((std::uintptr_t(values) >> (8 * byte)) & 0xff)));
}

int unsignedByte(std::intptr_t values, int byte)
{
    return int((std::uintptr_t(values) >> (8 * byte)) & 0xff);
}

class CardMessageEvent : public QEvent {
public:
    CardMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(type())
        , message(message)
        , wParam(wParam)
        , lParam(lParam)
    {
    }
    static QEvent::Type type()
    {
        static const auto registered = QEvent::Type(QEvent::registerEventType());
        return registered;
    }
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

} // namespace

// The hidden window a library posts to: a handle known to PostMessage, living on the
// user-interface thread, so that whatever thread the library posts from, the card events run there.
class CardMessageWindow : public QObject {
public:
    explicit CardMessageWindow(SmartCard* card)
        : card_(card)
    {
        static std::atomic<std::uintptr_t> lastHandle{0};
        handle_ = ++lastHandle;
        QMutexLocker lock(&mutex());
        windows().insert(handle_, this);
    }
    ~CardMessageWindow() override
    {
        QMutexLocker lock(&mutex());
        windows().remove(handle_);
    }
    Q_DISABLE_COPY_MOVE(CardMessageWindow)

    std::uintptr_t handle() const { return handle_; }

    static int post(std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    {
        QMutexLocker lock(&mutex());
        CardMessageWindow* target = windows().value(window);
        if (!target)
            return 0;
        QCoreApplication::postEvent(target, new CardMessageEvent(message, wParam, lParam));
        return 1;
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != CardMessageEvent::type())
            return QObject::event(event);
        const auto* m = static_cast<CardMessageEvent*>(event);
        card_->handleMessage(m->message, m->wParam, m->lParam);
        return true;
    }

private:
    static QMutex& mutex()
    {
        static QMutex m;
        return m;
    }
    static QHash<std::uintptr_t, CardMessageWindow*>& windows()
    {
        static QHash<std::uintptr_t, CardMessageWindow*> w;
        return w;
    }

    SmartCard* card_;
    std::uintptr_t handle_ = 0;
};

extern "C" __attribute__((visibility("default"))) int PostMessage(uintptr_t window, uint32_t message,
                                                                  uintptr_t wParam, intptr_t lParam)
{
    return CardMessageWindow::post(window, message, wParam, lParam);
}

SmartCard::SmartCard(QObject* parent)
    : QObject(parent)
    , window_(std::make_unique<CardMessageWindow>(this))
{
}

SmartCard::~SmartCard()
{
    deactivate();
}

void SmartCard::setProgramDirectory(const QString& directory)
{
    programDirectoryOverride() = directory;
}

QString SmartCard::programDirectory()
{
    return programDirectoryOverride().isEmpty() ? QCoreApplication::applicationDirPath()
                                                : programDirectoryOverride();
}

std::uintptr_t SmartCard::windowHandle() const
{
    return window_->handle();
}

void SmartCard::setActive(bool on)
{
    if (!on && handlingCardActive_) {
        // The card-active handler may close its window; the card is unlocked after the handler
        // returns, so the session ends only then.
        deactivateAfterHandler_ = true;
        return;
    }
    deactivateAfterHandler_ = false;
    if (on == active())
        return;
    if (!on) {
        deactivate();
        return;
    }
    const QString name = QStringLiteral(SCARD_LIBRARY_FILE);
    const QString besideProgram = programDirectory() + QLatin1Char('/') + name;
    const bool found = QFileInfo::exists(besideProgram);
    // A plain name lets the system's library search path find it.
    library_ = std::make_unique<QLibrary>(found ? besideProgram : name);
    if (!library_->load()) {
        library_.reset();
        throw SmartCardError(QStringLiteral("Invalid/missing SmartCard library %1 (Error code %2)\r\n%3")
                                 .arg(name)
                                 .arg(found ? libraryNotLoadable : libraryNotFound)
                                 .arg(QLatin1String(downloadLine)));
    }
    auto entry = reinterpret_cast<SCardComandFunction>(library_->resolve(SCARD_ENTRY_POINT));
    if (!entry) {
        unload();
        throw SmartCardError(QStringLiteral("Invalid SmartCard library %1 (version mismatch)\r\n%2")
                                 .arg(name, QLatin1String(downloadLine)));
    }
    try {
        activateWith(entry);
    } catch (...) {
        unload();
        throw;
    }
}

void SmartCard::activateWith(SCardComandFunction entry)
{
    if (active())
        return;
    const QByteArray command = "System,AddHWndMsg," + QByteArray::number(quint64(windowHandle())) + "," +
                               QByteArray::number(SCARD_NOTIFY_MESSAGE);
    std::int32_t session = -1;
    std::int32_t length = 0; // the text ends with its 0x00 byte
    std::int32_t dataLength = 0;
    std::int32_t replyLength = 0;
    const std::int32_t result =
        entry(&session, command.constData(), &length, nullptr, &dataLength, nullptr, &replyLength);
    if (result > 0 || session < 1)
        throw SmartCardError(
            QStringLiteral("Cannot access SmartCard Server: %1")
                .arg(QString::number(std::uint16_t(result), 16).toUpper().rightJustified(4, u'0')));
    entry_ = entry;
    session_ = session;
    try {
        DeviceList();
    } catch (const SmartCardError&) {
        // A terminal that cannot list its devices yet still reports through its events.
    }
}

void SmartCard::runCardActiveHandler(int device)
{
    handlingCardActive_ = true;
    deactivateAfterHandler_ = false;
    // Unlocks after the handler however it ended, then ends a session the handler closed.
    const auto finish = [this] {
        handlingCardActive_ = false;
        try {
            if (AutoUnlock && active())
                CardCommand("Card,Unlock,");
        } catch (...) {
            if (deactivateAfterHandler_)
                setActive(false);
            throw;
        }
        if (deactivateAfterHandler_)
            setActive(false);
    };
    try {
        OnCardActive(device);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void SmartCard::deactivate()
{
    if (!entry_)
        return;
    for (const QByteArray& command :
         {"System,DelHWnd," + QByteArray::number(quint64(windowHandle())), QByteArray("System,Destroy,")}) {
        try {
            call(command, {}, nullptr, 0);
        } catch (...) {
            // A library that no longer answers must not keep the window from closing.
        }
    }
    entry_ = nullptr;
    session_ = 0;
    unload();
}

void SmartCard::unload()
{
    if (library_)
        library_->unload();
    library_.reset();
}

std::int32_t SmartCard::call(const QByteArray& command, const QByteArray& data, QByteArray* reply,
                             int capacity)
{
    std::int32_t commandLength = std::int32_t(command.size());
    std::int32_t dataLength = std::int32_t(data.size());
    QByteArray buffer(capacity, '\0');
    std::int32_t replyLength = capacity;
    const std::int32_t result = entry_(
        &session_, command.constData(), &commandLength,
        data.isEmpty() ? nullptr : reinterpret_cast<const std::uint8_t*>(data.constData()), &dataLength,
        capacity > 0 ? reinterpret_cast<std::uint8_t*>(buffer.data()) : nullptr, &replyLength);
    if (reply)
        *reply = buffer.left(std::clamp(replyLength, 0, capacity));
    return result;
}

QByteArray SmartCard::CardCommand(const QByteArray& command, const QByteArray& data)
{
    if (!active())
        throw SmartCardError(QStringLiteral("SmartCard component not activated"));
    QByteArray reply;
    if (call(command.left(255), data.left(255), &reply, replyCapacity) > 0) {
        QByteArray text;
        call("System,Info,ErrText,", {}, &text, errorTextCapacity);
        const int end = text.indexOf('\0');
        throw SmartCardError(QString::fromLatin1(end < 0 ? text : text.left(end)));
    }
    return reply;
}

QStringList SmartCard::ReadList(const QByteArray& command)
{
    if (!active())
        throw SmartCardError(QStringLiteral("SmartCard component not activated"));
    QByteArray reply;
    if (call(command, {}, &reply, listCapacity) > 0) {
        QByteArray text;
        call("System,Info,ErrText,", {}, &text, errorTextCapacity);
        const int end = text.indexOf('\0');
        throw SmartCardError(QString::fromLatin1(end < 0 ? text : text.left(end)));
    }
    return splitLines(reply);
}

QStringList SmartCard::splitLines(const QByteArray& reply)
{
    QStringList lines;
    QString line;
    for (const char c : reply) {
        const auto byte = std::uint8_t(c);
        if (byte == 13) {
            lines << line.left(255);
            line.clear();
        } else if (byte == 10) {
            continue;
        } else if (byte < 32) {
            line += QStringLiteral("#%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        } else {
            line += QChar::fromLatin1(c);
        }
    }
    if (!line.isEmpty())
        lines << line.left(255);
    return lines;
}

QStringList SmartCard::builtInTexts(Language language)
{
    QStringList lines;
    const char* const* texts = language == Language::Deutsch ? germanTexts : englishTexts;
    for (std::size_t i = 0; i < std::size(textKeys); ++i)
        lines << QLatin1String(textKeys[i]) + QLatin1Char('=') + QString::fromUtf8(texts[i]);
    return lines;
}

void SmartCard::setLanguage(Language language)
{
    language_ = language;
    if (language != Language::Custom)
        languageText_ = builtInTexts(language);
}

void SmartCard::setLanguageText(const QStringList& lines)
{
    languageText_ = lines;
    language_ = Language::Custom;
}

void SmartCard::ShowStatus(const QString& key, const QStringList& values)
{
    const QString prefix = key + QLatin1Char('=');
    QString text;
    for (const QString& line : languageText_)
        if (line.startsWith(prefix)) {
            text = line.mid(prefix.size());
            break;
        }
    if (text.isEmpty())
        return;
    for (int i = 0; i < 2 && i < values.size(); ++i) {
        const QString marker = QStringLiteral("#%1").arg(i + 1);
        const int at = text.indexOf(marker);
        if (at >= 0)
            text.replace(at, marker.size(), values[i]);
    }
    statusText_ = text.left(statusTextLimit);
    statusChanged(statusText_);
}

QStringList SmartCard::DeviceInfo()
{
    return active() ? ReadList("Device,Info,") : QStringList();
}

QStringList SmartCard::DeviceList()
{
    return active() ? ReadList("Device,List,") : QStringList();
}

QStringList SmartCard::TaskList()
{
    if (active())
        taskList_ = ReadList("System,TaskList,");
    return taskList_;
}

QStringList SmartCard::CardInfo()
{
    return active() ? ReadList("Card,Info,") : QStringList();
}

void SmartCard::handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // A notification queued before the window closed finds the session ended: no card reaches a
    // window that is gone.
    if (message != SCARD_NOTIFY_MESSAGE || !active())
        return;
    try {
        dispatch(wParam, lParam);
    } catch (const SmartCardError& e) {
        Messages::error(e.message());
    } catch (const std::exception& e) {
        Messages::error(QString::fromStdString(e.what()));
    }
}

void SmartCard::dispatch(std::uintptr_t code, std::intptr_t values)
{
    const int d = signedByte(values, 0);
    device_ = d;
    if (!Enabled) {
        // A card nobody is going to use must not stay reserved for this program.
        if (code == SCARD_CARD_ACTIVE)
            CardCommand("Card,Unlock,");
        return;
    }
    const auto fire = [d](const std::function<void(int)>& handler) {
        if (handler)
            handler(d);
    };
    switch (code) {
    case SCARD_TERMINAL_ERROR:
        ShowStatus(QStringLiteral("TerminalErr"));
        fire(OnDeviceError);
        break;
    case SCARD_CARD_WAIT:
        ShowStatus(QStringLiteral("CrdInsert"));
        fire(OnCardWait);
        break;
    case SCARD_CARD_DETECT:
        ShowStatus(QStringLiteral("CrdDetect"));
        fire(OnCardDetect);
        break;
    case SCARD_CARD_INVALID:
        ShowStatus(QStringLiteral("CrdInvalid"));
        fire(OnCardInvalid);
        break;
    case SCARD_CARD_VALID:
        ShowStatus(QStringLiteral("CrdValid"));
        fire(OnCardValid);
        break;
    case SCARD_CARD_ACTIVE:
        ShowStatus(QStringLiteral("CrdReady"));
        if (!OnCardActive) {
            CardCommand("Card,Unlock,");
            break;
        }
        runCardActiveHandler(d);
        break;
    case SCARD_CARD_LOCKED: {
        const int task = signedByte(values, 2);
        if (task >= taskList_.size())
            TaskList();
        if (task >= 0 && task < taskList_.size())
            ShowStatus(QStringLiteral("CrdLocked"), {taskList_[task].section(QLatin1Char(','), 0, 0)});
        if (OnCardLock)
            OnCardLock(d, task);
        break;
    }
    case SCARD_PROGRESS: {
        const int progress = signedByte(values, 2);
        ShowStatus(QStringLiteral("Progress"), {QString::number(progress) + QLatin1Char('%')});
        if (OnProgress)
            OnProgress(d, progress);
        break;
    }
    case SCARD_DEVICE_LIST_CHANGE:
        DeviceList();
        if (OnDeviceListChange)
            OnDeviceListChange();
        break;
    case SCARD_DEVICE_SEARCH: {
        const int port = unsignedByte(values, 2);
        const int s = unsignedByte(values, 3);
        const QString com = QStringLiteral("COM%1").arg(port);
        if (s == 254)
            ShowStatus(QStringLiteral("SearchOK"), {com});
        else if (s == 255)
            ShowStatus(QStringLiteral("SearchFail"), {com});
        else
            ShowStatus(QStringLiteral("Search"), {com, QString::number(s) + QLatin1Char('%')});
        if (OnDeviceSearch)
            OnDeviceSearch(port, s);
        break;
    }
    case SCARD_TASK_LIST_CHANGE:
        TaskList();
        if (OnTaskListChange)
            OnTaskListChange();
        break;
    case SCARD_CARD_INFO_CHANGE:
        CardInfo();
        if (OnCardInfoChange)
            OnCardInfoChange();
        break;
    default: break;
    }
}
