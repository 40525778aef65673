#pragma once
// String IDs of the console companion's texts (both languages, in the string table).
#include <cstdint>

namespace cli_text {
inline constexpr uint16_t kUsage = 200;
inline constexpr uint16_t kUnknownArgument = 201; // [*] the argument
inline constexpr uint16_t kMissingValue = 202;    // [*] the option
inline constexpr uint16_t kRepeatedOption = 203;  // [*] the option
inline constexpr uint16_t kNoCommand = 204;
inline constexpr uint16_t kProgramVersion = 205;
inline constexpr uint16_t kWindowsVersion = 206;
inline constexpr uint16_t kWindowsClass = 207;
inline constexpr uint16_t kUserLanguage = 208;
inline constexpr uint16_t kFullInstallVer = 209;
inline constexpr uint16_t kJetLibrary = 210;
inline constexpr uint16_t kJetBuild = 211;
inline constexpr uint16_t kAdvisedPage = 212;
inline constexpr uint16_t kNoAdvisedPage = 213;
inline constexpr uint16_t kComponents = 214; // [*] the number of libraries
inline constexpr uint16_t kColumnMark = 215;
inline constexpr uint16_t kColumnListed = 216;
inline constexpr uint16_t kColumnRegistered = 217;
inline constexpr uint16_t kMatches = 218;
inline constexpr uint16_t kDiffers = 219;
inline constexpr uint16_t kYes = 220;
inline constexpr uint16_t kNo = 221;
inline constexpr uint16_t kResultUpToDate = 222;
inline constexpr uint16_t kResultAttention = 223;
inline constexpr uint16_t kMismatchedCount = 224;
inline constexpr uint16_t kRegistered = 225;
inline constexpr uint16_t kSkipped = 226;
inline constexpr uint16_t kNotPresent = 227;
inline constexpr uint16_t kFailed = 228; // [*] the reason
inline constexpr uint16_t kFailedCount = 229;
inline constexpr uint16_t kNotElevated = 230;
inline constexpr uint16_t kFileNotWritten = 231; // [*] the file
inline constexpr uint16_t kEnglish = 232;
inline constexpr uint16_t kGerman = 233;
// The names of the Windows version classes 0 (unknown) to 8 follow each other.
inline constexpr uint16_t kWindowsClassNames = 234;
inline constexpr uint16_t kInternalError = 243; // [*] the error's description
inline constexpr uint16_t kMissing = 244;
inline constexpr uint16_t kMissingCount = 245; // [*] the number of listed files
inline constexpr uint16_t kProviders = 253;    // [*] the number of classes
inline constexpr uint16_t kColumnProgId = 254;
inline constexpr uint16_t kColumnEssential = 255;
inline constexpr uint16_t kColumnState = 256;
inline constexpr uint16_t kColumnThreading = 257;
inline constexpr uint16_t kColumnClsid = 258;
inline constexpr uint16_t kColumnLibrary = 259;
inline constexpr uint16_t kFailingProviders = 260; // [*] the number of essential classes
inline constexpr uint16_t kNotAttempted = 324;
inline constexpr uint16_t kInterrupted = 325; // [*] the number of libraries not attempted
// --summary: the outcome, then the parts that name what failed.
inline constexpr uint16_t kSummaryUpToDate = 332;      // [1] MDAC's version [2] Jet's
inline constexpr uint16_t kSummaryAttention = 333;     //
inline constexpr uint16_t kSummaryMdacOld = 334;       // [*] the version
inline constexpr uint16_t kSummaryJetOld = 335;        // [*] the version
inline constexpr uint16_t kSummaryDiffers = 336;       // [*] the files
inline constexpr uint16_t kSummaryMissing = 337;       // [*] the files
inline constexpr uint16_t kSummaryProviders = 338;     // [*] the providers with their reasons
inline constexpr uint16_t kSummaryMore = 339;          // [*] how many more
inline constexpr uint16_t kExcludeEachOther = 340;     // [*] the other option
inline constexpr uint16_t kSummaryRepaired = 341;      // [*] the number registered
inline constexpr uint16_t kSummaryRepairFailed = 342;  //
inline constexpr uint16_t kSummaryNotRegistered = 343; // [*] the libraries with their reasons
inline constexpr uint16_t kSummaryInterrupted = 344;   // [*] the number not attempted
// --event-log.
inline constexpr uint16_t kSourceNotRegistered = 345;
inline constexpr uint16_t kEventNotWritten = 346;
// install and uninstall.
inline constexpr uint16_t kInstalled = 347;    // [*] the installed copy
inline constexpr uint16_t kNotInstalled = 348; // [*] what could not be written
inline constexpr uint16_t kUninstalled = 349;
inline constexpr uint16_t kUninstalledAtRestart = 350;
inline constexpr uint16_t kNotRemoved = 351; // [*] what could not be removed
inline constexpr uint16_t kNoProgramFiles = 352;
inline constexpr uint16_t kInstallNotElevated = 353;
} // namespace cli_text
