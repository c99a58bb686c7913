#include "SimTemplate.h"

#include <algorithm>
#include <array>

namespace trivsim {

namespace {

constexpr std::string_view kPrefix = "TRVSIM1:";
constexpr std::uint8_t kRecordVersion = 1;
constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

using Bytes = std::string;

std::uint32_t ChecksumOf(std::string_view bytes)
{
    return static_cast<std::uint32_t>(HashOf(bytes));
}

void PutLittleEndian(Bytes& out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetLittleEndian(std::string_view in, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

std::string Base64Encode(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        for (std::size_t k = 0; k < 4; ++k)
            text.push_back(k <= n ? kBase64[(group >> (18 - 6 * k)) & 0x3F] : '=');
    }
    return text;
}

// Strict: whole groups of four, padding only at the end.
std::optional<Bytes> Base64Decode(std::string_view text)
{
    static const auto values = [] {
        std::array<int, 256> table{};
        table.fill(-1);
        for (std::size_t i = 0; i < kBase64.size(); ++i)
            table[static_cast<unsigned char>(kBase64[i])] = static_cast<int>(i);
        return table;
    }();
    if (text.empty() || text.size() % 4 != 0)
        return std::nullopt;
    const std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const bool padded = i + k >= text.size() - padding;
            const int value = padded ? 0 : values[static_cast<unsigned char>(text[i + k])];
            if (value < 0)
                return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        for (int k = 2; k >= 0; --k)
            bytes.push_back(static_cast<char>((group >> (8 * k)) & 0xFF));
    }
    bytes.resize(bytes.size() - padding);
    return bytes;
}

// Record: version (8), dpi (16), finger count (8), payload length (16), payload, the fingers'
// components, checksum (32) of everything before it.
constexpr std::size_t kHeaderSize = 1 + 2 + 1 + 2;
constexpr std::size_t kChecksumSize = 4;

Bytes ToRecord(const Template& fir)
{
    Bytes record;
    record.push_back(static_cast<char>(kRecordVersion));
    PutLittleEndian(record, fir.dpi, 2);
    PutLittleEndian(record, static_cast<std::uint32_t>(fir.fingers.size()), 1);
    PutLittleEndian(record, static_cast<std::uint32_t>(fir.payload.size()), 2);
    record += fir.payload;
    for (const auto& finger : fir.fingers)
        for (auto component : finger)
            record.push_back(static_cast<char>(component));
    PutLittleEndian(record, ChecksumOf(record), 4);
    return record;
}

std::optional<Template> FromRecord(std::string_view record)
{
    if (record.size() < kHeaderSize + kChecksumSize)
        return std::nullopt;
    const std::size_t body = record.size() - kChecksumSize;
    if (GetLittleEndian(record, body, 4) != ChecksumOf(record.substr(0, body)))
        return std::nullopt;
    const auto fingerCount = GetLittleEndian(record, 3, 1);
    const auto payloadLength = GetLittleEndian(record, 4, 2);
    if (static_cast<std::uint8_t>(record[0]) != kRecordVersion || fingerCount < 1 || fingerCount > kMaxFingers
        || payloadLength > kMaxPayload || body != kHeaderSize + payloadLength + fingerCount * kFeatureLength)
        return std::nullopt;
    Template fir;
    fir.dpi = static_cast<std::uint16_t>(GetLittleEndian(record, 1, 2));
    fir.payload = std::string(record.substr(kHeaderSize, payloadLength));
    fir.fingers.resize(fingerCount);
    std::size_t at = kHeaderSize + payloadLength;
    for (auto& finger : fir.fingers)
        for (auto& component : finger)
            component = static_cast<std::int8_t>(record[at++]);
    return fir;
}

} // namespace

std::string TemplateToText(const Template& fir)
{
    return std::string(kPrefix) + Base64Encode(ToRecord(fir));
}

std::optional<Template> TemplateFromText(std::string_view text)
{
    if (!text.starts_with(kPrefix))
        return std::nullopt;
    const auto record = Base64Decode(text.substr(kPrefix.size()));
    return record ? FromRecord(*record) : std::nullopt;
}

double BestSimilarity(const Template& a, const Template& b)
{
    double best = -1.0;
    for (const auto& fa : a.fingers)
        for (const auto& fb : b.fingers)
            best = std::max(best, Similarity(fa, fb));
    return best;
}

Template IdealTemplate(std::string_view fingerName, std::string payload)
{
    Template fir;
    fir.fingers.push_back(FeaturesOfFinger(fingerName));
    fir.payload = std::move(payload);
    return fir;
}

} // namespace trivsim
