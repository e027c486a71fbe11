#pragma once

#include <QString>

// What the desktop knows the program by: its version and the application id that names its
// desktop entry, icon and metainfo. Both come from the build, which writes the same values
// into the installed files.
class AppIdentity {
public:
    static QString Version();
    static QString ApplicationId();

    // Tells Qt the version and the desktop entry, which Wayland compositors and task bars use to
    // find the program's name and icon. Call it once the QApplication exists.
    static void Apply();
};
