#pragma once

// What the parameters window's boxes let the operator type, and Enter in a box.

#include <QLineEdit>
#include <functional>

namespace ombrel::app {

// What the operator types is filtered key by key; text the program puts in
// (a stored value) stays as it is, so the box can always be edited from it.

// No more than `maxLength` characters can be typed in all.
void limitTyping(QLineEdit* box, int maxLength);
// Only the digits 0 to 9 can be typed.
void acceptDigits(QLineEdit* box);
// Only the digits and "." can be typed: address boxes.
void acceptAddressCharacters(QLineEdit* box);

// Runs `handler` when Enter or Return is pressed in `box`; the key goes no
// further.
void onEnter(QLineEdit* box, std::function<void()> handler);

// Runs `handler` as the operator moves the focus out of `box` (Tab, Backtab
// or a click elsewhere), before the control clicked gets the click. Focus moved by the program or by another
// window coming up is not a leave, so a check that puts the focus back and
// shows a message box does not set off the next box's check.
void onLeave(QLineEdit* box, std::function<void()> handler);

}  // namespace ombrel::app
