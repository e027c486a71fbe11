#include "data/RegistryApi.h"

#include "data/ErrorTextTable.h"

const ErrorTextSource& RegistryApi::ErrorTexts() const
{
    return ErrorTextTable::Shared();
}
