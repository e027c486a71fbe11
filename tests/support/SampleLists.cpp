#include "SampleLists.h"

namespace {
using namespace std::string_literals;

std::string Server(const std::string& host, const std::string& timeZone, const std::string& name)
{
    return host + '\0' + timeZone + '\0' + name + '\0';
}
} // namespace

SampleList SampleLists::Empty()
{
    return {"Empty", "1001\0"
                     "00\0\0"s};
}

SampleList SampleLists::EightBitNames()
{
    return {"EightBitNames", "1001\0"
                             "03\0"s +
                                 Server("one.example", "-5", "\x04\x06\x07Gateway \xc9t\xe9 \x80") +
                                 Server("two.example", "", "\x81\x8d\x8f\x90\x9d \x1b\x7f\xff") +
                                 Server("\xe4\xf6\xfc.example", "1", "\x99\x8a\x9f") + '\0'};
}

SampleList SampleLists::OverOneKilobyte()
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    std::string list = "1001\0"
                       "04\0"s;
    for (char i = '0'; i < '4'; ++i)
        list += Server("\x04\x06\x07server"s + i, "-5", every);
    return {"OverOneKilobyte", list + '\0'};
}

void PrintTo(const SampleList& list, std::ostream* out)
{
    *out << list.name << " (" << list.bytes.size() << " bytes)";
}

std::vector<SampleList> SampleLists::All()
{
    return {Empty(), EightBitNames(), OverOneKilobyte()};
}
