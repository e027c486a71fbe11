#include "app/FilePicker.h"

#include <stdexcept>

namespace {
FilePicker* g_picker = nullptr;
} // namespace

FilePicker& FilePicker::Current()
{
    if (g_picker == nullptr)
        throw std::logic_error("FilePicker::Current() -> Error: no file picker installed");
    return *g_picker;
}

void FilePicker::Install(FilePicker* picker)
{
    g_picker = picker;
}
