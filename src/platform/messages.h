#pragma once

#include <QString>

#include <functional>

// Every message box and Yes/No question of the program passes through here, so that the
// windows show them and tests read and answer them without a screen.
namespace Messages {

enum class Kind { Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No };

using Handler = std::function<Answer(Kind kind, const QString& text)>;

// Installs the handler and returns the one it replaces. Without a handler the text goes to
// stderr and questions are answered No.
Handler setHandler(Handler handler);

void information(const QString& text);
void warning(const QString& text);
void error(const QString& text);
// True only when the answer is Yes.
bool ask(const QString& text);

} // namespace Messages
