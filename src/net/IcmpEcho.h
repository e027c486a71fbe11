#pragma once

#include <cstddef>
#include <cstdint>

// The ICMP echo messages of the prober. Multi-byte fields are written and read in the
// machine's own byte order; the peer echoes them back byte for byte.
namespace IcmpEcho {
inline constexpr std::size_t HeaderSize = 8;
// Header and time stamp; the fill bytes follow.
inline constexpr std::size_t RequestOverhead = 12;
inline constexpr std::uint8_t TypeEchoReply = 0;
inline constexpr std::uint8_t TypeEchoRequest = 8;
inline constexpr std::uint8_t FillByte = 0x45;
} // namespace IcmpEcho

// The 16-bit one's-complement checksum of RFC 1071.
std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t length);

// Fills length bytes (at least IcmpEcho::RequestOverhead) with an echo request: type 8, code 0,
// identifier, sequence, time stamp, then the fill. Stores the checksum and returns it.
std::uint16_t BuildEchoRequest(std::uint8_t* buffer, std::size_t length, std::uint16_t identifier,
                               std::uint16_t sequence, std::uint32_t timeStamp);

// True when the datagram is the echo reply (type 0) carrying this identifier and sequence
// number. A datagram of a raw socket begins with its IPv4 header, one of a datagram socket
// with the ICMP message.
bool ValidateEchoReply(const std::uint8_t* datagram, std::size_t length, bool withIpHeader,
                       std::uint16_t identifier, std::uint16_t sequence);

// A sequence number of its own for each request of the process, so that concurrent probes
// tell their replies apart.
std::uint16_t NextEchoSequence();
