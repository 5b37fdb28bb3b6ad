#include "batch/worker_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Only async-signal-safe calls between fork and exec.
void EcritErreur(int fd, const char* texte) {
    const ssize_t n = write(fd, texte, std::strlen(texte));
    (void)n;
}

[[noreturn]] void DevientTravailleur(char* const* argv, const char* dossier, const char* sortie,
                                     const char* erreurs, pid_t parent) {
    // The batch may have died between fork and prctl: then go at once.
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(127);
    if (chdir(dossier) != 0) _exit(127);
    const int err = open(erreurs, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int out = open(sortie, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int nul = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (err < 0 || out < 0 || nul < 0) _exit(127);
    if (dup2(nul, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0)
        _exit(127);
    // The batch catches Ctrl-C for itself; the worker gets the usual handling.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    execv(argv[0], argv);
    EcritErreur(STDERR_FILENO, "ruzo: can't start the worker program ");
    EcritErreur(STDERR_FILENO, argv[0]);
    EcritErreur(STDERR_FILENO, "\n");
    _exit(127);
}

}  // namespace

pid_t LanceTravailleur(const std::vector<std::string>& arguments, const std::string& dossier,
                       const std::string& sortie, const std::string& erreurs) {
    if (arguments.empty()) return -1;
    std::vector<std::string> copie = arguments;
    std::vector<char*> argv;
    for (std::string& a : copie) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        DevientTravailleur(argv.data(), dossier.c_str(), sortie.c_str(), erreurs.c_str(), parent);
    return pid;
}

bool RecueilleFinTravailleur(FinTravailleur& fin) {
    int etat = 0;
    rusage usage{};
    pid_t pid = -1;
    do {
        pid = wait4(-1, &etat, WNOHANG, &usage);
    } while (pid < 0 && errno == EINTR);
    if (pid <= 0) return false;
    fin.pid = pid;
    fin.code = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    fin.signal = WIFSIGNALED(etat) ? WTERMSIG(etat) : 0;
    fin.memoireMo = static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux counts kilobytes
    return true;
}

void ArreteTravailleur(pid_t pid, bool forcer) {
    if (pid > 0) kill(pid, forcer ? SIGKILL : SIGTERM);
}
