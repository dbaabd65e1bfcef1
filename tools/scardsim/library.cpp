// libscard32.so for a terminal that is not there: the card lives in a file (cardfile.h) and the
// command-line tool scardsim inserts, removes and dumps it. Honours every command the program
// sends; a watcher thread notices insertions and removals and posts the codes a terminal would.

#include "cardfile.h"
#include "cards/scard32.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

struct Session {
    std::uintptr_t window = 0;
    std::uint32_t message = 0;
};

struct Notification {
    std::uintptr_t window;
    std::uint32_t message;
    std::uintptr_t code;
    std::intptr_t values;
};

class Terminal {
public:
    ~Terminal() { stopWatching(); }

    std::int32_t command(std::int32_t* session, const std::string& text, const std::uint8_t* data,
                         std::int32_t dataLength, std::uint8_t* reply, std::int32_t* replyLength);

private:
    std::int32_t fail(const std::string& text)
    {
        lastError_ = text;
        return 1;
    }
    std::int32_t answer(const std::string& bytes, std::uint8_t* reply, std::int32_t* replyLength)
    {
        const std::int32_t capacity = reply && replyLength ? std::max(*replyLength, 0) : 0;
        const auto n = std::min<std::int32_t>(capacity, std::int32_t(bytes.size()));
        if (n > 0)
            std::memcpy(reply, bytes.data(), std::size_t(n));
        if (replyLength)
            *replyLength = n;
        return 0;
    }
    void startWatching();
    void stopWatching();
    void watch();
    std::vector<Notification> notificationsFor(std::initializer_list<std::uintptr_t> codes,
                                               std::intptr_t values);
    void postAll(const std::vector<Notification>& notifications);

    std::mutex mutex_;
    std::map<std::int32_t, Session> sessions_;
    std::int32_t nextSession_ = 1;
    std::string lastError_;
    CardFile::State known_;
    std::thread watcher_;
    bool stopping_ = false;
    std::condition_variable wake_;
    PostMessageFunction post_ = nullptr;
};

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        parts.push_back(part);
    return parts;
}

bool number(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0';
}

std::int32_t Terminal::command(std::int32_t* session, const std::string& text, const std::uint8_t* data,
                               std::int32_t dataLength, std::uint8_t* reply, std::int32_t* replyLength)
{
    std::unique_lock lock(mutex_);
    if (text == "System,Info,ErrText,")
        return answer(lastError_, reply, replyLength);
    const std::vector<std::string> parts = split(text);
    const std::string verb = parts.size() >= 2 ? parts[0] + "," + parts[1] : text;
    if (verb == "System,AddHWndMsg") {
        long window = 0;
        long message = 0;
        if (!session || parts.size() < 4 || !number(parts[2], window) || !number(parts[3], message))
            return fail("System,AddHWndMsg: window handle and message number expected");
        post_ = reinterpret_cast<PostMessageFunction>(dlsym(RTLD_DEFAULT, "PostMessage"));
        if (!post_)
            return fail("The program exports no PostMessage");
        const std::int32_t id = nextSession_++;
        sessions_[id] = {std::uintptr_t(window), std::uint32_t(message)};
        *session = id;
        if (!watcher_.joinable()) {
            known_ = CardFile::state(CardFile::path());
            stopping_ = false;
            watcher_ = std::thread(&Terminal::watch, this);
        }
        if (replyLength)
            *replyLength = 0;
        return 0;
    }
    if (!session || sessions_.find(*session) == sessions_.end())
        return fail("Unknown session");
    if (verb == "System,DelHWnd") {
        sessions_[*session].window = 0;
        return answer({}, reply, replyLength);
    }
    if (verb == "System,Destroy") {
        sessions_.erase(*session);
        if (sessions_.empty()) {
            lock.unlock();
            stopWatching();
        }
        if (replyLength)
            *replyLength = 0;
        return 0;
    }
    if (verb == "Device,List")
        return answer("0,scardsim,virtual memory card terminal\r", reply, replyLength);
    if (verb == "Device,Info")
        return answer("scardsim\r" + CardFile::path() + "\r", reply, replyLength);
    if (verb == "System,TaskList") {
        std::string lines;
        for (const auto& [id, s] : sessions_)
            lines += "courtoria," + std::to_string(id) + "\r";
        return answer(lines, reply, replyLength);
    }
    const std::string file = CardFile::path();
    const std::optional<std::vector<std::uint8_t>> memory = CardFile::read(file);
    if (verb == "Card,Unlock") {
        CardFile::setLocked(false);
        return answer({}, reply, replyLength);
    }
    if (!memory)
        return fail("No card in the terminal");
    if (verb == "Card,Info")
        return answer("memory card\r255 bytes\r", reply, replyLength);
    if (verb == "Card,MemRead" || verb == "Card,MemWrite") {
        long address = 0;
        long count = 0;
        if (parts.size() != 4 || !number(parts[2], address) || !number(parts[3], count) || address < 0 ||
            count < 0 || address + count > long(CardFile::memorySize))
            return fail(verb + ": address and count must lie within the card's 255 bytes");
        if (verb == "Card,MemRead") {
            if (!reply || !replyLength || *replyLength < count)
                return fail("Card,MemRead: the reply buffer is too small");
            return answer(std::string(memory->begin() + address, memory->begin() + address + count), reply,
                          replyLength);
        }
        if (!data || dataLength < count)
            return fail("Card,MemWrite: fewer data bytes than the count");
        std::vector<std::uint8_t> written = *memory;
        std::copy(data, data + count, written.begin() + address);
        if (!CardFile::write(file, written))
            return fail("Card,MemWrite: the card cannot be written");
        known_ = CardFile::state(file);
        const auto progress = notificationsFor({SCARD_PROGRESS}, std::intptr_t(100) << 16);
        lock.unlock();
        postAll(progress);
        if (replyLength)
            *replyLength = 0;
        return 0;
    }
    return fail("Unknown command: " + text);
}

std::vector<Notification> Terminal::notificationsFor(std::initializer_list<std::uintptr_t> codes,
                                                     std::intptr_t values)
{
    std::vector<Notification> out;
    for (const std::uintptr_t code : codes)
        for (const auto& [id, s] : sessions_)
            if (s.window != 0)
                out.push_back({s.window, s.message, code, values});
    return out;
}

void Terminal::postAll(const std::vector<Notification>& notifications)
{
    for (const Notification& n : notifications)
        post_(n.window, n.message, n.code, n.values);
}

void Terminal::watch()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, std::chrono::milliseconds(50));
        if (stopping_)
            break;
        const CardFile::State now = CardFile::state(CardFile::path());
        if (now == known_)
            continue;
        // The library's own writes are known already: any other change of a present card is a new
        // insertion (a file removed and written again may well get its old inode back).
        const bool inserted = now.present;
        known_ = now;
        std::vector<Notification> out;
        // A new card is handed to the programs watching, locked until one of them unlocks it.
        CardFile::setLocked(false);
        if (inserted && now.size == off_t(CardFile::memorySize)) {
            out = notificationsFor({SCARD_CARD_WAIT, SCARD_CARD_DETECT, SCARD_CARD_VALID, SCARD_CARD_ACTIVE},
                                   0);
            CardFile::setLocked(!out.empty());
        } else if (inserted)
            out = notificationsFor({SCARD_CARD_WAIT, SCARD_CARD_DETECT, SCARD_CARD_INVALID}, 0);
        else if (!now.present)
            out = notificationsFor({SCARD_CARD_WAIT}, 0);
        lock.unlock();
        postAll(out);
        lock.lock();
    }
}

void Terminal::stopWatching()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (watcher_.joinable() && watcher_.get_id() != std::this_thread::get_id())
        watcher_.join();
}

// Destroyed when the library is unloaded: the watcher must not outlive its code.
Terminal terminal;

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t SCardComand(int32_t* session, const char* cmd,
                                                                      int32_t* cmdLen, const uint8_t* data,
                                                                      int32_t* dataLen, uint8_t* reply,
                                                                      int32_t* replyLen)
{
    if (!cmd)
        return 1;
    const std::size_t length = cmdLen && *cmdLen > 0 ? std::size_t(*cmdLen) : std::strlen(cmd);
    return terminal.command(session, std::string(cmd, length), data, dataLen ? *dataLen : 0, reply, replyLen);
}
