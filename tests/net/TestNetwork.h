#pragma once

#include "TempDir.h"

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// The test program's own network, where test hosts live in namespaces that the test makes. The
// process first moves into a network and mount namespace of its own (loopback up; its own
// /etc/hosts, nsswitch.conf and resolv.conf); each TestNetwork then adds hosts behind veth
// pairs and removes them again. Nothing of it touches the machine's network or files, and
// all of it ends with the process.
class TestNetwork {
public:
    struct Output {
        int status = -1;
        std::string text;
    };

    // Enters the namespaces once per process; call it while the process has one thread. Empty
    // when the process is inside them, else why it is not (a test then skips with it).
    static std::string EnterPrivateNamespaces();
    // Runs a program to its end: its exit status and what it wrote to stdout and stderr.
    static Output Run(const std::vector<std::string>& args);

    TestNetwork() = default;
    ~TestNetwork();
    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // A namespace of count hosts on a subnet of its own; a silent one ignores echo requests.
    // Their dotted addresses. Throws when a step fails.
    std::vector<std::string> AddHosts(int count, bool answering);
    // An address on the last subnet that no host has: requests to it go unanswered.
    std::string VacantAddress() const;
    // The resolver of the process: these names in /etc/hosts and, when a name server is given,
    // DNS to it, else no DNS at all.
    static void UseResolver(const std::vector<std::pair<std::string, std::string>>& hosts,
                            const std::string& nameServer = {});
    // net.ipv4.ping_group_range of the process's namespace.
    static void SetPingGroupRange(const std::string& range);

private:
    std::vector<pid_t> m_hosts;
    int m_subnet = 0;
};
