#include "about/AbsentMessenger.h"

std::unique_ptr<Messenger::Instance> AbsentMessenger::Create()
{
    return nullptr;
}
