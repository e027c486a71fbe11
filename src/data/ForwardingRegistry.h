#pragma once

#include "data/RegistryApi.h"

// Passes every call on to another registry, which can be changed between calls: the windows
// keep one registry while the prefix behind it changes.
class ForwardingRegistry : public RegistryApi {
public:
    explicit ForwardingRegistry(RegistryApi& target) : m_target(&target) {}

    RegistryApi& Target() const { return *m_target; }
    // Keys opened through the old target must be closed before.
    void SetTarget(RegistryApi& target) { m_target = &target; }

    RegStatus OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                      RegHandle& result) override;
    RegStatus QueryValue(RegHandle key, const std::string& valueName, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override;
    RegStatus CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t access, RegHandle& result,
                        std::uint32_t* disposition) override;
    RegStatus SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus CloseKey(RegHandle key) override;
    RegStatus CheckWritable() override;
    const ErrorTextSource& ErrorTexts() const override;

private:
    RegistryApi* m_target;
};
