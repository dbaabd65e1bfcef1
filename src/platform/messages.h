#pragma once

#include <QString>

#include <functional>

// Every message box and Yes/No question of the program passes through here, so that the
// windows show them and tests read and answer them without a screen.
namespace Messages {

// InformationQuestion: a Yes/No question shown with the information icon instead of the question
// mark, where a window names that icon for it. RetryQuestion: an error offering "Retry" (answered
// Yes) and "Quit" (answered No).
enum class Kind { Information, Warning, Error, Question, InformationQuestion, RetryQuestion };
// The icon a Yes/No question shows.
enum class Icon { Question, Information };
enum class Answer { Ok, Yes, No };

using Handler = std::function<Answer(Kind kind, const QString& text)>;

// Installs the handler and returns the one it replaces. Without a handler the text goes to
// stderr and questions are answered No.
Handler setHandler(Handler handler);

void information(const QString& text);
void warning(const QString& text);
void error(const QString& text);
// True only when the answer is Yes.
bool ask(const QString& text, Icon icon = Icon::Question);
// An error that may pass: true for "Retry", false for "Quit" (and without a handler).
bool retry(const QString& text);

} // namespace Messages
