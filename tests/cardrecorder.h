#pragma once

#include "cards/scard32.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstring>

// An entry point that keeps every command it is given and answers from a table: enough to watch
// what the component sends, without a library.
struct Recorder {
    QList<QByteArray> commands;
    QList<bool> dataWasNull;
    std::int32_t registration = 0; // result of System,AddHWndMsg
    std::int32_t session = 7;
    QHash<QByteArray, QByteArray> replies;
    QByteArray failing; // this command fails
    QByteArray errorText;
};
inline Recorder* recorder = nullptr;

inline std::int32_t recordingEntry(std::int32_t* session, const char* cmd, std::int32_t* cmdLen,
                                   const std::uint8_t* data, std::int32_t* dataLen, std::uint8_t* reply,
                                   std::int32_t* replyLen)
{
    const QByteArray command = *cmdLen > 0 ? QByteArray(cmd, *cmdLen) : QByteArray(cmd);
    recorder->commands << command;
    recorder->dataWasNull << (data == nullptr && *dataLen == 0);
    QByteArray answer;
    std::int32_t result = 0;
    if (command.startsWith("System,AddHWndMsg,")) {
        *session = recorder->session;
        result = recorder->registration;
    } else if (command == "System,Info,ErrText,") {
        answer = recorder->errorText;
    } else if (command == recorder->failing) {
        result = 3;
    } else {
        answer = recorder->replies.value(command);
    }
    const int n = replyLen ? std::min<int>(*replyLen, int(answer.size())) : 0;
    if (reply && n > 0)
        std::memcpy(reply, answer.constData(), std::size_t(n));
    if (replyLen)
        *replyLen = n;
    return result;
}
