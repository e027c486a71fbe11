#include "net/IcmpEcho.h"
#include "ScriptedSockets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {
constexpr std::uint16_t kIdentifier = 0xBEEF;
constexpr std::uint16_t kSequence = 0x0102;

std::uint16_t Word(const Bytes& bytes, std::size_t offset)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

Bytes Request(std::size_t length = 44)
{
    Bytes request(length);
    BuildEchoRequest(request.data(), request.size(), kIdentifier, kSequence, 0xA1B2C3D4);
    return request;
}

TEST(InternetChecksum, ARequestOf44BytesSumsToAllOnesWithItsChecksumInPlace)
{
    Bytes request(44);
    const std::uint16_t checksum =
        BuildEchoRequest(request.data(), request.size(), kIdentifier, kSequence, 0xA1B2C3D4);

    EXPECT_EQ(Word(request, 2), checksum);
    // The sum folds to 0xFFFF, whose complement is 0.
    EXPECT_EQ(InternetChecksum(request.data(), request.size()), 0);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(Word(request, 4), kIdentifier);
    EXPECT_EQ(Word(request, 6), kSequence);
    std::uint32_t stamp = 0;
    std::memcpy(&stamp, request.data() + 8, sizeof stamp);
    EXPECT_EQ(stamp, 0xA1B2C3D4u);
    EXPECT_TRUE(std::all_of(request.begin() + 12, request.end(), [](auto b) { return b == 0x45; }));
}

struct ChecksumCase {
    const char* name;
    Bytes data;
    // The checksum as it lies in memory after storing it.
    Bytes stored;
};

void PrintTo(const ChecksumCase& c, std::ostream* os)
{
    *os << c.name;
}

class InternetChecksumValues : public testing::TestWithParam<ChecksumCase> {};

TEST_P(InternetChecksumValues, MatchesTheSumOfRfc1071)
{
    const ChecksumCase& c = GetParam();
    const std::uint16_t checksum = InternetChecksum(c.data.data(), c.data.size());
    Bytes stored(2);
    std::memcpy(stored.data(), &checksum, sizeof checksum);
    EXPECT_EQ(stored, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InternetChecksumValues,
    testing::Values(
        // The example of RFC 1071: sum 0xDDF2 in network order.
        ChecksumCase{
            "Rfc1071Example", {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}, {0x22, 0x0D}},
        // An odd length: the last byte is padded with a zero byte.
        ChecksumCase{"OddLength", {0x01, 0x02, 0x03}, {0xFB, 0xFD}},
        ChecksumCase{"OneByte", {0xAB}, {0x54, 0xFF}}, ChecksumCase{"Empty", {}, {0xFF, 0xFF}},
        // The carries fold back in.
        ChecksumCase{"Carries", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01}, {0xFF, 0xFE}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InternetChecksum, AnOddRequestCarriesItsLastByteAsAPaddedWord)
{
    for (const std::size_t length : {13u, 45u}) {
        Bytes request = Request(length);
        EXPECT_EQ(InternetChecksum(request.data(), request.size()), 0) << length;
        request.push_back(0);
        EXPECT_EQ(InternetChecksum(request.data(), request.size()), 0) << length;
    }
}

struct ReplyCase {
    const char* name;
    Bytes datagram;
    bool withIpHeader;
    bool accepted;
};

void PrintTo(const ReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

Bytes RawReply()
{
    return Datagrams::WithIpHeader(Datagrams::Reply(Request()), 0x0100007F);
}

Bytes WithHeaderLength(Bytes datagram, int words)
{
    const std::size_t extra = words * 4 - 20;
    datagram[0] = static_cast<std::uint8_t>(0x40 | words);
    datagram.insert(datagram.begin() + 20, extra, 0x01);
    return datagram;
}

Bytes Prefix(Bytes datagram, std::size_t length)
{
    datagram.resize(length);
    return datagram;
}

Bytes WithFirstByte(Bytes datagram, std::uint8_t value)
{
    datagram[0] = value;
    return datagram;
}

class ValidateEchoReplyCases : public testing::TestWithParam<ReplyCase> {};

TEST_P(ValidateEchoReplyCases, AcceptsOnlyTheReplyToThisRequest)
{
    const ReplyCase& c = GetParam();
    EXPECT_EQ(ValidateEchoReply(c.datagram.data(), c.datagram.size(), c.withIpHeader, kIdentifier,
                                kSequence),
              c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateEchoReplyCases,
    testing::Values(
        ReplyCase{"Reply", RawReply(), true, true},
        ReplyCase{"ReplyAfterIpOptions", WithHeaderLength(RawReply(), 6), true, true},
        ReplyCase{"ReplyWithoutIpHeader", Datagrams::Reply(Request()), false, true},
        ReplyCase{"OwnRequest", Datagrams::WithIpHeader(Request(), 0x0100007F), true, false},
        ReplyCase{"OtherIdentifier",
                  Datagrams::WithIpHeader(
                      Datagrams::WithWord(Datagrams::Reply(Request()), 4, kIdentifier + 1), 0),
                  true, false},
        ReplyCase{"OtherSequence",
                  Datagrams::WithIpHeader(
                      Datagrams::WithWord(Datagrams::Reply(Request()), 6, kSequence + 1), 0),
                  true, false},
        ReplyCase{"Unreachable", Datagrams::WithIpHeader(Datagrams::Unreachable(Request()), 0),
                  true, false},
        ReplyCase{"ShorterThanHeaderAndEight", Prefix(RawReply(), 27), true, false},
        ReplyCase{"HeaderAndEight", Prefix(RawReply(), 28), true, true},
        ReplyCase{"HeaderLengthTooSmall", WithFirstByte(RawReply(), 0x41), true, false},
        ReplyCase{"Empty", {}, true, false},
        ReplyCase{"MessageReadAsIfItHadAHeader", Datagrams::Reply(Request()), true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextEchoSequence, GivesEveryConcurrentRequestItsOwnNumber)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 1000;
    std::vector<std::vector<std::uint16_t>> taken(kThreads);
    std::vector<std::thread> threads;
    for (auto& numbers : taken) {
        threads.emplace_back([&numbers] {
            for (int i = 0; i < kEach; ++i)
                numbers.push_back(NextEchoSequence());
        });
    }
    for (auto& thread : threads)
        thread.join();
    std::set<std::uint16_t> distinct;
    for (const auto& numbers : taken)
        distinct.insert(numbers.begin(), numbers.end());
    EXPECT_EQ(distinct.size(), std::size_t{kThreads * kEach});
}
} // namespace
