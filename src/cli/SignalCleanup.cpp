#include "cli/SignalCleanup.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "document/SafeFileWriter.h"

namespace vorel {

namespace {

bool IgnoredAtStart(int sig) {
  struct sigaction current {};
  return ::sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void InstallSignalCleanup() {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);

  sigset_t ending;
  sigemptyset(&ending);
  for (const int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU}) {
    if (!IgnoredAtStart(sig)) sigaddset(&ending, sig);
  }
  // Threads started later (OpenMP's) inherit the mask, so only the waiting
  // thread ever receives these signals.
  if (::pthread_sigmask(SIG_BLOCK, &ending, nullptr) != 0) return;
  std::thread([ending] {
    int sig = 0;
    while (::sigwait(&ending, &sig) != 0) {
    }
    DiscardStagedFiles();
    // End as the signal would have ended the process.
    ::signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(sig);
    ::_exit(128 + sig);
  }).detach();
}

}  // namespace vorel
