#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// The real program, run with no display of any kind and with its output kept.
class PorticoProcess {
public:
    struct Result {
        int ExitStatus = -1;
        std::string Output;
        std::string Errors;
    };

    struct Options {
        // Variables to set (HOME and WINEPREFIX point into the work folder unless set here).
        std::map<std::string, std::string> Environment;
        // Run as the unprivileged user 65534 (through setpriv), for a root that would
        // otherwise write anywhere.
        bool AsNobody = false;
    };

    // work: a folder for the output files and the default home.
    static Result Run(const std::filesystem::path& work, const std::vector<std::string>& arguments,
                      const Options& options);
    static Result Run(const std::filesystem::path& work, const std::vector<std::string>& arguments)
    {
        return Run(work, arguments, Options{});
    }
};
