#pragma once
// String IDs of the window on which programs can open databases (both languages, in the string
// table).
#include <cstdint>

namespace databases_text {
inline constexpr uint16_t kCaption = 360;
inline constexpr uint16_t kOpenButton = 361; // the main window's button that opens it
inline constexpr uint16_t kAnswer = 362;
inline constexpr uint16_t kInventory = 363;
inline constexpr uint16_t kProgram = 364;
inline constexpr uint16_t kChooseProgram = 365;
inline constexpr uint16_t kCopy = 366;
inline constexpr uint16_t kClose = 367;
inline constexpr uint16_t kColumnComponent = 368;
inline constexpr uint16_t kColumnType = 369;
inline constexpr uint16_t kColumnState = 370;
inline constexpr uint16_t kProviderType = 371; // [1] bits
inline constexpr uint16_t kDriverType = 372;   // [1] bits [2] engine
inline constexpr uint16_t kSystemSource = 373; // [1] bits
inline constexpr uint16_t kUserSource = 374;   // [1] account
inline constexpr uint16_t kSourceDriver = 375; // [1] driver
inline constexpr uint16_t kProgramFilter = 376;
inline constexpr uint16_t kAllFilter = 377;
inline constexpr uint16_t kCopyFailed = 378;
} // namespace databases_text
