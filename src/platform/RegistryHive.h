#pragma once

#include "platform/RegistryValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One registry file of a Wine prefix (user.reg, system.reg), read as Wine reads it. Keys are
// indexed when the file is read; a key's values are decoded the first time they are asked
// for. Edits return the file's new text, in which only the edited key's block differs.
// Not thread-safe.
class RegistryHive {
public:
    using Path = std::vector<std::u16string>;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit RegistryHive(std::string text);
    RegistryHive(RegistryHive&&) noexcept;
    RegistryHive& operator=(RegistryHive&&) noexcept;
    ~RegistryHive();

    // False when the first line is not "WINE REGISTRY Version 2": Wine ignores such a file.
    bool Valid() const { return m_valid; }
    // "#arch=win64" among the header lines.
    bool IsWin64() const { return m_win64; }
    const std::string& Text() const { return m_text; }
    // The root that link targets name, from the ";; All keys relative to" line
    // (e.g. "\REGISTRY\Machine"); empty when the file does not say.
    const std::u16string& RootPath() const { return m_rootPath; }

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
    struct Block;
    struct Key;
    struct Content;
    // A key's name under its parent, lowered; looked up without a copy of the name.
    struct ChildName {
        std::uint32_t parent;
        std::u16string folded;
    };
    struct ChildNameView {
        std::uint32_t parent;
        std::u16string_view folded;
    };
    struct ChildNameHash {
        using is_transparent = void;
        std::size_t operator()(const ChildNameView& name) const;
        std::size_t operator()(const ChildName& name) const
        {
            return (*this)(ChildNameView{name.parent, name.folded});
        }
    };
    struct ChildNameEqual {
        using is_transparent = void;
        static ChildNameView View(const ChildName& name) { return {name.parent, name.folded}; }
        static ChildNameView View(const ChildNameView& name) { return name; }
        template <typename A, typename B> bool operator()(const A& a, const B& b) const
        {
            return View(a).parent == View(b).parent && View(a).folded == View(b).folded;
        }
    };

    void Scan();
    std::uint32_t EnsureChild(std::uint32_t parent, std::u16string_view name);
    std::uint32_t FindChild(std::uint32_t parent, std::u16string_view name) const;
    // ranOut: hex data went on past the end of the file.
    std::size_t ParseValueLine(std::size_t lineStart, RegistryValue& value, bool& isValue,
                               std::size_t* textEnd, bool* ranOut) const;
    const Content& ContentOf(std::size_t key) const;
    Path KeyPath(std::size_t key) const;
    std::string NewBlockText(const Path& path, const RegistryValue* value, std::uint64_t now) const;
    std::string InsertNewKey(const Path& path, const RegistryValue* value, std::uint64_t now) const;

    std::string m_text;
    std::string m_newline = "\n";
    bool m_valid = false;
    bool m_win64 = false;
    std::u16string m_rootPath;
    std::vector<Block> m_blocks;
    std::vector<Key> m_keys;
    std::unordered_map<ChildName, std::uint32_t, ChildNameHash, ChildNameEqual> m_children;
    mutable std::u16string m_folded;
};
