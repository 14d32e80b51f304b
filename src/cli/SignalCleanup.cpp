#include "cli/SignalCleanup.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "document/SafeFileWriter.h"

namespace vorel {

namespace {

pthread_t waiter;

// Threads that were started before main() (a numerical library's workers)
// do not block the ending signals, so one of them may receive one: it hands
// the signal on to the waiting thread.
void ForwardToWaiter(int sig) { ::pthread_kill(waiter, sig); }

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
  std::thread thread([ending] {
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
  });
  waiter = thread.native_handle();
  thread.detach();
  struct sigaction forward {};
  forward.sa_handler = ForwardToWaiter;
  sigemptyset(&forward.sa_mask);
  for (const int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU}) {
    if (sigismember(&ending, sig) == 1) ::sigaction(sig, &forward, nullptr);
  }
}

}  // namespace vorel
