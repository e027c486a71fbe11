#include "FakeMessenger.h"

#include <stdexcept>

namespace {
class FakeInstance : public Messenger::Instance {
public:
    explicit FakeInstance(FakeMessenger& owner) : m_owner(owner) { ++m_owner.Alive; }
    ~FakeInstance() override { --m_owner.Alive; }

    std::optional<std::int32_t> MyStatus() override { return m_owner.Status; }

    void InstantMessage(const std::string& contact) override
    {
        if (m_owner.ConversationFailure == FakeMessenger::Failure::StdException)
            throw std::runtime_error("conversation window refused");
        if (m_owner.ConversationFailure == FakeMessenger::Failure::OtherException)
            throw 42;
        m_owner.Conversations.push_back(contact);
    }

private:
    FakeMessenger& m_owner;
};
} // namespace

std::unique_ptr<Messenger::Instance> FakeMessenger::Create()
{
    ++Created;
    if (!Installed)
        return nullptr;
    return std::make_unique<FakeInstance>(*this);
}
