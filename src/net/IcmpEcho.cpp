#include "net/IcmpEcho.h"

#include <atomic>
#include <cstring>

namespace {
constexpr std::size_t kMinIpHeader = 20;

std::uint16_t ReadWord(const std::uint8_t* at)
{
    std::uint16_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void WriteWord(std::uint8_t* at, std::uint16_t value)
{
    std::memcpy(at, &value, sizeof value);
}
} // namespace

std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t length)
{
    std::uint64_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < length; i += 2)
        sum += ReadWord(data + i);
    // The last byte of an odd length counts as a word padded with a zero byte.
    if (i < length) {
        const std::uint8_t padded[2] = {data[i], 0};
        sum += ReadWord(padded);
    }
    while (sum >> 16)
        sum = (sum >> 16) + (sum & 0xFFFF);
    return static_cast<std::uint16_t>(~sum);
}

std::uint16_t BuildEchoRequest(std::uint8_t* buffer, std::size_t length, std::uint16_t identifier,
                               std::uint16_t sequence, std::uint32_t timeStamp)
{
    buffer[0] = IcmpEcho::TypeEchoRequest;
    buffer[1] = 0;
    WriteWord(buffer + 2, 0);
    WriteWord(buffer + 4, identifier);
    WriteWord(buffer + 6, sequence);
    std::memcpy(buffer + 8, &timeStamp, sizeof timeStamp);
    std::memset(buffer + IcmpEcho::RequestOverhead, IcmpEcho::FillByte,
                length - IcmpEcho::RequestOverhead);
    const std::uint16_t checksum = InternetChecksum(buffer, length);
    WriteWord(buffer + 2, checksum);
    return checksum;
}

bool ValidateEchoReply(const std::uint8_t* datagram, std::size_t length, bool withIpHeader,
                       std::uint16_t identifier, std::uint16_t sequence)
{
    std::size_t offset = 0;
    if (withIpHeader) {
        if (length < kMinIpHeader)
            return false;
        offset = std::size_t{datagram[0] & 0x0Fu} * 4;
        if (offset < kMinIpHeader)
            return false;
    }
    if (length < offset + IcmpEcho::HeaderSize)
        return false;
    const std::uint8_t* message = datagram + offset;
    return message[0] == IcmpEcho::TypeEchoReply && ReadWord(message + 4) == identifier &&
           ReadWord(message + 6) == sequence;
}

std::uint16_t NextEchoSequence()
{
    static std::atomic<std::uint16_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}
