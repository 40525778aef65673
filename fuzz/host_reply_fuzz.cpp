// What the wizard reads from a registration host, which may be made to write anything: any bytes,
// arriving in any chunks. The line buffer gives the same lines however the bytes are cut, exactly
// the complete lines of the stream, with those longer than its limit dropped. Every line decodes
// as at most one kind of line (the first field names it); a line that decodes re-encodes to one
// line that decodes to the same request or reply (numbers written with leading zeros are not kept
// as written, so the line itself need not come back); a reply names only a kind or state a host
// finds out by itself, and a provider reply carries the request's ProgID and essential flag.
//
// Input: a byte whose low three bits give the number of chunk lengths that follow (0: the stream
// in one piece), those lengths (a byte each, used in turn), a byte whose top bit puts a run of
// kMaxLine - 2 to kMaxLine + 1 'x' (the low two bits) before the stream, in one piece, so that
// the first line straddles the limit, then the stream the host writes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "repair/host_protocol.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

const CheckRequest kRequest = {1, "ADODB.Connection", "{00000514-0000-0010-8000-00AA006D2EA4}",
                               true};

bool IsHostKind(RegistrationResult result) {
    using R = RegistrationResult;
    return result == R::Registered || result == R::NotLoaded || result == R::NoEntryPoint ||
           result == R::CallFailed || result == R::NotCreated;
}

bool IsHostState(ProviderState state) {
    using S = ProviderState;
    return state == S::Works || state == S::NoProgId || state == S::NoClass ||
           state == S::LibraryMissing || state == S::NotCreated;
}

// One line that ends in "\n", without it.
std::string_view OneLine(const std::string& encoded) {
    Check(!encoded.empty() && encoded.find('\n') == encoded.size() - 1);
    return std::string_view(encoded).substr(0, encoded.size() - 1);
}

bool SameCheck(const ProviderCheck& a, const ProviderCheck& b) {
    return a.ProgId == b.ProgId && a.Clsid == b.Clsid && a.Library == b.Library &&
           a.ThreadingModel == b.ThreadingModel && a.State == b.State && a.Status == b.Status &&
           a.Essential == b.Essential;
}

void DecodeLine(std::string_view line) {
    const auto request = DecodeRequest(line);
    const auto reply = DecodeReply(line);
    const auto checkRequest = DecodeCheckRequest(line);
    const auto checkReply = DecodeCheckReply(line, kRequest);
    Check(request.has_value() + reply.has_value() + checkRequest.has_value() +
              checkReply.has_value() <=
          1);
    if (request)
        Check(DecodeRequest(OneLine(EncodeRequest(*request))) == request);
    if (reply) {
        Check(IsHostKind(reply->Result));
        Check(DecodeReply(OneLine(EncodeReply(*reply))) == reply);
    }
    if (checkRequest)
        Check(DecodeCheckRequest(OneLine(EncodeCheckRequest(*checkRequest))) == checkRequest);
    if (checkReply) {
        Check(IsHostState(checkReply->Check.State));
        Check(checkReply->Check.ProgId == kRequest.ProgId &&
              checkReply->Check.Essential == kRequest.Essential);
        const auto again = DecodeCheckReply(OneLine(EncodeCheckReply(*checkReply)), kRequest);
        Check(again && again->Sequence == checkReply->Sequence &&
              SameCheck(again->Check, checkReply->Check));
    }
}

// The complete lines of `stream`, as the buffer must give them.
std::vector<std::string> ExpectedLines(const std::string& stream) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = stream.find('\n'); end != std::string::npos;
         start = end + 1, end = stream.find('\n', start)) {
        if (end - start <= LineBuffer::kMaxLine)
            lines.push_back(stream.substr(start, end - start));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::vector<uint8_t> chunks = in.Bytes(in.Byte() % 8);
    const uint8_t padding = in.Byte();
    std::string stream;
    if (padding & 0x80)
        stream.assign(LineBuffer::kMaxLine - 2 + (padding & 3), 'x');
    // The run goes in whole: cut into small pieces it would make each run slow.
    const size_t run = stream.size();
    const std::vector<uint8_t> rest = in.Rest();
    stream.append(rest.begin(), rest.end());

    LineBuffer buffer;
    std::vector<std::string> lines;
    const auto take = [&] {
        while (auto line = buffer.NextLine())
            lines.push_back(std::move(*line));
    };
    buffer.Append(stream.data(), run);
    for (size_t at = run, turn = 0; at < stream.size(); ++turn) {
        const size_t piece = chunks.empty() ? stream.size() : chunks[turn % chunks.size()];
        // A length of 0 appends nothing on every other turn only, so that lengths of 0 alone
        // still get through the stream.
        const size_t n = std::min(stream.size() - at, std::max<size_t>(piece, turn & 1));
        buffer.Append(stream.data() + at, n);
        at += n;
        take();
    }
    take();
    Check(lines == ExpectedLines(stream));

    for (const std::string& line : lines)
        DecodeLine(line);
    return 0;
}
