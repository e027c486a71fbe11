#include "data/RegistryApi.h"

#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"

const ErrorTextSource& RegistryApi::ErrorTexts() const
{
    static const ErrorTextTable table;
    return table;
}

RegStatus RegistryApi::CheckWritable()
{
    return ErrorCode::Success;
}
