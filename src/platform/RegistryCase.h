#pragma once

#include <string>
#include <string_view>

// How Wine compares key and value names: code unit by code unit after lowering each unit,
// Unicode-aware. Lowering keeps non-ASCII units out of ASCII (Wine keeps U+0130 apart from
// "i"), and surrogates as they are.
class RegistryCase {
public:
    static char16_t Lower(char16_t unit);
    static std::u16string Fold(std::u16string_view text);
    static void Fold(std::u16string_view text, std::u16string& out);
    // Wine's order of sibling names; a name that is a prefix of another comes first.
    static int Compare(std::u16string_view a, std::u16string_view b);
};
