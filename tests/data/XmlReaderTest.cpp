#include "RecordingXmlHandler.h"

#include "data/XmlReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

extern const std::string_view kEmbeddedConfigXml;

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {
std::vector<std::string> Events(const std::string& document)
{
    RecordingXmlHandler handler;
    XmlReader reader;
    reader.SetHandler(&handler);
    EXPECT_TRUE(reader.Parse(document.data(), static_cast<std::int32_t>(document.size())));
    return handler.Events;
}

struct Case {
    const char* Label;
    std::string Document;
    std::vector<std::string> Expected;
};

class XmlReaderCases : public ::testing::TestWithParam<Case> {};

TEST_P(XmlReaderCases, DeliversTheseEvents)
{
    EXPECT_THAT(Events(GetParam().Document), ElementsAreArray(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlReaderCases,
    ::testing::Values(
        Case{"SelfClosing", "<a/>", {"E a||"}},
        Case{"SelfClosingWithAttributes", "<a x=\"1\"/>", {"E a||x=\"1\""}},
        Case{"SelfClosingAfterSiblings",
             "<r><b>t</b><a/><c><d>1</d></c><e/></r>",
             {"S r|", "E b|t|", "E a||", "S c|", "E d|1|", "/ c", "E e||", "/ r"}},
        Case{"EmptyContent", "<a></a>", {"E a||"}},
        Case{"TextKeptWithSpaces", "<a> x </a>", {"E a| x |"}},
        Case{"LineBreaksKept", "<a>x\r\ny</a>", {"E a|x\r\ny|"}},
        Case{"TabBelongsToTheName", "<a\tb=\"1\">x</a>", {}},
        Case{"SpaceOnlyAttributesAreNone", "<Game >t</Game>", {"E Game|t|"}},
        Case{"AttributesRaw", "<Game Name=\"X\" >t</Game>", {"E Game|t|Name=\"X\" "}},
        Case{"EmptyNameReportedToNoOne", "<>x<b>1</b></>", {"E b|1|"}},
        Case{"TopLevelSiblings", "<a>1</a> text <b>2</b>", {"E a|1|", "E b|2|"}},
        Case{"FirstLaterClosingTag", "<a><a>x</a></a>", {"S a|", "/ a"}},
        Case{"ClosingTagWithSpaceEndsTheLevel", "<a>x</a ><b>1</b>", {}},
        Case{"CommentEndsTheLevel", "<r><!-- c --><a>1</a></r><b>2</b>", {"S r|", "/ r", "E b|2|"}},
        Case{"EntitiesUndecoded", "<a>&amp;&#65;</a>", {"E a|&amp;&#65;|"}},
        Case{"NulIsAnOrdinaryCharacter",
             std::string("<a>x\0y</a>", 10),
             {std::string("E a|x\0y|", 8)}},
        Case{"DeclarationSkippedAtTheStart", "<?xml version=\"1.0\"?><a>1</a>", {"E a|1|"}},
        Case{"DeclarationAfterLineBreakIsATag", "\n<?xml version=\"1.0\"?>\n<a>1</a>", {}},
        Case{"ProcessingInstructionAtScanPosition", "<a>1</a><?pi?><b>2</b>", {"E a|1|", "E b|2|"}},
        Case{"MissingGreaterThanEndsTheLevel", "<a>1</a><b", {"E a|1|"}},
        // A container whose last child ends right where its closing tag begins still ends,
        // and its later siblings are still read.
        Case{"ContainerEndingAtItsLastChild",
             "<Games><Game Name=\"A\"><Server Name=\"s1\"><Hostname>h1</Hostname></Server>"
             "<Server Name=\"s2\"><Hostname>h2</Hostname></Server></Game>"
             "<Game Name=\"B\"><Version>1</Version></Game></Games>",
             {"S Games|", "S Game|Name=\"A\"", "S Server|Name=\"s1\"", "E Hostname|h1|", "/ Server",
              "S Server|Name=\"s2\"", "E Hostname|h2|", "/ Server", "/ Game", "S Game|Name=\"B\"",
              "E Version|1|", "/ Game", "/ Games"}}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(XmlReader, RefusesNullOrEmptyInput)
{
    RecordingXmlHandler handler;
    XmlReader reader;
    reader.SetHandler(&handler);
    EXPECT_FALSE(reader.Parse(nullptr, 10));
    EXPECT_FALSE(reader.Parse("<a>1</a>", 0));
    EXPECT_FALSE(reader.Parse("<a>1</a>", -5));
    EXPECT_THAT(handler.Events, IsEmpty());
}

TEST(XmlReader, ScansWithoutHandler)
{
    XmlReader reader;
    const std::string document = "<a><b>1</b></a>";
    EXPECT_TRUE(reader.Parse(document.data(), static_cast<std::int32_t>(document.size())));
}

TEST(XmlReader, EmbeddedCatalogueEvents)
{
    // The document without its final line feed, as the catalogue hands it over.
    const std::string document(kEmbeddedConfigXml.substr(0, kEmbeddedConfigXml.size() - 1));
    const std::vector<std::string> events = Events(document);

    ASSERT_EQ(events.size(), 2u + 3u * 11u);
    EXPECT_EQ(events.front(), "S Games|");
    EXPECT_EQ(events[1], "S Game|Name=\"Starcraft/Broodwar\"");
    EXPECT_EQ(events[2], "E Version|I|");
    EXPECT_EQ(events[5], "E HKEYTYPE_BNET_CONFIG|HKEY_CURRENT_USER|");
    EXPECT_EQ(events[11], "/ Game");
    EXPECT_EQ(events[12], "S Game|Name=\"Diablo\"");
    EXPECT_EQ(events[23], "S Game|Name=\"Warcraft III\"");
    EXPECT_EQ(events[27], "E HKEYTYPE_BNET_CONFIG|HKEY_CURRENT_USER|");
    EXPECT_EQ(events.back(), "/ Games");
}

TEST(XmlReader, EmbeddedCatalogueBehindLineBreakOrByteOrderMarkDeliversNothing)
{
    const std::string document(kEmbeddedConfigXml);
    EXPECT_THAT(Events("\r\n" + document), IsEmpty());
    EXPECT_THAT(Events("\xEF\xBB\xBF" + document), IsEmpty());
}

TEST(XmlReader, HandlerExceptionEndsTheParse)
{
    struct Throwing : RecordingXmlHandler {
        void OnElement(const std::string&, const std::string&, const std::string&) override
        {
            throw 42;
        }
    } handler;
    XmlReader reader;
    reader.SetHandler(&handler);
    const std::string document = "<a>1</a><b>2</b>";
    EXPECT_THROW(reader.Parse(document.data(), static_cast<std::int32_t>(document.size())), int);
}

TEST(XmlReader, DeepNestingIsCutAtTheDepthLimit)
{
    constexpr int kLevels = 100000;
    std::string document;
    for (int i = 0; i < kLevels; ++i)
        document += "<n" + std::to_string(i) + ">";
    document += "x";
    for (int i = kLevels - 1; i >= 0; --i)
        document += "</n" + std::to_string(i) + ">";
    document += "<after>1</after>";

    const std::vector<std::string> events = Events(document);
    ASSERT_EQ(events.size(), 2u * XmlReader::MaxDepth + 1u);
    EXPECT_EQ(events.front(), "S n0|");
    EXPECT_EQ(events[XmlReader::MaxDepth - 1],
              "S n" + std::to_string(XmlReader::MaxDepth - 1) + "|");
    EXPECT_EQ(events[XmlReader::MaxDepth], "/ n" + std::to_string(XmlReader::MaxDepth - 1));
    EXPECT_EQ(events[2 * XmlReader::MaxDepth - 1], "/ n0");
    EXPECT_EQ(events.back(), "E after|1|");
}

TEST(XmlReader, DeepNestingOfOneNameNeverRecursesOrLoops)
{
    std::string document;
    for (int i = 0; i < 100000; ++i)
        document += "<a>";
    for (int i = 0; i < 100000; ++i)
        document += "</a>";
    EXPECT_THAT(Events(document), ElementsAre("S a|", "/ a"));
}
} // namespace
