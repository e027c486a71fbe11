#pragma once

#include "data/ForwardingRegistry.h"

#include <memory>

// Passes every call to the real registry, which it owns, and notes, for each key opened,
// whether the wait cursor was showing.
class CursorWatchingRegistry : public ForwardingRegistry {
public:
    explicit CursorWatchingRegistry(std::unique_ptr<RegistryApi> inner)
        : ForwardingRegistry(*inner), m_inner(std::move(inner))
    {
    }

    RegStatus OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                      RegHandle& result) override;
    RegStatus CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t access, RegHandle& result,
                        std::uint32_t* disposition) override;

    int OpenedWithWaitCursor = 0;
    int OpenedWithoutWaitCursor = 0;

private:
    void Note();
    std::unique_ptr<RegistryApi> m_inner;
};
