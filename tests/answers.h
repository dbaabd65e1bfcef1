#pragma once

#include "platform/messages.h"

#include <QStringList>

// Answers every message and question of the program while it lives, keeping their texts in order;
// questions get `answer`.
struct Answers {
    QStringList asked;
    QList<Messages::Kind> kinds; // of everything asked, in order
    Messages::Answer answer = Messages::Answer::No;

    Answers()
    {
        Messages::setHandler([this](Messages::Kind kind, const QString& text) {
            asked << text;
            kinds << kind;
            return answer;
        });
    }
    ~Answers() { Messages::setHandler({}); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
};
