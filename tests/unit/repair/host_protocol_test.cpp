// The lines between the wizard and its registration host: what survives the trip, what is refused,
// how a stream is cut into lines, and what the end of a host means.
#include <gtest/gtest.h>

#include "repair/host_protocol.h"

namespace {

using R = RegistrationResult;

struct RequestCase {
    const char* Name;
    HostRequest Request;
};

void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.Name;
}

class RequestRoundTrip : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestRoundTrip, OneLineThatDecodesToTheSameRequest) {
    const std::string line = EncodeRequest(GetParam().Request);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line only";
    EXPECT_EQ(line.find('\r'), std::string::npos);
    const auto decoded = DecodeRequest(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(decoded.has_value()) << line;
    EXPECT_EQ(*decoded, GetParam().Request);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RequestRoundTrip,
    ::testing::Values(RequestCase{"ShortPath",
                                  {1, "C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSADO15.DLL",
                                   "DllRegisterServer", "MSADO15.DLL"}},
                      RequestCase{"SpacesAndUtf8",
                                  {7, "C:\\Programme\\Gemeinsame Dateien\\Ölfeld\\ü.dll",
                                   "DllRegisterServer", "ü.dll"}},
                      RequestCase{"TabsBreaksAndBackslashes",
                                  {4294967295u, "a\tb\nc\rd\\e\\\\", "\\t", "x\\ty\t"}},
                      RequestCase{"EscapeLookalikes",
                                  {2, "\\\\server\\share\\n\\t.dll", "Dll", "\\n"}},
                      RequestCase{"EmptyFields", {0, "", "", ""}},
                      RequestCase{"TrailingBackslash", {3, "C:\\", "e\\", "\\"}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct ReplyCase {
    const char* Name;
    HostReply Reply;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.Name;
}

class ReplyRoundTrip : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyRoundTrip, OneLineThatDecodesToTheSameReply) {
    const std::string line = EncodeReply(GetParam().Reply);
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const auto decoded = DecodeReply(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(decoded.has_value()) << line;
    EXPECT_EQ(*decoded, GetParam().Reply);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyRoundTrip,
    ::testing::Values(
        ReplyCase{"Registered", {1, R::Registered, 0, 0}},
        ReplyCase{"RegisteredWithSFalse", {2, R::Registered, 0, 1}},
        ReplyCase{"NotLoaded", {3, R::NotLoaded, 126, 0}},
        ReplyCase{"NoEntryPoint", {4, R::NoEntryPoint, 127, 0}},
        ReplyCase{"CallFailed", {5, R::CallFailed, 0, static_cast<int32_t>(0x80004005u)}},
        ReplyCase{"SmallestStatus", {6, R::CallFailed, 0, INT32_MIN}},
        ReplyCase{"NotCreated", {7, R::NotCreated, 0, static_cast<int32_t>(0x8007000Eu)}},
        ReplyCase{"LargestNumbers", {4294967295u, R::NotLoaded, 4294967295u, -1}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HostProtocol, ReplyLineIsPlainText) {
    EXPECT_EQ(EncodeReply({12, R::CallFailed, 0, static_cast<int32_t>(0x80004005u)}),
              "result\t12\tcall-failed\t0\t2147500037\n");
    EXPECT_EQ(EncodeRequest({3, "C:\\a\tb.dll", "DllRegisterServer", "b.dll"}),
              "register\t3\tC:\\\\a\\tb.dll\tDllRegisterServer\tb.dll\n");
}

struct BadLine {
    const char* Name;
    std::string Line;
};

void PrintTo(const BadLine& c, std::ostream* os) {
    *os << c.Name;
}

class RefusedRequest : public ::testing::TestWithParam<BadLine> {};

TEST_P(RefusedRequest, DecodesToNothing) {
    EXPECT_FALSE(DecodeRequest(GetParam().Line).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequest,
    ::testing::Values(BadLine{"Empty", ""}, BadLine{"VerbOnly", "register"},
                      BadLine{"TooFewFields", "register\t1\tC:\\a.dll\tDllRegisterServer"},
                      BadLine{"TooManyFields", "register\t1\ta\tb\tc\td"},
                      BadLine{"OtherVerb", "result\t1\ta\tb\tc"},
                      BadLine{"VerbInOtherCase", "REGISTER\t1\ta\tb\tc"},
                      BadLine{"NoSequence", "register\t\ta\tb\tc"},
                      BadLine{"SignedSequence", "register\t-1\ta\tb\tc"},
                      BadLine{"SequenceTooLarge", "register\t4294967296\ta\tb\tc"},
                      BadLine{"SequenceWithSpace", "register\t 1\ta\tb\tc"},
                      BadLine{"UnknownEscape", "register\t1\tC:\\x.dll\tb\tc"},
                      BadLine{"LoneBackslashAtEnd", "register\t1\ta\tb\tc\\"}),
    [](const auto& info) { return std::string(info.param.Name); });

class RefusedReply : public ::testing::TestWithParam<BadLine> {};

TEST_P(RefusedReply, DecodesToNothing) {
    EXPECT_FALSE(DecodeReply(GetParam().Line).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RefusedReply,
    ::testing::Values(BadLine{"Empty", ""}, BadLine{"LibraryChatter", "Registering MSADO15..."},
                      BadLine{"TooFewFields", "result\t1\tregistered\t0"},
                      BadLine{"TooManyFields", "result\t1\tregistered\t0\t0\t0"},
                      BadLine{"UnknownKind", "result\t1\tdone\t0\t0"},
                      // Only the parent finds these out; a host never reports them.
                      BadLine{"CrashedFromTheHost", "result\t1\tcrashed\t0\t0"},
                      BadLine{"StatusTooLarge", "result\t1\tregistered\t0\t4294967296"},
                      BadLine{"NegativeStatus", "result\t1\tcall-failed\t0\t-2147467259"},
                      BadLine{"HexStatus", "result\t1\tcall-failed\t0\t0x80004005"},
                      BadLine{"TrailingCarriageReturn", "result\t1\tregistered\t0\t0\r"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HostProtocol, OutcomeOfAReplyKeepsItsNumbersAndTakesTheName) {
    const RegistrationOutcome o = OutcomeOf({9, R::NoEntryPoint, 127, 5}, "MSDAPRST.DLL");
    EXPECT_EQ(o.DisplayName, "MSDAPRST.DLL");
    EXPECT_EQ(o.Result, R::NoEntryPoint);
    EXPECT_EQ(o.LastError, 127u);
    EXPECT_EQ(o.Status, 5);
}

struct ExitCase {
    uint32_t ExitCode;
    RegistrationResult Result;
    int32_t Status;
};

class HostEnded : public ::testing::TestWithParam<ExitCase> {};

TEST_P(HostEnded, ExceptionCodesAreCrashesAnythingElseAnEnd) {
    const RegistrationOutcome o = HostEndedOutcome(GetParam().ExitCode, "X.DLL");
    EXPECT_EQ(o.DisplayName, "X.DLL");
    EXPECT_EQ(o.Result, GetParam().Result);
    EXPECT_EQ(o.Status, GetParam().Status);
    EXPECT_EQ(o.LastError, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    ExitCodes, HostEnded,
    ::testing::Values(
        ExitCase{0xC0000005u, R::Crashed, static_cast<int32_t>(0xC0000005u)}, // access violation
        ExitCase{0xC00000FDu, R::Crashed, static_cast<int32_t>(0xC00000FDu)}, // stack overflow
        ExitCase{0x80000003u, R::Crashed, static_cast<int32_t>(0x80000003u)}, // breakpoint
        ExitCase{0xE06D7363u, R::Crashed, static_cast<int32_t>(0xE06D7363u)}, // C++ exception
        ExitCase{0u, R::EndedProcess, 0}, ExitCase{1u, R::EndedProcess, 0},
        ExitCase{259u, R::EndedProcess, 0}, // STILL_ACTIVE as an exit code
        ExitCase{0x7FFFFFFFu, R::EndedProcess, 0}));

TEST(LineBuffer, LinesComeOutWholeHoweverTheBytesArrive) {
    const std::string stream = "first\nsecond line\n\nlast";
    for (size_t chunk = 1; chunk <= stream.size(); ++chunk) {
        LineBuffer buffer;
        std::vector<std::string> lines;
        for (size_t at = 0; at < stream.size(); at += chunk) {
            const size_t n = std::min(chunk, stream.size() - at);
            buffer.Append(stream.data() + at, n);
            while (auto line = buffer.NextLine())
                lines.push_back(*line);
        }
        EXPECT_EQ(lines, (std::vector<std::string>{"first", "second line", ""})) << chunk;
        buffer.Append("\n", 1);
        EXPECT_EQ(buffer.NextLine(), std::optional<std::string>("last")) << chunk;
        EXPECT_FALSE(buffer.NextLine().has_value());
    }
}

TEST(LineBuffer, AnOverlongLineIsDroppedAndTheNextOneKept) {
    LineBuffer buffer;
    const std::string tooLong(LineBuffer::kMaxLine + 1, 'x');
    buffer.Append(tooLong.data(), tooLong.size());
    buffer.Append("yyy", 3); // still the same line
    EXPECT_FALSE(buffer.NextLine().has_value());
    buffer.Append("\nresult\n", 8);
    EXPECT_EQ(buffer.NextLine(), std::optional<std::string>("result"));
    EXPECT_FALSE(buffer.NextLine().has_value());

    const std::string longest(LineBuffer::kMaxLine, 'z');
    buffer.Append(longest.data(), longest.size());
    buffer.Append("\n", 1);
    const auto kept = buffer.NextLine();
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->size(), LineBuffer::kMaxLine);
}

} // namespace
