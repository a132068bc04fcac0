// The Windows error numbers the program and its services speak of, by name:
// the services report the system's numbers, and the native and fake services
// report the same ones for the same failures.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t errorFileNotFound = 2;
inline constexpr std::uint32_t errorPathNotFound = 3;
inline constexpr std::uint32_t errorTooManyOpenFiles = 4;
inline constexpr std::uint32_t errorAccessDenied = 5;
inline constexpr std::uint32_t errorInvalidHandle = 6;
inline constexpr std::uint32_t errorNotEnoughMemory = 8;
inline constexpr std::uint32_t errorGenFailure = 31;
inline constexpr std::uint32_t errorSharingViolation = 32;
inline constexpr std::uint32_t errorHandleEof = 38;
inline constexpr std::uint32_t errorInvalidParameter = 87;
inline constexpr std::uint32_t errorInsufficientBuffer = 122;
inline constexpr std::uint32_t errorNoMoreItems = 259;

} // namespace platform
