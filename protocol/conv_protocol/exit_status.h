#pragma once

// How a run of the converter ended. A run ended by a signal has no status of its own.
namespace conv_protocol {

inline constexpr int kExitConverted = 0;
// The reason is the last message line.
inline constexpr int kExitFailed = 1;
// The arguments were refused before anything was read or written.
inline constexpr int kExitBadArguments = 2;
// The input was damaged or short: the output holds what could be read, and each loss is a
// warning message. Warnings come with this status only.
inline constexpr int kExitConvertedWithWarnings = 3;

} // namespace conv_protocol
