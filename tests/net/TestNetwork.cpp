#include "TestNetwork.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sched.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// The files of the resolver that stand in for the machine's, for the life of the process.
const char* const kResolverFiles[] = {"hosts", "nsswitch.conf", "resolv.conf"};

TempDir& ResolverDir()
{
    static TempDir dir;
    return dir;
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void MustRun(const std::vector<std::string>& args)
{
    const TestNetwork::Output output = TestNetwork::Run(args);
    if (output.status != 0) {
        std::string line;
        for (const auto& arg : args)
            line += arg + " ";
        throw std::runtime_error(line + "failed: " + output.text);
    }
}

std::vector<std::string> InNamespace(pid_t host, std::vector<std::string> args)
{
    args.insert(args.begin(), {"nsenter", "--net=/proc/" + std::to_string(host) + "/ns/net"});
    return args;
}

// A process that only holds a network namespace of its own until it is killed, or until the
// thread that made it ends.
pid_t StartNamespaceHolder()
{
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const char answer = unshare(CLONE_NEWNET) == 0 ? 'y' : 'n';
        if (write(ready[1], &answer, 1) != 1 || answer != 'y')
            _exit(1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char answer = 'n';
    const bool made = pid > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    if (!made) {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        throw std::runtime_error("cannot make a network namespace for test hosts");
    }
    return pid;
}
} // namespace

std::string TestNetwork::EnterPrivateNamespaces()
{
    static const std::string reason = []() -> std::string {
        if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
            return std::string("cannot create network and mount namespaces (") +
                   std::strerror(errno) + "): the tests labelled net need root";
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make the mounts private: ") + std::strerror(errno);
        try {
            for (const char* name : kResolverFiles) {
                const std::string ours = (ResolverDir().Path() / name).string();
                const std::string theirs = std::string("/etc/") + name;
                WriteFile(ours, "");
                if (mount(ours.c_str(), theirs.c_str(), nullptr, MS_BIND, nullptr) != 0)
                    return "cannot stand in for " + theirs + ": " + std::strerror(errno);
            }
            UseResolver({});
            MustRun({"ip", "link", "set", "lo", "up"});
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }();
    return reason;
}

TestNetwork::Output TestNetwork::Run(const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    Output output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        output.text.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    if (spawned != 0) {
        output.text = args[0] + ": " + std::strerror(spawned);
        return output;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TestNetwork::~TestNetwork()
{
    // A namespace goes with its last process, and its veth pair with it.
    for (const pid_t host : m_hosts) {
        kill(host, SIGKILL);
        waitpid(host, nullptr, 0);
    }
}

std::vector<std::string> TestNetwork::AddHosts(int count, bool answering)
{
    // Subnets count on across the process, as the veth pairs of earlier tests may linger.
    static int s_subnets = 0;
    m_subnet = ++s_subnets;
    const std::string prefix = "10.77." + std::to_string(m_subnet) + ".";
    const std::string near = "pt" + std::to_string(m_subnet);
    const std::string far = "ph" + std::to_string(m_subnet);

    const pid_t host = StartNamespaceHolder();
    m_hosts.push_back(host);
    MustRun({"ip", "link", "add", near, "type", "veth", "peer", "name", far});
    MustRun({"ip", "link", "set", far, "netns", std::to_string(host)});
    MustRun({"ip", "addr", "add", prefix + "1/24", "dev", near});
    MustRun({"ip", "link", "set", near, "up"});

    std::vector<std::string> addresses;
    for (int i = 0; i < count; ++i) {
        addresses.push_back(prefix + std::to_string(2 + i));
        MustRun(InNamespace(host, {"ip", "addr", "add", addresses.back() + "/24", "dev", far}));
    }
    MustRun(InNamespace(host, {"ip", "link", "set", far, "up"}));
    MustRun(InNamespace(host, {"ip", "link", "set", "lo", "up"}));
    if (!answering) {
        MustRun(
            InNamespace(host, {"sh", "-c", "echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all"}));
    }
    return addresses;
}

std::string TestNetwork::VacantAddress() const
{
    return "10.77." + std::to_string(m_subnet) + ".250";
}

void TestNetwork::UseResolver(const std::vector<std::pair<std::string, std::string>>& hosts,
                              const std::string& nameServer)
{
    std::string table = "127.0.0.1 localhost\n";
    for (const auto& [name, address] : hosts)
        table += address + " " + name + "\n";
    const auto dir = ResolverDir().Path();
    WriteFile((dir / "hosts").string(), table);
    WriteFile((dir / "nsswitch.conf").string(),
              nameServer.empty() ? "hosts: files\n" : "hosts: files dns\n");
    // One try of two seconds: a lookup that nobody answers still ends soon.
    WriteFile((dir / "resolv.conf").string(),
              "nameserver " + (nameServer.empty() ? std::string("127.0.0.1") : nameServer) +
                  "\noptions timeout:2 attempts:1\n");
}

void TestNetwork::SetPingGroupRange(const std::string& range)
{
    WriteFile("/proc/sys/net/ipv4/ping_group_range", range + "\n");
}
