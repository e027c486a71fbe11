#pragma once

struct ScriptRequest;

// The command-line mode: one command on the registry of the Wine prefix, with no window and
// no display, printing to standard output and standard error.
class ScriptMode {
public:
    // Returns the exit status.
    static int Run(const ScriptRequest& request);
};
