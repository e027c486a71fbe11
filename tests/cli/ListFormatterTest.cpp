#include "cli/ListFormatter.h"

#include "data/GameInfo.h"

#include <gtest/gtest.h>

namespace {
GameInfo Game(const std::string& name)
{
    return GameInfo(name);
}

TEST(ListFormatter, JsonEscapesWhatJsonMustAndGivesUtf8)
{
    GameInfo diablo = Game("Diablo");
    diablo.Servers.AddServer("\x04Gold\x07 \"Realm\" \\ \x81\x80\xe9", "\t-1\n", "\x7f.example");
    const GameInfo warcraft = Game("Warcraft III");
    EXPECT_EQ(
        ListFormatter::Json({&diablo, &warcraft}),
        "[\n"
        "  {\"game\": \"Diablo\", \"alias\": \"d2\", \"servers\": [\n"
        "    {\"name\": \"\\u0004Gold\\u0007 \\\"Realm\\\" \\\\ \\u0081\xe2\x82\xac\xc3\xa9\", "
        "\"host\": \"\\u007F.example\", \"zone\": \"\\t-1\\n\"}\n"
        "  ]},\n"
        "  {\"game\": \"Warcraft III\", \"alias\": \"w3\", \"servers\": []}\n"
        "]\n");
    EXPECT_EQ(ListFormatter::Json({}), "[]\n");
}

TEST(ListFormatter, TextAlignsColumnsByCharacters)
{
    GameInfo starcraft = Game("Starcraft/Broodwar");
    starcraft.Servers.AddServer("Z\xfcrich \x80", "1", "a.example");
    starcraft.Servers.AddServer("\x04Gold", "-5", "192.0.2.1");
    const GameInfo warcraft = Game("Warcraft III");
    EXPECT_EQ(ListFormatter::Text({&starcraft, &warcraft}),
              "Starcraft/Broodwar (sc)\n"
              "  Name      Host       Zone\n"
              "  Z\xc3\xbcrich \xe2\x82\xac  a.example  1\n"
              "  \\x04Gold  192.0.2.1  -5\n"
              "Warcraft III (w3)\n"
              "  (no servers)\n");
}
} // namespace
