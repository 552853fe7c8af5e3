// A disk that takes its time: preloaded into pelgar-sim, every fsync() waits 200 ms before
// it syncs, as a loaded machine's disk may. The reader's replies must not wait with it.
#include <dlfcn.h>
#include <unistd.h>

extern "C" int fsync(int fd) {
  using Fsync = int (*)(int);
  static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
  usleep(200'000);
  return real(fd);
}
