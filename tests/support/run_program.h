// Runs the built `ruzo` program for tests: one run with its output, or
// several at once.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_paths.h"

extern char** environ;

struct ResultatProgramme {
    int code = -1;       // exit code, or -1 when the program did not exit normally
    std::string sortie;  // stdout and stderr together
};

// The longest a run of the program may take in a test; the slowest takes
// seconds, even under the sanitizers. A run that is still going is stopped
// with its children, so that a stalled program fails its test instead of
// holding the whole suite.
constexpr int kSecondesMaxRun = 600;

// `arguments` is one shell-quoted argument string. A run stopped for taking
// too long exits with 124.
inline ResultatProgramme ExecuteRuzo(const std::string& arguments) {
    ResultatProgramme r;
    const std::string commande = "timeout -k 10 " + std::to_string(kSecondesMaxRun) + " '" +
                                 RUZO_PROGRAM + "' " + arguments + " 2>&1";
    std::FILE* tube = popen(commande.c_str(), "r");
    if (!tube) return r;
    char tampon[4096];
    size_t lus = 0;
    while ((lus = std::fread(tampon, 1, sizeof tampon, tube)) > 0) r.sortie.append(tampon, lus);
    const int etat = pclose(tube);
    if (WIFEXITED(etat)) r.code = WEXITSTATUS(etat);
    return r;
}

// Starts a run without waiting for it, its output to /dev/null; -1 when it
// cannot start.
inline pid_t LanceRuzo(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {RUZO_PROGRAM};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, RUZO_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit code of a run started by LanceRuzo; -1 when it did not exit
// normally, or was killed for running longer than kSecondesMaxRun.
inline int AttendRuzo(pid_t pid) {
    if (pid < 0) return -1;
    int etat = 0;
    const int attentes = 20 * kSecondesMaxRun;  // of 50 ms
    pid_t fini = 0;
    for (int i = 0; (fini = waitpid(pid, &etat, WNOHANG)) == 0; ++i) {
        if (i == attentes) kill(pid, SIGKILL);
        usleep(50 * 1000);
    }
    return fini == pid && WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

// Starts every run at once, waits for all; the exit codes in order.
inline std::vector<int> ExecuteRuzoEnParallele(const std::vector<std::vector<std::string>>& runs) {
    std::vector<pid_t> pids;
    for (const auto& arguments : runs) pids.push_back(LanceRuzo(arguments));
    std::vector<int> codes;
    for (pid_t pid : pids) codes.push_back(AttendRuzo(pid));
    return codes;
}
