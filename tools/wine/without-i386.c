// Runs a command as on a machine whose kernel runs no 32-bit x86 code, so that
// a machine that runs it can check what such a machine does: any process that
// makes a 32-bit system call is ended at once (a seccomp filter, inherited by
// everything the command starts), and the command has a user and mount
// namespace of its own, with a binfmt_misc of its own (Linux 6.7 and later),
// empty at first. make deps inside then sets up qemu there as on such a
// machine, and qemu, a 64-bit program, runs the 32-bit ones; nothing else can.
// Built and started by tools/wine/without-i386.sh, as root.
#define _GNU_SOURCE
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <signal.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

__attribute__((noreturn)) static void fail(const char* what) {
  perror(what);
  exit(1);
}

static void writeFile(const char* path, const char* text) {
  const int fd = open(path, O_WRONLY);
  if (fd < 0 || write(fd, text, strlen(text)) < 0) fail(path);
  close(fd);
}

// Only a process outside the new user namespace may map every user and group
// into it as they are outside: the parent does, once the child has entered it,
// then waits for it and ends as it ended.
static void mapIdsOfChildAndWait(pid_t child, int entered, int mapped) {
  char byte, path[64];
  if (read(entered, &byte, 1) != 1) exit(1);
  snprintf(path, sizeof path, "/proc/%d/uid_map", child);
  writeFile(path, "0 0 4294967295");
  snprintf(path, sizeof path, "/proc/%d/gid_map", child);
  writeFile(path, "0 0 4294967295");
  if (write(mapped, "x", 1) != 1) exit(1);
  signal(SIGINT, SIG_IGN);
  signal(SIGTERM, SIG_IGN);
  int status;
  waitpid(child, &status, 0);
  exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
}

static void enterNamespacesWithBinfmtMiscOfTheirOwn(void) {
  int entered[2], mapped[2];
  if (pipe(entered) || pipe(mapped)) fail("pipe");
  const pid_t child = fork();
  if (child < 0) fail("fork");
  if (child > 0) mapIdsOfChildAndWait(child, entered[0], mapped[1]);
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS)) fail("unshare");
  char byte;
  if (write(entered[1], "x", 1) != 1 || read(mapped[0], &byte, 1) != 1) exit(1);
  if (mount(NULL, "/", NULL, MS_REC | MS_PRIVATE, NULL)) fail("making mounts private");
  if (mount("binfmt_misc", "/proc/sys/fs/binfmt_misc", "binfmt_misc", 0, NULL))
    fail("mounting a binfmt_misc of its own (Linux 6.7 or later)");
}

static void refuseI386SystemCalls(void) {
  struct sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_I386, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  struct sock_fprog program = {sizeof filter / sizeof filter[0], filter};
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program)) fail("seccomp");
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "Usage: without-i386 COMMAND [ARGUMENT...]\n");
    return 2;
  }
  enterNamespacesWithBinfmtMiscOfTheirOwn();
  refuseI386SystemCalls();
  execvp(argv[1], argv + 1);
  fail(argv[1]);
}
