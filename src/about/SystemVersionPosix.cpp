#include "about/SystemVersion.h"

#include "about/PosixSystemReader.h"

std::string GetOsVersionText()
{
    return PosixSystem{PosixSystemReader::ReadOsRelease(PosixSystemReader::OsReleasePaths()),
                       PosixSystemReader::RunningKernel()}
        .Describe();
}
