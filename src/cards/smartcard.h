#pragma once

#include "cards/scard32.h"

#include <QByteArray>
#include <QLibrary>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

// A failure of the terminal or of its library; the message is what the desk sees.
class SmartCardError : public std::runtime_error {
public:
    explicit SmartCardError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

class CardMessageWindow;

// The chip-card terminal as the windows use it, without any widget: loads libscard32.so and
// registers a hidden message window with it, sends commands, and turns the library's
// notifications into status texts and events. Notifications arrive on the user-interface thread
// through the message window; each instance registers its own, so several may be active at once.
// Errors of commands are thrown as SmartCardError; errors while handling a notification, in the
// component or in a handler, are shown and leave the component active.
class SmartCard : public QObject {
    Q_OBJECT
public:
    enum class Language { Custom, English, Deutsch };

    explicit SmartCard(QObject* parent = nullptr);
    ~SmartCard() override;
    Q_DISABLE_COPY_MOVE(SmartCard)

    // The directory searched first for the library; the program's own directory unless set. The
    // system's library search path follows it.
    static void setProgramDirectory(const QString& directory);
    static QString programDirectory();

    bool active() const { return entry_ != nullptr; }
    // Loads and registers, or unregisters and unloads. Setting the current value does nothing.
    void setActive(bool on);
    // Registers with an entry point already at hand, as activation does after loading.
    void activateWith(SCardComandFunction entry);
    std::int32_t sessionHandle() const { return session_; }
    // The handle the library posts to, in decimal in the registration command.
    std::uintptr_t windowHandle() const;

    bool Enabled = true;
    bool AutoUnlock = false;

    Language language() const { return language_; }
    void setLanguage(Language language);
    const QStringList& LanguageText() const { return languageText_; }
    // Copies the lines and makes the language a custom one.
    void setLanguageText(const QStringList& lines);
    const QString& StatusText() const { return statusText_; }

    // Sends one command; the reply holds at most 255 bytes. Throws when inactive or when the
    // library reports a failure, with the library's own text.
    QByteArray CardCommand(const QByteArray& command, const QByteArray& data = {});
    // Sends a command with a large reply buffer and returns the reply split into lines.
    QStringList ReadList(const QByteArray& command);
    // The lines of a reply: 13 ends a line, 10 is dropped, other bytes below 32 become "#" and two
    // hexadecimal digits; a line keeps at most 255 characters.
    static QStringList splitLines(const QByteArray& reply);
    // Looks the key up in the texts in use and shows it with #1 and #2 replaced; an unknown key or
    // one without text changes nothing.
    void ShowStatus(const QString& key, const QStringList& values = {});

    QStringList DeviceInfo();
    QStringList DeviceList();
    QStringList TaskList();
    QStringList CardInfo();

    // Handles message 1134 with its two parameters; other messages are ignored.
    void handleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // Events; an empty one counts as no handler.
    std::function<void(int device)> OnCardDetect;
    std::function<void(int device)> OnCardActive;
    std::function<void(int device)> OnCardValid;
    std::function<void(int device)> OnCardInvalid;
    std::function<void(int device)> OnCardWait;
    std::function<void(int device)> OnDeviceError;
    std::function<void(int device, int task)> OnCardLock;
    std::function<void(int port, int progress)> OnDeviceSearch;
    std::function<void(int device, int progress)> OnProgress;
    std::function<void()> OnCardInfoChange;
    std::function<void()> OnTaskListChange;
    std::function<void()> OnDeviceListChange;

    static QStringList builtInTexts(Language language);

protected:
    // A new status text; the window part shows it in its label.
    virtual void statusChanged(const QString& text) { Q_UNUSED(text); }

private:
    void dispatch(std::uintptr_t code, std::intptr_t values);
    void runCardActiveHandler(int device);
    void deactivate();
    void unload();
    std::int32_t call(const QByteArray& command, const QByteArray& data, QByteArray* reply, int capacity);

    std::unique_ptr<CardMessageWindow> window_;
    std::unique_ptr<QLibrary> library_;
    SCardComandFunction entry_ = nullptr;
    std::int32_t session_ = 0;
    int device_ = 0;
    Language language_ = Language::Custom;
    QStringList languageText_;
    QString statusText_;
    QStringList taskList_;
    bool handlingCardActive_ = false;
    bool deactivateAfterHandler_ = false;
};
