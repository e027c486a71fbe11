#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The instant messenger the About box reaches the author through (Windows Messenger's
// automation object on Windows).
class Messenger {
public:
    // One running messenger object; destroying it releases the object.
    class Instance {
    public:
        virtual ~Instance() = default;
        // The signed-in user's status, as the messenger numbers it; nullopt when it cannot
        // be read.
        virtual std::optional<std::int32_t> MyStatus() = 0;
        // Opens a conversation window with the contact, an 8-bit ANSI text.
        virtual void InstantMessage(const std::string& contact) = 0;
    };

    virtual ~Messenger() = default;
    // A fresh object; nullptr when the messenger is not installed or does not start.
    virtual std::unique_ptr<Instance> Create() = 0;
};
