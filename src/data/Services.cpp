#include "data/Services.h"

#include "data/ErrorTextTable.h"

#include <stdexcept>

namespace {
RegistryApi* g_registry = nullptr;
MessagePresenter* g_presenter = nullptr;
const ErrorTextSource* g_errorTexts = nullptr;

template <typename T> T& Required(T* service, const char* what)
{
    if (service == nullptr)
        throw std::logic_error(what);
    return *service;
}
} // namespace

RegistryApi& Services::Registry()
{
    return Required(g_registry, "Services::Registry() -> Error: no registry installed");
}

MessagePresenter& Services::Presenter()
{
    return Required(g_presenter, "Services::Presenter() -> Error: no presenter installed");
}

const ErrorTextSource& Services::ErrorTexts()
{
    static const ErrorTextTable table;
    return g_errorTexts != nullptr ? *g_errorTexts : table;
}

void Services::SetRegistry(RegistryApi* registry)
{
    g_registry = registry;
}

void Services::SetPresenter(MessagePresenter* presenter)
{
    g_presenter = presenter;
}

void Services::SetErrorTexts(const ErrorTextSource* texts)
{
    g_errorTexts = texts;
}
