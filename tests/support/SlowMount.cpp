// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SlowMount.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Debian's own interpreter: python3-fusepy is installed for it, not for one earlier on PATH.
constexpr const char* kPython = "/usr/bin/python3";

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool isMountPoint(const std::string& path) {
    std::ifstream mounts("/proc/self/mounts");
    std::string device, point, rest;
    while (mounts >> device >> point && std::getline(mounts, rest))
        if (point == path)
            return true;
    return false;
}

std::string firstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty())
            last = line; // a Python error ends with its message
    return last;
}

int connectTo(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return -1;
    std::strcpy(address.sun_path, socketPath.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

SlowMount::SlowMount(Options options) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_skipReason = "/dev/fuse is missing or not usable here, so no slow file system";
        return;
    }
    if (!run("command -v fusermount")) {
        m_skipReason = "fusermount is not installed (fuse3, scripts/install-deps.sh)";
        return;
    }
    if (!run(std::string(kPython) + " -c 'import fusepy'")) {
        m_skipReason = "python3-fusepy is not installed (scripts/install-deps.sh)";
        return;
    }
    m_mountPoint = m_dir.makeDir("mnt");
    const std::string control = m_dir.file("control");
    const std::string log = m_dir.file("slowfs.log");
    const std::string delay = std::to_string(options.delayMs);
    std::vector<std::string> args = {kPython,     NADELIX_SLOWFS, m_backing.path(), m_mountPoint,
                                     "--control", control,        "--delay-ms",     delay};
    if (options.listingTypes)
        args.push_back("--listing-types");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&m_pid, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_pid = -1;
        m_skipReason = std::string("cannot start slowfs.py: ") + std::strerror(spawned);
        return;
    }
    for (int i = 0; i < 250; ++i) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_skipReason = "slowfs.py could not mount: " + firstLine(log);
            return;
        }
        if (m_control < 0)
            m_control = connectTo(control);
        if (m_control >= 0 && isMountPoint(m_mountPoint)) {
            m_mounted = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_skipReason = "the slow file system did not appear as mounted";
}

SlowMount::~SlowMount() {
    if (m_control >= 0) {
        command("delay 0");
        command("release");
        ::close(m_control);
    }
    if (m_pid < 0)
        return;
    // Lazily, so that files a test left open, or a request still on its way, never hold us here;
    // umount2 directly where allowed, since fusermount looks at the mount point first.
    if (::umount2(m_mountPoint.c_str(), MNT_DETACH) != 0)
        run("fusermount -uz '" + m_mountPoint + "'");
    // Unmounted, the file system ends by itself once its open files are closed; files a test's
    // abandoned worker still holds would keep it, so it is ended after a short while.
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, &status, 0);
}

std::string SlowMount::command(const std::string& line) {
    if (m_control < 0)
        return {};
    const std::string out = line + "\n";
    if (::send(m_control, out.data(), out.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(out.size()))
        return {};
    std::string answer;
    char c = 0;
    while (::recv(m_control, &c, 1, 0) == 1 && c != '\n')
        answer += c;
    return answer;
}

void SlowMount::setDelay(int milliseconds) {
    command("delay " + std::to_string(milliseconds));
}

void SlowMount::hang(std::string_view pathInside) {
    command("hang /" + std::string(pathInside));
}

void SlowMount::release() {
    command("release");
}

long SlowMount::requests() {
    return std::strtol(command("count").c_str(), nullptr, 10);
}

void SlowMount::resetRequests() {
    command("reset");
}

long SlowMount::blocked() {
    return std::strtol(command("blocked").c_str(), nullptr, 10);
}
