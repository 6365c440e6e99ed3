#include "app/crash_clean_up.h"

#include <signal.h>

#include <cstdlib>
#include <exception>
#include <mutex>

#include "common/temp_registry.h"

namespace zendor {
namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

struct sigaction gPrevious[NSIG];
std::terminate_handler gPreviousTerminate = nullptr;

void OnFatalSignal(int signal, siginfo_t* info, void*) {
  TempFileRegistry::DeleteAllInEmergency();
  sigaction(signal, &gPrevious[signal], nullptr);
  // A signal that was sent is sent again to the handler before ours; a fault simply happens
  // again when this handler returns, and reaches it with its real cause.
  if (signal == SIGABRT || info == nullptr || info->si_code <= 0) raise(signal);
}

[[noreturn]] void OnTerminate() {
  TempFileRegistry::DeleteAllInEmergency();
  if (gPreviousTerminate) gPreviousTerminate();
  std::abort();
}

// Room for the handler when the stack itself has overflowed, unless someone made it already.
void EnsureSignalStack() {
  stack_t current{};
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  static char room[64 * 1024];
  stack_t ours{};
  ours.ss_sp = room;
  ours.ss_size = sizeof room;
  sigaltstack(&ours, nullptr);
}

}  // namespace

void InstallCrashCleanUp() {
  static std::once_flag once;
  std::call_once(once, [] {
    gPreviousTerminate = std::set_terminate(OnTerminate);
    std::atexit([] { TempFileRegistry::DeleteAllInEmergency(); });
    EnsureSignalStack();
    struct sigaction ours {};
    ours.sa_sigaction = OnFatalSignal;
    ours.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&ours.sa_mask);
    for (const int signal : kFatalSignals) sigaction(signal, &ours, &gPrevious[signal]);
  });
}

}  // namespace zendor
