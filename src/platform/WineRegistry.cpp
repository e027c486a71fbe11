#include "platform/WineRegistry.h"

#include "data/AnsiCodePage.h"
#include "data/ErrorCodes.h"
#include "platform/CachedHive.h"
#include "platform/HiveIndex.h"
#include "platform/RegistryCase.h"
#include "platform/WineServerDetector.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace {
constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::uint32_t kOptionVolatile = 0x0001;
constexpr std::uint32_t kTypeLink = 6;
constexpr int kMaxLinkDepth = 16;

using Path = RegistryHive::Path;

// The path of a subkey given in the ANSI code page, below an open key.
Path Below(Path path, const std::string& subKey)
{
    for (std::u16string& name : HiveIndex::SplitPath(AnsiCodePage::ToUtf16(subKey)))
        path.push_back(std::move(name));
    return path;
}

bool IsStringType(std::uint32_t type)
{
    return type == Reg::TypeSz || type == Reg::TypeExpandSz || type == Reg::TypeMultiSz;
}

// What RegSetValueExA stores: string types converted from the ANSI code page to UTF-16.
std::string StoredData(std::uint32_t type, const std::uint8_t* data, std::uint32_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!IsStringType(type))
        return bytes;
    std::string stored;
    stored.reserve(bytes.size() * 2);
    for (const char16_t unit : AnsiCodePage::ToUtf16(bytes)) {
        stored.push_back(static_cast<char>(unit & 0xFF));
        stored.push_back(static_cast<char>(unit >> 8));
    }
    return stored;
}

// The UTF-16LE data of a value as code units; an odd last byte is dropped.
std::u16string Units(const std::string& data)
{
    std::u16string units;
    units.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                              static_cast<unsigned char>(data[i + 1]) << 8));
    return units;
}

// What RegQueryValueExA returns: string types converted back to the ANSI code page.
std::string AnsiData(const RegistryValue& value)
{
    if (!IsStringType(value.type))
        return value.data;
    return AnsiCodePage::FromUtf16(Units(value.data));
}

std::uint64_t Now()
{
    using namespace std::chrono;
    const auto ticks =
        duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
    return static_cast<std::uint64_t>(ticks) + 116444736000000000ULL;
}
} // namespace

struct WineRegistry::State {
    enum class HiveId { User, Machine };
    struct Key {
        HiveId hive;
        Path path;
        std::uint32_t access;
    };

    explicit State(std::string prefixPath)
        : prefix(std::move(prefixPath)), user(prefix + "/user.reg"), machine(prefix + "/system.reg")
    {
    }

    CachedHive& File(HiveId id) { return id == HiveId::User ? user : machine; }

    std::optional<Key> Base(RegHandle root) const
    {
        if (root == Reg::CurrentUser)
            return Key{HiveId::User, {}, kAllAccess};
        if (root == Reg::LocalMachine)
            return Key{HiveId::Machine, {}, kAllAccess};
        const auto it = handles.find(root);
        if (it == handles.end())
            return std::nullopt;
        return it->second;
    }

    RegHandle Add(Key key)
    {
        const RegHandle handle = next++;
        handles.emplace(handle, std::move(key));
        return handle;
    }

    // A 32-bit program's HKEY_LOCAL_MACHINE\Software is Software\Wow6432Node in a 64-bit
    // prefix.
    static bool RedirectTo32Bit(const RegistryHive& hive, RegHandle root, Path& path)
    {
        if (root != Reg::LocalMachine || !hive.IsWin64() || path.empty() ||
            RegistryCase::Fold(path[0]) != u"software")
            return false;
        if (path.size() > 1 && RegistryCase::Fold(path[1]) == u"wow6432node")
            return false;
        path.insert(path.begin() + 1, u"Wow6432Node");
        return true;
    }

    // Follows the symbolic-link keys along the path, as Wine does for the keys that both
    // views share.
    static Path FollowLinks(const RegistryHive& hive, Path path)
    {
        const std::u16string root = RegistryCase::Fold(hive.RootPath()) + u"\\";
        for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
            bool followed = false;
            for (std::size_t i = 1; i <= path.size() && !followed; ++i) {
                const std::size_t key = hive.FindKey(Path(path.begin(), path.begin() + i));
                if (key == RegistryHive::npos)
                    return path;
                if (!hive.IsLink(key))
                    continue;
                const RegistryValue* link = hive.FindValue(key, u"SymbolicLinkValue");
                if (!link || link->type != kTypeLink)
                    continue;
                const std::u16string target = Units(link->data);
                if (root.size() < 2 || RegistryCase::Fold(target.substr(0, root.size())) != root)
                    return path;
                Path resolved =
                    HiveIndex::SplitPath(std::u16string_view(target).substr(root.size()));
                resolved.insert(resolved.end(), path.begin() + i, path.end());
                path = std::move(resolved);
                followed = true;
            }
            if (!followed)
                return path;
        }
        return path;
    }

    // Writes the hive with one edit applied to its current content, never while a
    // wineserver runs for the prefix (it would overwrite the file from its memory).
    RegStatus Store(HiveId id, const std::function<std::string(const RegistryHive&)>& edit)
    {
        const std::optional<WineServerDetector::Hold> hold = WineServerDetector::Acquire(prefix);
        if (!hold)
            return ErrorCode::WineServerRunning;
        CachedHive& file = File(id);
        if (const RegStatus status = file.Refresh())
            return status;
        std::string text = edit(file.Hive());
        if (text == file.Hive().Text())
            return ErrorCode::Success;
        return file.Write(std::move(text));
    }

    std::string prefix;
    CachedHive user;
    CachedHive machine;
    std::unordered_map<RegHandle, Key> handles;
    RegHandle next = 0x1000;
};

WineRegistry::WineRegistry(std::string prefixPath)
    : m_state(std::make_unique<State>(std::move(prefixPath)))
{
}

WineRegistry::WineRegistry(WineRegistry&& other) noexcept = default;
WineRegistry& WineRegistry::operator=(WineRegistry&& other) noexcept = default;
WineRegistry::~WineRegistry() = default;

std::string WineRegistry::PrefixFromEnvironment()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.wine";
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
        return std::string(user->pw_dir) + "/.wine";
    return "/.wine";
}

RegStatus WineRegistry::CheckWritable()
{
    return WineServerDetector::IsRunning(m_state->prefix) ? ErrorCode::WineServerRunning
                                                          : ErrorCode::Success;
}

const std::string& WineRegistry::PrefixPath() const
{
    return m_state->prefix;
}

RegStatus WineRegistry::OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                                RegHandle& result)
{
    result = 0;
    std::optional<State::Key> base = m_state->Base(root);
    if (!base)
        return ErrorCode::InvalidHandle;
    CachedHive& file = m_state->File(base->hive);
    if (const RegStatus status = file.Refresh())
        return status;
    const RegistryHive& hive = file.Hive();

    const Path requested = Below(base->path, subKey);
    Path path = requested;
    const bool redirected = State::RedirectTo32Bit(hive, root, path);
    path = State::FollowLinks(hive, std::move(path));
    if (hive.FindKey(path) == RegistryHive::npos) {
        // Keys that were added with a 64-bit tool are found in the 64-bit view when the
        // 32-bit one lacks them; writes never go there.
        if (!redirected || (access & (kSetValue | kCreateSubKey)) != 0)
            return ErrorCode::FileNotFound;
        path = State::FollowLinks(hive, requested);
        if (hive.FindKey(path) == RegistryHive::npos)
            return ErrorCode::FileNotFound;
    }
    result = m_state->Add({base->hive, std::move(path), access});
    return ErrorCode::Success;
}

RegStatus WineRegistry::QueryValue(RegHandle key, const std::string& valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size)
{
    const std::optional<State::Key> open = m_state->Base(key);
    if (!open)
        return ErrorCode::InvalidHandle;
    if ((open->access & kQueryValue) == 0)
        return ErrorCode::AccessDenied;
    if (data && !size)
        return ErrorCode::InvalidParameter;
    CachedHive& file = m_state->File(open->hive);
    if (const RegStatus status = file.Refresh())
        return status;
    const RegistryHive& hive = file.Hive();
    const std::size_t found = hive.FindKey(open->path);
    if (found == RegistryHive::npos)
        return ErrorCode::KeyDeleted;
    const RegistryValue* value = hive.FindValue(found, AnsiCodePage::ToUtf16(valueName));
    if (!value)
        return ErrorCode::FileNotFound;

    if (type)
        *type = value->type;
    if (!size)
        return ErrorCode::Success;
    const std::string bytes = AnsiData(*value);
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data && *size < needed) {
        *size = needed;
        return ErrorCode::MoreData;
    }
    if (data)
        std::copy(bytes.begin(), bytes.end(), data);
    *size = needed;
    return ErrorCode::Success;
}

RegStatus WineRegistry::CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                                  std::uint32_t access, RegHandle& result,
                                  std::uint32_t* disposition)
{
    result = 0;
    // Wine never writes volatile keys to its files, so they cannot outlive this object.
    if (options & kOptionVolatile)
        return ErrorCode::InvalidParameter;
    std::optional<State::Key> base = m_state->Base(root);
    if (!base)
        return ErrorCode::InvalidHandle;
    CachedHive& file = m_state->File(base->hive);
    if (const RegStatus status = file.Refresh())
        return status;

    Path path = Below(base->path, subKey);
    State::RedirectTo32Bit(file.Hive(), root, path);
    path = State::FollowLinks(file.Hive(), std::move(path));

    std::uint32_t outcome = Reg::OpenedExistingKey;
    if (file.Hive().FindKey(path) == RegistryHive::npos) {
        const RegStatus status = m_state->Store(
            base->hive, [&path](const RegistryHive& hive) { return hive.WithKey(path, Now()); });
        if (status)
            return status;
        outcome = Reg::CreatedNewKey;
    }
    if (disposition)
        *disposition = outcome;
    result = m_state->Add({base->hive, std::move(path), access});
    return ErrorCode::Success;
}

RegStatus WineRegistry::SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size)
{
    const std::optional<State::Key> open = m_state->Base(key);
    if (!open)
        return ErrorCode::InvalidHandle;
    if ((open->access & kSetValue) == 0)
        return ErrorCode::AccessDenied;
    if (!data && size != 0)
        return ErrorCode::InvalidParameter;
    RegistryValue value{AnsiCodePage::ToUtf16(valueName), type, StoredData(type, data, size)};
    return m_state->Store(open->hive, [&open, &value](const RegistryHive& hive) {
        return hive.WithValue(open->path, value, Now());
    });
}

RegStatus WineRegistry::CloseKey(RegHandle key)
{
    if (key == Reg::CurrentUser || key == Reg::LocalMachine)
        return ErrorCode::Success;
    return m_state->handles.erase(key) ? ErrorCode::Success : ErrorCode::InvalidHandle;
}
