#pragma once

#include "data/ErrorTextSource.h"

// Our own texts for every error code that Portico can meet, worded as the system words them.
class ErrorTextTable : public ErrorTextSource {
public:
    std::string SystemText(std::uint32_t code) const override;

    // The one table, for whatever has no system texts of its own.
    static const ErrorTextTable& Shared();
};
