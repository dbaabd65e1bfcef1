#include "platform/messages.h"

#include <cstdio>
#include <utility>

namespace Messages {
namespace {

Handler& current()
{
    static Handler handler;
    return handler;
}

Answer deliver(Kind kind, const QString& text)
{
    if (current())
        return current()(kind, text);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return kind == Kind::Question || kind == Kind::InformationQuestion || kind == Kind::RetryQuestion
               ? Answer::No
               : Answer::Ok;
}

} // namespace

Handler setHandler(Handler handler)
{
    return std::exchange(current(), std::move(handler));
}

void information(const QString& text)
{
    deliver(Kind::Information, text);
}
void warning(const QString& text)
{
    deliver(Kind::Warning, text);
}
void error(const QString& text)
{
    deliver(Kind::Error, text);
}
bool ask(const QString& text, Icon icon)
{
    return deliver(icon == Icon::Information ? Kind::InformationQuestion : Kind::Question, text) ==
           Answer::Yes;
}

bool retry(const QString& text)
{
    return deliver(Kind::RetryQuestion, text) == Answer::Yes;
}

} // namespace Messages
