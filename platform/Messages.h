// The framework's message table: every message that the data layer and the
// window framework report, with its kind, title and text. Texts carry the
// placeholders "%File", "%ErrorText", "%Field" and "%Message".
#pragma once
#include <QString>

namespace ven {

enum class MessageKind { Question, Notice, Fatal };

struct Message {
    int number;
    MessageKind kind;
    const char* title;
    const char* text;
};

// The table entry with that number; nullptr when there is none.
const Message* findMessage(int number);

struct MessageArgs {
    QString file, errorText, field, message;
};

// The message's text with its placeholders filled; a fatal message gets
// "  Press OK to close this window." appended.
QString messageText(int number, const MessageArgs& args);
QString messageTitle(int number);

} // namespace ven
