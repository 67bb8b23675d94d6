#include "veltrane/codec/MappedFile.h"

#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>

#include <mutex>

namespace veltrane {

bool MappedFile::Map(int fd, uint64_t size) {
  Unmap();
  if (size == 0 || size > SIZE_MAX) return false;
  void* mapped = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (mapped == MAP_FAILED) return false;
  bytes_ = static_cast<const uint8_t*>(mapped);
  size_ = size;
  return true;
}

void MappedFile::Unmap() {
  if (!bytes_) return;
  ::munmap(const_cast<uint8_t*>(bytes_), static_cast<size_t>(size_));
  bytes_ = nullptr;
  size_ = 0;
}

namespace {

// The way back into the guarded read running on this thread, if any.
thread_local sigjmp_buf* tGuard = nullptr;
struct sigaction gPrevious {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  if (sigjmp_buf* guard = tGuard) {
    tGuard = nullptr;
    siglongjmp(*guard, 1);
  }
  // Not ours: hand the signal to whoever handled it before.
  if (gPrevious.sa_flags & SA_SIGINFO) {
    gPrevious.sa_sigaction(signal, info, context);
  } else if (gPrevious.sa_handler != SIG_IGN && gPrevious.sa_handler != SIG_DFL) {
    gPrevious.sa_handler(signal);
  } else {
    // Returning re-runs a faulting access, which then meets the previous disposition;
    // a signal sent by someone is sent again for it.
    ::sigaction(SIGBUS, &gPrevious, nullptr);
    if (info->si_code <= 0) ::raise(signal);
  }
}

void InstallHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &gPrevious);
  });
}

}  // namespace

bool ReadGuarded(const std::function<void()>& read) {
  InstallHandler();
  sigjmp_buf guard;
  if (sigsetjmp(guard, 1) != 0) return false;
  tGuard = &guard;
  read();
  tGuard = nullptr;
  return true;
}

}  // namespace veltrane
