#include "about/InstantMessaging.h"

#include "FakeMessenger.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
constexpr char kNotInstalled[] =
    "MSN/Windows Messenger doesn't appear to be installed on your system.\nSorry ;-)";
constexpr char kNotConnected[] =
    "Unable to send instant message because you're not connected.\nPlease try again later";
constexpr char kContact[] = "ferryman@example.com";

struct StatusCase {
    const char* label;
    std::int32_t status;
    bool sends;
};

void PrintTo(const StatusCase& c, std::ostream* out)
{
    *out << c.label;
}

class MessengerStatusTest : public testing::TestWithParam<StatusCase> {};

TEST_P(MessengerStatusTest, SendsOnlyWhenConnected)
{
    const StatusCase& c = GetParam();
    FakeMessenger messenger;
    messenger.Status = c.status;
    const auto message = Util::InstantMessagingMe(messenger);
    if (c.sends) {
        EXPECT_FALSE(message.has_value());
        EXPECT_EQ(messenger.Conversations, std::vector<std::string>{kContact});
    } else {
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->Text, kNotConnected);
        EXPECT_EQ(message->Icon, MessageIcon::Warning);
        EXPECT_TRUE(messenger.Conversations.empty());
    }
    EXPECT_EQ(messenger.Created, 1);
    EXPECT_EQ(messenger.Alive, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, MessengerStatusTest,
    testing::Values(StatusCase{"undetermined", 0, false}, StatusCase{"offline", 1, false},
                    StatusCase{"busy", 10, false}, StatusCase{"finding the server", 0x100, false},
                    StatusCase{"connecting", 0x200, false},
                    StatusCase{"synchronising", 0x300, false},
                    StatusCase{"disconnecting", 0x400, false}, StatusCase{"online", 2, true},
                    StatusCase{"invisible", 6, true}, StatusCase{"be right back", 14, true},
                    StatusCase{"idle", 18, true}, StatusCase{"away", 34, true},
                    StatusCase{"on the phone", 50, true}, StatusCase{"out to lunch", 66, true},
                    StatusCase{"an unknown status", -1, true}));

struct FailureCase {
    const char* label;
    bool installed;
    std::optional<std::int32_t> status;
    FakeMessenger::Failure conversation;
    const char* text;
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.label;
}

class MessengerFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(MessengerFailureTest, ReturnsItsMessageAndReleasesTheMessenger)
{
    const FailureCase& c = GetParam();
    FakeMessenger messenger;
    messenger.Installed = c.installed;
    messenger.Status = c.status;
    messenger.ConversationFailure = c.conversation;
    const auto message = Util::InstantMessagingMe(messenger);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->Text, c.text);
    EXPECT_EQ(message->Icon, MessageIcon::Warning);
    EXPECT_EQ(messenger.Alive, 0);
    EXPECT_TRUE(messenger.Conversations.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MessengerFailureTest,
    testing::Values(
        FailureCase{"not installed", false, 2, FakeMessenger::Failure::None, kNotInstalled},
        FailureCase{"status unreadable", true, std::nullopt, FakeMessenger::Failure::None,
                    "Util::InstantMessagingMe() -> get_MyStatus Failed"},
        FailureCase{"conversation throws a standard exception", true, 2,
                    FakeMessenger::Failure::StdException, "Unknown error"},
        FailureCase{"conversation throws something else", true, 2,
                    FakeMessenger::Failure::OtherException, "Unknown error"}));

TEST(InstantMessagingTest, SecondClickAfterAFailureStartsAgain)
{
    FakeMessenger messenger;
    messenger.Installed = false;
    EXPECT_EQ(Util::InstantMessagingMe(messenger)->Text, kNotInstalled);

    messenger.Installed = true;
    messenger.Status = 1;
    EXPECT_EQ(Util::InstantMessagingMe(messenger)->Text, kNotConnected);

    messenger.Status = 2;
    EXPECT_FALSE(Util::InstantMessagingMe(messenger).has_value());
    EXPECT_EQ(messenger.Created, 3);
    EXPECT_EQ(messenger.Alive, 0);
    EXPECT_EQ(messenger.Conversations, std::vector<std::string>{kContact});
}
} // namespace
