/* Test support, never shipped: a preload library that gives a pseudo-terminal the two
 * things Wine's WaitCommEvent asks of a serial port, the modem-status lines (TIOCMGET) and
 * the interrupt counters (TIOCGICOUNT). A pseudo-terminal has neither, so Wine would end
 * every wait at once. Each is answered only where the real call found no such thing on a
 * pseudo-terminal; every other call, and every other failure (a hung-up terminal's EIO),
 * passes through unchanged. 32-bit glibc built with 64-bit time calls __ioctl_time64. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

/* Unix98 pseudo-terminal slaves have majors 136 to 143. */
static int is_pty_slave(int fd) {
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 &&
           major(info.st_rdev) <= 143;
}

static int answer(int fd, unsigned long request, void* arg, int result, int err) {
    if (result == 0 || (err != ENOTTY && err != EINVAL) || arg == NULL || !is_pty_slave(fd)) {
        errno = err;
        return result;
    }
    if (request == TIOCMGET) {
        *(int*)arg = 0; /* no line is up: nothing that Wine reports as a change */
        return 0;
    }
    if (request == TIOCGICOUNT) {
        memset(arg, 0, sizeof(struct serial_icounter_struct));
        return 0;
    }
    errno = err;
    return result;
}

static int forward(const char* name, int fd, unsigned long request, void* arg) {
    ioctl_fn real = (ioctl_fn)dlsym(RTLD_NEXT, name);
    if (real == NULL) {
        errno = ENOSYS;
        return -1;
    }
    const int result = real(fd, request, arg);
    return answer(fd, request, arg, result, errno);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return forward("ioctl", fd, request, arg);
}

#if __SIZEOF_POINTER__ == 4
int __ioctl_time64(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return forward("__ioctl_time64", fd, request, arg);
}
#endif
