// The one-copy check in the browser: the page holds a Web Lock before it
// starts the program and stops it when another tab takes the game over, so
// inside the program no other copy ever answers.
#include "platform/posix/single_instance.h"

namespace platform::core::singleInstance {

void announce(std::wstring_view, std::wstring_view) {}
void withdraw() {}
bool someoneAnswers(std::wstring_view, std::wstring_view) { return false; }
bool askToRaise(std::wstring_view, std::wstring_view) { return false; }
void poll() {}
int listenerDescriptor() { return -1; }
int raiseRequests() { return 0; }
void setNamespace(std::string) {}

}  // namespace platform::core::singleInstance
