#include "platform/HiveIndex.h"

#include "HiveFiles.h"
#include "TempDir.h"
#include "data/ErrorCodes.h"
#include "platform/CachedHive.h"
#include "platform/RegistryCase.h"
#include "platform/RegistryHive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {
using Path = RegistryHive::Path;
constexpr std::uint64_t kNow = 0x1dd882da54b0a2aULL;

std::string Sz(std::u16string_view text)
{
    return HiveFiles::Utf16(text) + std::string(2, '\0');
}

Path Folded(const Path& path)
{
    Path folded;
    for (const std::u16string& name : path)
        folded.push_back(RegistryCase::Fold(name));
    return folded;
}

const RegistryValue* Value(const RegistryHive& hive, const Path& path, std::u16string_view name)
{
    const std::size_t key = hive.FindKey(path);
    return key == RegistryHive::npos ? nullptr : hive.FindValue(key, name);
}

// The key lines that the index finds for path, reading the text chunk bytes at a time.
HiveIndex::Found FindInPieces(const std::string& text, const Path& path, std::size_t chunk)
{
    const HiveSource source(text);
    const HiveIndex index(source, text.find('\n') + 1, chunk);
    return index.Find(source, Folded(path));
}

struct KeyLineCase {
    const char* name;
    std::string body; // after the header line
    bool isKey;       // whether the line "[L]" in it names a key
};

void PrintTo(const KeyLineCase& c, std::ostream* out)
{
    *out << c.name;
}

class HiveIndexKeyLines : public testing::TestWithParam<KeyLineCase> {};

// A line that starts with "[" names a key unless hex data goes on over it, as Wine reads it;
// whether the file is read whole or a line at a time.
TEST_P(HiveIndexKeyLines, AreFoundAsWineReadsThem)
{
    const std::string text = "WINE REGISTRY Version 2\n" + GetParam().body;
    const RegistryHive hive(text);
    EXPECT_EQ(hive.FindKey({u"L"}) != RegistryHive::npos, GetParam().isKey);
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}})
        EXPECT_EQ(FindInPieces(text, {u"L"}, chunk).exists, GetParam().isKey) << chunk;
    // The key line after it is found either way.
    EXPECT_NE(hive.FindKey({u"After"}), RegistryHive::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HiveIndexKeyLines,
    testing::Values(
        KeyLineCase{"AfterAnEmptyLine", "[K]\n\"a\"=hex:01,\\\n\n[L]\n[After]\n", true},
        KeyLineCase{"TakenByHexData", "[K]\n\"a\"=hex:01,\\\n[L]\n[After]\n", false},
        KeyLineCase{"TakenByHexDataOverLines",
                    "[K]\n\"a\"=hex(7):01,\\\n  02,\\\n\t03,\\\n  [L]\n[After]\n", false},
        KeyLineCase{"TakenAfterJunkPastTheBackslash", "[K]\n\"a\"=hex:01,\\junk\n[L]\n[After]\n",
                    false},
        KeyLineCase{"AfterHexDataThatEnds", "[K]\n\"a\"=hex:01,02\n[L]\n[After]\n", true},
        KeyLineCase{"AfterAStringWithBackslashes", "[K]\n\"a\"=\"C:\\\\x\\\\\"\n[L]\n[After]\n",
                    true},
        KeyLineCase{"AfterHexDataEndedByAComment", "[K]\n\"a\"=hex:01,\\\n;c\\\n[L]\n[After]\n",
                    true},
        KeyLineCase{"AfterHexDataBeforeAnyKey", "\"a\"=hex:01,\\\n[L]\n[After]\n", true},
        KeyLineCase{"AfterHexDataInABrokenKey", "[K\n\"a\"=hex:01,\\\n[L]\n[After]\n", true},
        KeyLineCase{"AfterAKeyLine", "[K\\\\x]\n[L]\n[After]\n", true},
        KeyLineCase{"AfterAValueTakenByHexData",
                    "[K]\n\"a\"=hex:01,\\\n\"b\"=hex:02,\\\n[L]\n[After]\n", true},
        KeyLineCase{"Indented", "[K]\n \t\v[L]\n[After]\n", true},
        KeyLineCase{"InsideAValue", "[K]\n\"a\"=\"[L]\"\n[After]\n", false},
        KeyLineCase{"AfterCarriageReturns", "[K]\r\n\"a\"=hex:01,\\\r\n[L]\r\n[After]\r\n", false}),
    [](const testing::TestParamInfo<KeyLineCase>& info) { return std::string(info.param.name); });

// A file larger than what is read at a time, with hex data that goes on over the boundaries of
// the pieces and onto a key line, and a key line longer than a search reads at first: read from
// the disk piece by piece, it holds what the same text in memory holds.
TEST(HiveIndex, ReadsAFileInPiecesAsAWhole)
{
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
                       "#arch=win64\n";
    std::string hexData;
    const std::u16string longName(3000, u'x');
    for (int n = 0; n < 3000; ++n) {
        char block[96];
        std::snprintf(block, sizeof block, "\n[Software\\\\Big\\\\N%05d] 1\n\"v\"=\"%d\"\n", n, n);
        text += block;
        if (n == 1500) {
            text += "\n[Software\\\\Big\\\\Long] 1\n\"h\"=hex:00,\\\n";
            hexData += '\0';
            for (int line = 0; line < 6000; ++line) {
                text += "  ";
                for (int i = 0; i < 25; ++i) {
                    text += i + 1 < 25 || line + 1 < 6000 ? "a5," : "a5";
                    hexData += '\xa5';
                }
                text += line + 1 < 6000 ? "\\\n" : "\n";
            }
            text += "\"t\"=hex:01,\\\n[Software\\\\Big\\\\Taken]\n\n[Software\\\\Big\\\\" +
                    std::string(longName.begin(), longName.end()) + "] 1\n\"v\"=\"long\"\n";
        }
    }
    ASSERT_GT(text.size(), 2 * HiveIndex::kChunk);
    TempDir dir;
    const std::string path = (dir.Path() / "system.reg").string();
    HiveFiles::Write(path, text);
    CachedHive file(path);
    ASSERT_EQ(file.Refresh(), ErrorCode::Success);
    const RegistryHive inMemory(text);

    for (const RegistryHive* hive : {&file.Hive(), &inMemory}) {
        EXPECT_TRUE(hive->IsWin64());
        EXPECT_EQ(hive->RootPath(), u"\\REGISTRY\\Machine");
        for (int n = 0; n < 3000; n += 7) {
            char name[8];
            std::snprintf(name, sizeof name, "n%05d", n);
            const std::string number = std::to_string(n);
            const RegistryValue* value =
                Value(*hive, {u"software", u"BIG", std::u16string(name, name + 6)}, u"v");
            ASSERT_NE(value, nullptr) << n;
            EXPECT_EQ(value->data, Sz(std::u16string(number.begin(), number.end()))) << n;
        }
        const RegistryValue* hex = Value(*hive, {u"Software", u"Big", u"Long"}, u"h");
        ASSERT_NE(hex, nullptr);
        EXPECT_TRUE(hex->data == hexData) << hex->data.size();
        // Hex data that goes on onto a key line is malformed: an empty value of no type.
        const RegistryValue* taking = Value(*hive, {u"Software", u"Big", u"Long"}, u"t");
        ASSERT_NE(taking, nullptr);
        EXPECT_EQ(taking->type, 0u);
        EXPECT_EQ(taking->data, "");
        EXPECT_EQ(hive->FindKey({u"Software", u"Big", u"Taken"}), RegistryHive::npos);
        const RegistryValue* named = Value(*hive, {u"Software", u"Big", longName}, u"v");
        ASSERT_NE(named, nullptr);
        EXPECT_EQ(named->data, Sz(u"long"));
    }
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{4096}}) {
        for (const Path& key :
             {Path{u"Software", u"Big", u"N01501"}, Path{u"Software", u"Big"},
              Path{u"Software", u"Big", u"Taken"}, Path{u"Software", u"Big", longName}}) {
            const HiveIndex::Found pieces = FindInPieces(text, key, chunk);
            const HiveIndex::Found whole = FindInPieces(text, key, HiveIndex::kChunk);
            EXPECT_EQ(pieces.exists, whole.exists) << chunk;
            EXPECT_EQ(pieces.lines, whole.lines) << chunk;
        }
    }
}

// Keys named "Software\\Gen\\K<n>" (every third in lower case), each with a value and, for
// even n, a subkey, in the order given.
std::u16string GeneratedName(int n)
{
    char name[16];
    std::snprintf(name, sizeof name, n % 3 == 0 ? "k%03d" : "K%03d", n);
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

std::string Generated(const std::vector<int>& order)
{
    std::string text = "WINE REGISTRY Version 2\n\n#arch=win64\n";
    for (const int n : order) {
        char block[160];
        std::snprintf(block, sizeof block, "\n[Software\\\\Gen\\\\%c%03d] 1\n\"v\"=\"%d\"\n",
                      n % 3 == 0 ? 'k' : 'K', n, n);
        text += block;
        if (n % 2 == 0) {
            std::snprintf(block, sizeof block,
                          "\n[Software\\\\Gen\\\\K%03d\\\\Sub] 1\n\"s\"=dword:%08x\n", n, n);
            text += block;
        }
    }
    return text;
}

struct OrderCase {
    const char* name;
    std::vector<int> order;
};

void PrintTo(const OrderCase& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<int> Permuted(int step)
{
    std::vector<int> order(200);
    for (int i = 0; i < 200; ++i)
        order[i] = i * step % 200;
    return order;
}

class HiveIndexOrder : public testing::TestWithParam<OrderCase> {};

// Wine's own order, one key moved by hand, and orders with more sorted runs than a search per
// run is worth: every key is found, and a new key goes before the first key line of the file
// that sorts after it.
TEST_P(HiveIndexOrder, FindsEveryKeyInAnyOrder)
{
    const std::vector<int>& order = GetParam().order;
    const std::string text = Generated(order);
    const RegistryHive hive(text);
    for (int n = 0; n < 200; ++n) {
        const Path key{u"SOFTWARE", u"gen", GeneratedName(n)};
        const RegistryValue* value = Value(hive, key, u"V");
        ASSERT_NE(value, nullptr) << n;
        const std::string number = std::to_string(n);
        EXPECT_EQ(value->data, Sz(std::u16string(number.begin(), number.end()))) << n;
        Path sub = key;
        sub.push_back(u"sub");
        EXPECT_EQ(hive.FindKey(sub) != RegistryHive::npos, n % 2 == 0) << n;
    }
    EXPECT_NE(hive.FindKey({u"software"}), RegistryHive::npos);
    EXPECT_EQ(hive.FindKey({u"Software", u"Gen", u"K200"}), RegistryHive::npos);
    EXPECT_EQ(hive.FindKey({u"Software", u"Gen", u"K05"}), RegistryHive::npos);
    EXPECT_EQ(hive.FindKey({u"Software", u"Ge"}), RegistryHive::npos);

    const std::string added =
        hive.WithValue({u"Software", u"Gen", u"K050a"}, {u"n", 1, Sz(u"x")}, kNow);
    std::size_t expected = std::string::npos;
    for (const int n : order) {
        if (RegistryCase::Compare(GeneratedName(n), u"K050a") > 0) {
            char line[40];
            std::snprintf(line, sizeof line, "\n[Software\\\\Gen\\\\%c%03d]",
                          n % 3 == 0 ? 'k' : 'K', n);
            expected = text.find(line);
            break;
        }
    }
    ASSERT_NE(expected, std::string::npos);
    EXPECT_EQ(added.find("[Software\\\\Gen\\\\K050a] "), expected + 1);
    EXPECT_NE(Value(RegistryHive(added), {u"Software", u"Gen", u"K050A"}, u"N"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Orders, HiveIndexOrder,
                         testing::Values(OrderCase{"Sorted", Permuted(1)},
                                         OrderCase{"OneMovedToTheEnd",
                                                   [] {
                                                       std::vector<int> order = Permuted(1);
                                                       order.erase(order.begin() + 50);
                                                       order.push_back(50);
                                                       return order;
                                                   }()},
                                         OrderCase{"Reversed",
                                                   [] {
                                                       std::vector<int> order = Permuted(1);
                                                       std::reverse(order.begin(), order.end());
                                                       return order;
                                                   }()},
                                         OrderCase{"Interleaved", Permuted(37)}),
                         [](const testing::TestParamInfo<OrderCase>& info) {
                             return std::string(info.param.name);
                         });
} // namespace
