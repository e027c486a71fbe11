#include "platform/RegistryCase.h"

#include <array>
#include <locale.h>
#include <memory>
#include <wctype.h>

namespace {
using LowerTable = std::array<char16_t, 0x10000>;

std::unique_ptr<LowerTable> BuildTable()
{
    auto table = std::make_unique<LowerTable>();
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        unsigned lower = unit;
        if (unit >= 'A' && unit <= 'Z') {
            lower = unit + 0x20;
        } else if (unit >= 0x80 && (unit < 0xD800 || unit > 0xDFFF)) {
            if (utf8) {
                lower = static_cast<unsigned>(towlower_l(static_cast<wint_t>(unit), utf8));
            } else if ((unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
                lower = unit + 0x20;
            }
            if (lower < 0x80 || lower > 0xFFFF)
                lower = unit;
        }
        (*table)[unit] = static_cast<char16_t>(lower);
    }
    if (utf8)
        freelocale(utf8);
    return table;
}

// Built when a name past ASCII first needs it: most never do.
const LowerTable& Table()
{
    static const std::unique_ptr<LowerTable> table = BuildTable();
    return *table;
}

char16_t LowerAscii(char16_t unit)
{
    return unit >= 'A' && unit <= 'Z' ? static_cast<char16_t>(unit + 0x20) : unit;
}
} // namespace

char16_t RegistryCase::Lower(char16_t unit)
{
    return unit < 0x80 ? LowerAscii(unit) : Table()[unit];
}

std::u16string RegistryCase::Fold(std::u16string_view text)
{
    std::u16string out;
    Fold(text, out);
    return out;
}

void RegistryCase::Fold(std::u16string_view text, std::u16string& out)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = Lower(text[i]);
}

int RegistryCase::Compare(std::u16string_view a, std::u16string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int diff = static_cast<int>(Lower(a[i])) - static_cast<int>(Lower(b[i]));
        if (diff != 0)
            return diff;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
