// POSIX stand-in of the program launch: the command line runs through the
// shell, detached, so the caller neither waits for it nor has to reap it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/process.h"

namespace platform {

bool launchHidden(const std::string& commandLine) {
  int ready[2];
  // Close-on-exec: a successful exec closes the write end, a failed one
  // writes a byte into it.
  if (::pipe2(ready, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(ready[0]);
    ::close(ready[1]);
    return false;
  }
  if (child == 0) {
    // The intermediate child starts the grandchild and leaves at once; the
    // grandchild reports through the pipe whether the shell could start.
    ::close(ready[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char*>(nullptr));
      char failed = 1;
      (void)!::write(ready[1], &failed, 1);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  ::close(ready[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  char failed = 0;
  bool execFailed = ::read(ready[0], &failed, 1) == 1;
  ::close(ready[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && !execFailed;
}

}  // namespace platform
