#pragma once

#include <QString>
#include <QtGlobal>

// The program installs no error handling of its own: a failing runtime operation is reported to
// the user and ends the program, with a non-zero exit status.
[[noreturn]] void raiseRuntimeError(int number, const QString &description);

namespace RuntimeError {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int ElementDoesNotExist = 340;
inline constexpr int ObjectAlreadyLoaded = 360;
inline constexpr int InvalidPropertyValue = 380;
} // namespace RuntimeError

// Narrows to the program's 16-bit Integer, raising an overflow error when the value does not fit.
qint16 toInteger(int value);
