/* Makes chosen 2048-byte sectors of one image file unreadable, as a scratch
 * makes a disc's, and counts how often each is tried. Preloaded into a
 * velmora-cli run (tests/support/UnreadableSectors.h sets it up):
 *
 *   SECTOR_SHIM_IMAGE=disc.iso     the image (matched by device and inode)
 *   SECTOR_SHIM_SECTORS=16,60-62   the sectors that fail with EIO
 *   SECTOR_SHIM_TRIES=tries.txt    optional: each failed try appends its sector
 *   LD_PRELOAD=libsector_shim.so velmora-cli ls disc.iso
 *
 * A read that starts on a failing sector fails with EIO; one that reaches a
 * failing sector further on delivers the sectors before it, as the kernel
 * does for a block device. The engine reads image files with pread only. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kSector = 2048, kMaxRanges = 256 };

static unsigned long long ranges[kMaxRanges][2];
static int rangeCount = -1; /* -1: the settings are not read yet */
static struct stat image;

static void ReadSettings(void) {
  const char* path = getenv("SECTOR_SHIM_IMAGE");
  const char* list = getenv("SECTOR_SHIM_SECTORS");
  rangeCount = 0;
  if (!path || !list || stat(path, &image) != 0) return;
  for (char* at = (char*)list; *at && rangeCount < kMaxRanges;) {
    unsigned long long first = strtoull(at, &at, 10), last = first;
    if (*at == '-') last = strtoull(at + 1, &at, 10);
    ranges[rangeCount][0] = first;
    ranges[rangeCount++][1] = last;
    while (*at == ',' || *at == ' ') ++at;
  }
}

static int Fails(unsigned long long sector) {
  for (int i = 0; i < rangeCount; ++i) {
    if (sector >= ranges[i][0] && sector <= ranges[i][1]) return 1;
  }
  return 0;
}

static void CountTry(unsigned long long sector) {
  const char* path = getenv("SECTOR_SHIM_TRIES");
  FILE* tries = path ? fopen(path, "a") : NULL;
  if (!tries) return;
  fprintf(tries, "%llu\n", sector);
  fclose(tries);
}

/* How many of count bytes at offset of fd may be delivered; -1 (errno EIO)
 * when the first sector fails. */
static ssize_t Allowed(int fd, size_t count, off_t offset) {
  struct stat status;
  if (rangeCount < 0) ReadSettings();
  if (rangeCount == 0 || count == 0 || offset < 0 || fstat(fd, &status) != 0 ||
      status.st_dev != image.st_dev || status.st_ino != image.st_ino) {
    return (ssize_t)count;
  }
  const unsigned long long start = (unsigned long long)offset;
  for (unsigned long long s = start / kSector; s <= (start + count - 1) / kSector; ++s) {
    if (!Fails(s)) continue;
    if (s * kSector <= start) {
      CountTry(s);
      errno = EIO;
      return -1;
    }
    return (ssize_t)(s * kSector - start);
  }
  return (ssize_t)count;
}

typedef ssize_t (*PreadFunction)(int, void*, size_t, off_t);

static ssize_t ShimmedPread(const char* name, int fd, void* buffer, size_t count, off_t offset) {
  /* POSIX lets dlsym's pointer be a function's; ISO C has no cast for it. */
  PreadFunction real;
  void* symbol = dlsym(RTLD_NEXT, name);
  memcpy(&real, &symbol, sizeof real);
  const ssize_t allowed = Allowed(fd, count, offset);
  if (allowed < 0) return -1;
  return real(fd, buffer, (size_t)allowed, offset);
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  return ShimmedPread("pread", fd, buffer, count, offset);
}

ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) {
  return ShimmedPread("pread64", fd, buffer, count, offset);
}
