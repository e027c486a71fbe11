#include "net/SocketApi.h"

#include "data/ErrorTextTable.h"

const ErrorTextSource& SocketApi::ErrorTexts() const
{
    return ErrorTextTable::Shared();
}
