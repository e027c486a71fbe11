#include "data/RegistryApi.h"

#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"

const ErrorTextSource& RegistryApi::ErrorTexts() const
{
    return ErrorTextTable::Shared();
}

RegStatus RegistryApi::CheckWritable()
{
    return ErrorCode::Success;
}
