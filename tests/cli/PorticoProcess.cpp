#include "PorticoProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

PorticoProcess::Result PorticoProcess::Run(const std::filesystem::path& work,
                                           const std::vector<std::string>& arguments,
                                           const Options& options)
{
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const auto equals = variable.find('=');
        variables[variable.substr(0, equals)] = variable.substr(equals + 1);
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        variables.erase(name);
    variables["HOME"] = work.string();
    variables["WINEPREFIX"] = (work / "not-this-prefix").string();
    for (const auto& [name, value] : options.Environment)
        variables[name] = value;
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables)
        environment.push_back(name + "=" + value);

    std::vector<std::string> command;
    if (options.AsNobody)
        command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    command.push_back(PORTICO_EXECUTABLE);
    command.insert(command.end(), arguments.begin(), arguments.end());

    const auto output = work / "portico.out";
    const auto errors = work / "portico.err";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv = Pointers(command);
    std::vector<char*> envp = Pointers(environment);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    Result result;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return result;
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << "portico did not end by itself";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Output = Slurp(output);
    result.Errors = Slurp(errors);
    return result;
}
