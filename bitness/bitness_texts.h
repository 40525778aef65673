#pragma once
// String IDs of the answer "which programs can open databases here" (both languages, in the
// string table). Values go in as numbered placeholders [1:*], [2:*], ...
#include <cstdint>

namespace bitness_text {
inline constexpr uint16_t kTitle = 261;
inline constexpr uint16_t kWindows64 = 262;
inline constexpr uint16_t kWindows32 = 263;
inline constexpr uint16_t kPrograms = 264; // [1] bits
inline constexpr uint16_t kRouteYes = 265; // [1] .ext [2] API [3] via [4] evidence
inline constexpr uint16_t kRouteNo = 266;  // [1] .ext [2] API [3] why and remedy
inline constexpr uint16_t kCreated = 267;
inline constexpr uint16_t kChecked = 268;   // [1] bits
inline constexpr uint16_t kNothing = 269;   // [1] bits
inline constexpr uint16_t kOtherBits = 270; // [1] bits of the other
inline constexpr uint16_t kOnlyC2R = 271;
inline constexpr uint16_t kFileMissing = 272;     // [1] via [2] path
inline constexpr uint16_t kWrongImage = 273;      // [1] via [2] bits [3] path
inline constexpr uint16_t kNotCreated = 274;      // [1] via [2] HRESULT
inline constexpr uint16_t kDriverNowhere = 275;   // [1] driver
inline constexpr uint16_t kDriverOtherBits = 276; // [1] driver [2] bits of the other
inline constexpr uint16_t kSourceOtherView = 277; // [1] bits of its view [2] bits
// Remedies, in the order of Remedy from RunAs32Bit.
inline constexpr uint16_t kRemedies = 278;     // 278..286; [1] bits [2] a path or name
inline constexpr uint16_t kSourceYes = 287;    // [1] name [2] kind [3] driver
inline constexpr uint16_t kSourceNo = 288;     // [1] name [2] kind [3] why and remedy
inline constexpr uint16_t kSystemSource = 289; // [1] bits of its view
inline constexpr uint16_t kUserSource = 290;   // [1] account
inline constexpr uint16_t kJet64 = 291;
inline constexpr uint16_t kInventory = 292;
inline constexpr uint16_t kView = 293;         // [1] bits
inline constexpr uint16_t kProviderLine = 294; // [1] ProgID [2] state
inline constexpr uint16_t kDriverLine = 295;   // [1] name [2] engine [3] state
inline constexpr uint16_t kStateNotRegistered = 296;
inline constexpr uint16_t kStateFileMissing = 297; // [1] path
inline constexpr uint16_t kStateWrongImage = 298;  // [1] path
inline constexpr uint16_t kStatePresent = 299;     // [1] path [2] bits
inline constexpr uint16_t kUserSources = 300;      // [1] account
inline constexpr uint16_t kSourceLine = 301;       // [1] name [2] driver
inline constexpr uint16_t kNoOffice = 302;
inline constexpr uint16_t kOfficeC2R = 303;       // [1] version [2] bits [3] products
inline constexpr uint16_t kOfficeInstalled = 304; // [1] version [2] bits
inline constexpr uint16_t kAceOnlyC2R = 305;      // [1] ProgIDs
inline constexpr uint16_t kOdbcRests = 306;
inline constexpr uint16_t kNone = 307;
inline constexpr uint16_t kOtherEngine = 308;
inline constexpr uint16_t kProgram = 309;      // [1] path
inline constexpr uint16_t kRunsAs = 310;       // [1] bits
inline constexpr uint16_t kCanOpen = 311;      // [1] ext [2] via [3] bits
inline constexpr uint16_t kCanOpenOdbc = 312;  // [1] ext [2] driver [3] bits
inline constexpr uint16_t kCannotOpen = 313;   // [1] ext [2] why and remedy
inline constexpr uint16_t kNoFile = 314;       // [1] path
inline constexpr uint16_t kNotAProgram = 315;  // [1] path
inline constexpr uint16_t kDamaged = 316;      // [1] path
inline constexpr uint16_t kLibrary = 317;      // [1] path
inline constexpr uint16_t kOtherMachine = 318; // [1] path [2] machine
inline constexpr uint16_t kBadNeeds = 319;     // [1] value
inline constexpr uint16_t kNeedsWithoutProgram = 320;
inline constexpr uint16_t kStateUnreadable = 321;   // [1] path
inline constexpr uint16_t kUnreadable = 322;        // [1] via [2] path
inline constexpr uint16_t kProgramUnreadable = 323; // [1] path [2] error
} // namespace bitness_text
