// Key codes, shift masks, message-box styles and pointer numbers as the window logic uses them.
// Numbers only: windows store and compare these values, so they must never be renumbered.
#pragma once

#include "platform/numbered_error.h"

namespace tolvane::ui {

namespace key {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Decimal = 110;  // the keypad's decimal point
constexpr int Divide = 111;
constexpr int F1 = 112;
constexpr int F2 = 113;
constexpr int F3 = 114;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int Comma = 188;
constexpr int Period = 190;
}  // namespace key

namespace shift {
constexpr int None = 0;
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
}  // namespace shift

// Styles and answers of the plain message box.
namespace msgbox {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;

constexpr int AnswerOk = 1;
constexpr int AnswerCancel = 2;
constexpr int AnswerAbort = 3;
constexpr int AnswerRetry = 4;
constexpr int AnswerIgnore = 5;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
}  // namespace msgbox

namespace pointer {
constexpr int Default = 0;
constexpr int Arrow = 1;
constexpr int Hourglass = 11;
}  // namespace pointer

namespace check {
constexpr int Unchecked = 0;
constexpr int Checked = 1;
constexpr int Grayed = 2;
}  // namespace check

// Error numbers raised by the controls themselves, beside those of platform/numbered_error.h.
namespace uierr {
constexpr int InvalidPropertyValue = errnum::InvalidPropertyValue;
constexpr int PropertyReadOnly = 383;
constexpr int ElementMissing = errnum::NoSuchArrayElement;  // control array element does not exist
constexpr int MemberMissing = 438;  // object does not support this property or method
constexpr int PathNotFound = errnum::PathNotFound;
constexpr int DialogCancelled = 32755;
constexpr int IndexOutOfBounds = 35600;
constexpr int FormUnloaded = 364;  // object was unloaded
}  // namespace uierr

}  // namespace tolvane::ui
