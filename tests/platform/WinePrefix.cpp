#include "WinePrefix.h"

#include "HiveFiles.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

WinePrefix::WinePrefix(fs::path prefix) : m_prefix(std::move(prefix))
{
}

WinePrefix::~WinePrefix()
{
    std::error_code ignored;
    if (Available()) {
        Server({"-k"});
        Server({"-w"});
        const fs::path marker = m_prefix / "wineserver";
        const std::string name = fs::exists(marker) ? HiveFiles::Read(marker.string()) : "";
        if (!name.empty() && name.find('/') == std::string::npos && name[0] != '.')
            fs::remove_all(fs::temp_directory_path() / name.substr(0, name.find('\n')), ignored);
    }
    for (const char* extension : {".log", ".out"})
        fs::remove(m_prefix.string() + extension, ignored);
}

bool WinePrefix::Available()
{
    return !std::string(PORTICO_WINE).empty() && !std::string(PORTICO_WINESERVER).empty();
}

std::string WinePrefix::WindowsPath(const fs::path& path)
{
    std::string text = "Z:" + fs::absolute(path).string();
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    return text;
}

int WinePrefix::Wine(const std::vector<std::string>& arguments,
                     std::map<std::string, std::string> environment, std::string* output) const
{
    std::vector<std::string> command{PORTICO_WINE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Run(command, std::move(environment), output);
}

int WinePrefix::Server(const std::vector<std::string>& arguments,
                       std::map<std::string, std::string> environment) const
{
    std::vector<std::string> command{PORTICO_WINESERVER};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Run(command, std::move(environment), nullptr);
}

int WinePrefix::Run(const std::vector<std::string>& command,
                    std::map<std::string, std::string> environment, std::string* output) const
{
    environment["WINEPREFIX"] = m_prefix.string();
    environment["WINEDEBUG"] = "-all";
    environment["WINEDLLOVERRIDES"] = "mscoree,mshtml=";
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && !environment.count(name))
            variables.push_back(variable);
    }
    for (const auto& [name, value] : environment)
        variables.push_back(name + "=" + value);
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : variables)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    const std::string log = m_prefix.string() + ".log";
    const std::string captured = m_prefix.string() + ".out";

    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int input = open("/dev/null", O_RDONLY);
        const int errors = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int out =
            output ? open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : errors;
        dup2(input, 0);
        dup2(out, 1);
        dup2(errors, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + 180s;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(20ms);
    }
    if (output)
        *output = HiveFiles::Read(captured);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string WinePrefix::ExportedData(const fs::path& file, const std::string& valueName)
{
    const std::string bytes = HiveFiles::Read(file.string());
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned unit =
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\\\r\n") == 0) {
            i += 3;
            while (i < text.size() && text[i] == ' ')
                ++i;
            --i;
            continue;
        }
        joined.push_back(text[i]);
    }
    const std::string start = "\"" + valueName + "\"=hex(7):";
    const std::size_t at = joined.find(start);
    if (at == std::string::npos)
        return "<missing>";
    std::string data;
    for (std::size_t i = at + start.size(); i + 1 < joined.size(); i += 3) {
        data.push_back(static_cast<char>(std::stoi(joined.substr(i, 2), nullptr, 16)));
        if (i + 2 >= joined.size() || joined[i + 2] != ',')
            break;
    }
    return data;
}
