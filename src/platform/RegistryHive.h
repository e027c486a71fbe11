#pragma once

#include "platform/HiveIndex.h"
#include "platform/HiveSource.h"
#include "platform/RegistryValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One registry file of a Wine prefix (user.reg, system.reg), read as Wine reads it, and only as
// far as it is asked: at first its first line; at the first look-up, where its key lines are
// (HiveIndex); then the blocks of the keys asked for, whose values are decoded when first asked
// for. Edits return the file's new text, in which only the edited key's block differs.
// Not thread-safe.
class RegistryHive {
public:
    using Path = HiveIndex::Path;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit RegistryHive(std::string text);
    explicit RegistryHive(HiveSource source);
    RegistryHive(RegistryHive&&) noexcept;
    RegistryHive& operator=(RegistryHive&&) noexcept;
    ~RegistryHive();

    // False when the first line is not "WINE REGISTRY Version 2": Wine ignores such a file.
    bool Valid() const { return m_valid; }
    // "#arch=win64" among the header lines.
    bool IsWin64() const;
    // The whole text; a file is read in full the first time.
    const std::string& Text() const;
    // The root that link targets name, from the ";; All keys relative to" line
    // (e.g. "\REGISTRY\Machine"); empty when the file does not say.
    const std::u16string& RootPath() const;

    // The key at path, compared without regard to case; npos when absent. The parents of
    // written keys exist too.
    std::size_t FindKey(const Path& path) const;
    bool IsLink(std::size_t key) const;
    // The value of that name (empty for the default value); the last line of a name wins.
    const RegistryValue* FindValue(std::size_t key, std::u16string_view name) const;

    // The file's text with the value stored in the key at path, the key created when needed,
    // and the key's time set to now (a FILETIME).
    std::string WithValue(const Path& path, const RegistryValue& value, std::uint64_t now) const;
    // The file's text with an empty key added at path; the same text when the key exists.
    std::string WithKey(const Path& path, std::uint64_t now) const;

private:
    struct Key;
    struct Content;

    const HiveIndex& Index() const;
    const Content& ContentOf(std::size_t key) const;
    std::string NewBlockText(const Path& path, const RegistryValue* value, std::uint64_t now) const;
    std::string InsertNewKey(const Path& path, const RegistryValue* value, std::uint64_t now) const;

    HiveSource m_source;
    std::string m_newline = "\n";
    bool m_valid = false;
    // Where the key lines and header lines start.
    std::size_t m_secondLine = 0;
    mutable std::optional<HiveIndex> m_index;
    // The keys looked up, by their number, and the numbers by folded path (npos: absent).
    mutable std::vector<Key> m_keys;
    mutable std::unordered_map<std::u16string, std::size_t> m_found;
};
