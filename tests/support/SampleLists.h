#pragma once

#include <ostream>
#include <string>
#include <vector>

// Gateway-list values that show a fault of encoding or of size: what the registry gives back
// must be these bytes exactly.
struct SampleList {
    const char* name;
    std::string bytes;
};

// Test names show the list's name, not its bytes.
void PrintTo(const SampleList& list, std::ostream* out);

class SampleLists {
public:
    // The marker, the count "00" and the closing NUL: 9 bytes.
    static SampleList Empty();
    // Names with 8-bit characters of Windows-1252, the five bytes it leaves undefined, and
    // the control bytes that real server names carry; an empty time zone.
    static SampleList EightBitNames();
    // Every byte value from 1 to 255 in the texts, 1,089 bytes in all: beyond the 1,024-byte
    // buffer of a first read.
    static SampleList OverOneKilobyte();
    static std::vector<SampleList> All();
};
