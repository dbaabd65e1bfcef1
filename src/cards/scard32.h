/* The contract between the program and a chip-card terminal library (libscard32.so).
 *
 * The library exports SCardComand: text commands in, text or byte replies out; a result greater
 * than 0 is a failure, whose text the command "System,Info,ErrText," returns. It notifies the
 * program by calling PostMessage, which the program's executable exports; a library may call it
 * from any thread. The program queues the message to its user-interface thread and delivers it to
 * the hidden message window registered with "System,AddHWndMsg,<window>,1134" (the window handle an
 * unsigned integer in decimal). PostMessage returns non-zero when the handle is known.
 *
 * Plain C, so that any library honouring it serves. */
#ifndef COURTORIA_SCARD32_H
#define COURTORIA_SCARD32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SCARD_LIBRARY_FILE "libscard32.so"
#define SCARD_ENTRY_POINT "SCardComand"
#define SCARD_NOTIFY_MESSAGE 1134u

/* Event codes, the message's first parameter. The second packs small values into its four bytes,
 * byte 0 the lowest: byte 0 the terminal index, byte 2 a task index or a progress, byte 3 the
 * search progress. */
enum {
    SCARD_TERMINAL_ERROR = 100,
    SCARD_CARD_WAIT = 110,
    SCARD_CARD_DETECT = 120,
    SCARD_CARD_INVALID = 130,
    SCARD_CARD_VALID = 140,
    SCARD_CARD_ACTIVE = 150,
    SCARD_CARD_LOCKED = 160,
    SCARD_PROGRESS = 200,
    SCARD_DEVICE_LIST_CHANGE = 300,
    SCARD_DEVICE_SEARCH = 301,
    SCARD_TASK_LIST_CHANGE = 310,
    SCARD_CARD_INFO_CHANGE = 320
};

/* session: in -1 at registration, out the new handle (at least 1). cmdLen 0: cmd ends with a 0x00
 * byte. replyLen: in the reply buffer's capacity, out the number of reply bytes. */
typedef int32_t (*SCardComandFunction)(int32_t* session, const char* cmd, int32_t* cmdLen,
                                       const uint8_t* data, int32_t* dataLen, uint8_t* reply,
                                       int32_t* replyLen);

int32_t SCardComand(int32_t* session, const char* cmd, int32_t* cmdLen, const uint8_t* data, int32_t* dataLen,
                    uint8_t* reply, int32_t* replyLen);

typedef int (*PostMessageFunction)(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

int PostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

#ifdef __cplusplus
}
#endif

#endif
