// What model mode tells its user. Each message goes to standard error as one
// line, the program's name, ": " and the text, in the console's encoding, and is kept for
// the window to show: a user who opened the model from a file manager never
// sees the terminal. A message shows for ten seconds; the last failure to
// read the model shows until the next good read.
#pragma once

#include <string>
#include <vector>

enum class MessageKind { Notice, ReadFailure };

// The name that starts each line on standard error: "varnel" unless a tool
// of its own says otherwise.
void nameProgram(const char* program);
// `text` in UTF-8, without the program's name before it or a line feed
// after.
void tellUser(const std::string& text, MessageKind kind = MessageKind::Notice);
// The model was read: its last failure need show no more.
void forgetReadFailure();

struct ShownMessage {
    std::string text;
    bool failure = false;
};

// What the window shows now: the messages of the last ten seconds in the
// order they came, and the last read failure among them however old.
std::vector<ShownMessage> messagesToShow();
