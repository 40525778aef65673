#include "repair/host_protocol.h"

#include <array>
#include <vector>

namespace {

constexpr std::string_view kRequestVerb = "register";
constexpr std::string_view kReplyVerb = "result";

struct KindName {
    RegistrationResult Result;
    std::string_view Name;
};

// The kinds a host reports; the others are the parent's own findings about the host.
constexpr std::array<KindName, 5> kReplyKinds = {{
    {RegistrationResult::Registered, "registered"},
    {RegistrationResult::NotLoaded, "not-loaded"},
    {RegistrationResult::NoEntryPoint, "no-entry-point"},
    {RegistrationResult::CallFailed, "call-failed"},
    {RegistrationResult::NotCreated, "not-created"},
}};

constexpr std::string_view kCheckVerb = "check";
constexpr std::string_view kProviderVerb = "provider";

struct StateName {
    ProviderState State;
    std::string_view Name;
};

// The states a host reports; the others are the parent's own findings about the host.
constexpr std::array<StateName, 5> kCheckStates = {{
    {ProviderState::Works, "works"},
    {ProviderState::NoProgId, "no-progid"},
    {ProviderState::NoClass, "no-class"},
    {ProviderState::LibraryMissing, "library-missing"},
    {ProviderState::NotCreated, "not-created"},
}};

void AppendEscaped(std::string& out, std::string_view field) {
    for (char c : field) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

std::optional<std::string> Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t at = line.find('\t'); at != std::string_view::npos; at = line.find('\t', start)) {
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

} // namespace

std::string EncodeRequest(const HostRequest& request) {
    std::string line(kRequestVerb);
    line += '\t';
    line += std::to_string(request.Sequence);
    for (const std::string* field : {&request.Path, &request.EntryName, &request.DisplayName}) {
        line += '\t';
        AppendEscaped(line, *field);
    }
    line += '\n';
    return line;
}

std::string EncodeReply(const HostReply& reply) {
    std::string_view kind = "not-loaded";
    for (const KindName& k : kReplyKinds)
        if (k.Result == reply.Result)
            kind = k.Name;
    std::string line(kReplyVerb);
    line += '\t';
    line += std::to_string(reply.Sequence);
    line += '\t';
    line += kind;
    line += '\t';
    line += std::to_string(reply.LastError);
    line += '\t';
    line += std::to_string(static_cast<uint32_t>(reply.Status));
    line += '\n';
    return line;
}

std::optional<HostRequest> DecodeRequest(std::string_view line) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 5 || fields[0] != kRequestVerb)
        return std::nullopt;
    const std::optional<uint32_t> sequence = ParseNumber(fields[1]);
    std::optional<std::string> path = Unescape(fields[2]);
    std::optional<std::string> entry = Unescape(fields[3]);
    std::optional<std::string> display = Unescape(fields[4]);
    if (!sequence || !path || !entry || !display)
        return std::nullopt;
    return HostRequest{*sequence, std::move(*path), std::move(*entry), std::move(*display)};
}

std::optional<HostReply> DecodeReply(std::string_view line) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 5 || fields[0] != kReplyVerb)
        return std::nullopt;
    const std::optional<uint32_t> sequence = ParseNumber(fields[1]);
    const std::optional<uint32_t> lastError = ParseNumber(fields[3]);
    const std::optional<uint32_t> status = ParseNumber(fields[4]);
    if (!sequence || !lastError || !status)
        return std::nullopt;
    for (const KindName& k : kReplyKinds) {
        if (k.Name == fields[2])
            return HostReply{*sequence, k.Result, *lastError, static_cast<int32_t>(*status)};
    }
    return std::nullopt;
}

std::string EncodeCheckRequest(const CheckRequest& request) {
    std::string line(kCheckVerb);
    line += '\t';
    line += std::to_string(request.Sequence);
    for (const std::string* field : {&request.ProgId, &request.Clsid}) {
        line += '\t';
        AppendEscaped(line, *field);
    }
    line += request.Essential ? "\t1\n" : "\t0\n";
    return line;
}

std::string EncodeCheckReply(const CheckReply& reply) {
    std::string_view state = "no-progid";
    for (const StateName& s : kCheckStates)
        if (s.State == reply.Check.State)
            state = s.Name;
    std::string line(kProviderVerb);
    line += '\t';
    line += std::to_string(reply.Sequence);
    line += '\t';
    line += state;
    line += '\t';
    line += std::to_string(static_cast<uint32_t>(reply.Check.Status));
    for (const std::string* field :
         {&reply.Check.Clsid, &reply.Check.Library, &reply.Check.ThreadingModel}) {
        line += '\t';
        AppendEscaped(line, *field);
    }
    line += '\n';
    return line;
}

std::optional<CheckRequest> DecodeCheckRequest(std::string_view line) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 5 || fields[0] != kCheckVerb || (fields[4] != "0" && fields[4] != "1"))
        return std::nullopt;
    const std::optional<uint32_t> sequence = ParseNumber(fields[1]);
    std::optional<std::string> progId = Unescape(fields[2]);
    std::optional<std::string> clsid = Unescape(fields[3]);
    if (!sequence || !progId || !clsid)
        return std::nullopt;
    return CheckRequest{*sequence, std::move(*progId), std::move(*clsid), fields[4] == "1"};
}

std::optional<CheckReply> DecodeCheckReply(std::string_view line, const CheckRequest& request) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 7 || fields[0] != kProviderVerb)
        return std::nullopt;
    const std::optional<uint32_t> sequence = ParseNumber(fields[1]);
    const std::optional<uint32_t> status = ParseNumber(fields[3]);
    std::optional<std::string> clsid = Unescape(fields[4]);
    std::optional<std::string> library = Unescape(fields[5]);
    std::optional<std::string> threading = Unescape(fields[6]);
    if (!sequence || *sequence != request.Sequence || !status || !clsid || !library || !threading)
        return std::nullopt;
    for (const StateName& s : kCheckStates) {
        if (s.Name != fields[2])
            continue;
        CheckReply reply;
        reply.Sequence = *sequence;
        reply.Check = {request.ProgId,        std::move(*clsid), std::move(*library),
                       std::move(*threading), s.State,           static_cast<int32_t>(*status),
                       request.Essential};
        return reply;
    }
    return std::nullopt;
}

RegistrationOutcome OutcomeOf(const HostReply& reply, const std::string& displayName) {
    RegistrationOutcome outcome;
    outcome.DisplayName = displayName;
    outcome.Result = reply.Result;
    outcome.LastError = reply.LastError;
    outcome.Status = reply.Status;
    return outcome;
}

RegistrationOutcome HostEndedOutcome(uint32_t exitCode, const std::string& displayName) {
    RegistrationOutcome outcome;
    outcome.DisplayName = displayName;
    if (exitCode & 0x80000000u) {
        outcome.Result = RegistrationResult::Crashed;
        outcome.Status = static_cast<int32_t>(exitCode);
    } else {
        outcome.Result = RegistrationResult::EndedProcess;
    }
    return outcome;
}

void LineBuffer::Append(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            if (!m_dropping)
                m_lines.push_back(std::move(m_partial));
            m_partial.clear();
            m_dropping = false;
        } else if (m_dropping) {
            continue;
        } else if (m_partial.size() >= kMaxLine) {
            m_partial.clear();
            m_dropping = true;
        } else {
            m_partial += c;
        }
    }
}

std::optional<std::string> LineBuffer::NextLine() {
    if (m_lines.empty())
        return std::nullopt;
    std::string line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}
