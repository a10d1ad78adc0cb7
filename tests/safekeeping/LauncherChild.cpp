// The launcher as the save soak test needs it: every 20 to 100 ms it reads the data
// file, adds a little to the use counts of a few buttons (half of them from the buttons
// whose index is a multiple of the stride, which the test edits too) and writes the
// file again, by turns replaced by a rename and written into itself. Its own write must
// never undo someone else's: the file must still be the one it read just before it is
// written, and a write that lost a race is found out and not counted. On SIGTERM it ends
// its round and prints, for each button it counted, "index total", then a line of its
// rounds, writes and retries.
//   pello_launcher_child FILE STRIDE SEED
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "FileIO.h"
#include "LaunchList.h"

namespace {

volatile std::sig_atomic_t stopAsked = 0;

TFileStamp StampOfOpen(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::int64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "launcher child: %s\n", what.c_str());
  std::exit(2);
}

bool WriteAll(int fd, const std::string& bytes) {
  return ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
}

struct TRead {
  int fd = -1;  // kept open, so that the file's inode cannot be reused meanwhile
  TFileStamp stamp;
  TLaunchList list;
};

// The file as it is now. The editor only ever replaces it, so the opened file's bytes
// stay what they were until this program writes them.
void ReadNow(const std::string& file, TRead& read) {
  read.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (read.fd < 0) Fail("cannot open " + file);
  read.stamp = StampOfOpen(read.fd);
  std::string bytes(static_cast<std::size_t>(read.stamp.size), '\0');
  if (::pread(read.fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
    Fail("cannot read " + file);
  read.list.LoadFromBytes(bytes);
  if (!read.list.Loaded) Fail("not a data file: " + file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) Fail("usage: pello_launcher_child FILE STRIDE SEED");
  const std::string file = argv[1];
  const int stride = std::atoi(argv[2]);
  std::mt19937 random(static_cast<unsigned>(std::atoi(argv[3])));
  std::signal(SIGTERM, [](int) { stopAsked = 1; });
  const std::string temp = file + ".launcher" + std::to_string(::getpid());

  std::map<int, long> totals;
  long rounds = 0, renamed = 0, inPlace = 0, retries = 0, undone = 0, uncounted = 0;
  std::puts("ready");
  std::fflush(stdout);
  while (stopAsked == 0) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(std::uniform_int_distribution(20, 100)(random));
    while (stopAsked == 0 && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (stopAsked != 0) break;

    const bool byRename = rounds++ % 2 == 0;
    for (;;) {
      TRead read;
      ReadNow(file, read);
      const int buttons = read.list.Count();
      std::map<int, int> added;
      for (int k = std::uniform_int_distribution(1, 4)(random); k > 0; --k) {
        int i = std::uniform_int_distribution(0, buttons - 1)(random);
        if (random() % 2 == 0) i -= i % stride;
        const int n = std::uniform_int_distribution(1, 3)(random);
        read.list.Get(i).UseCount += n;
        added[i] += n;
      }
      const std::string bytes = TextDataFileBytes(read.list);

      bool landed = false;
      if (byRename) {
        const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0 || !WriteAll(out, bytes) || ::close(out) != 0) Fail("cannot write " + temp);
        // Swapped rather than renamed over: what comes out must be the file read.
        if (StampOf(file) == read.stamp) {
          if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_EXCHANGE) != 0)
            Fail("cannot swap " + temp + " with " + file);
          landed = StampOf(temp) == read.stamp;
          if (!landed) {
            ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_EXCHANGE);
            ++undone;
          }
        }
        ::unlink(temp.c_str());
        if (landed) ++renamed;
      } else {
        const int out = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        if (out >= 0 && StampOfOpen(out) == read.stamp) {
          if (!WriteAll(out, bytes) || ::ftruncate(out, static_cast<off_t>(bytes.size())) != 0)
            Fail("cannot write into " + file);
          const TFileStamp written = StampOfOpen(out);
          landed = true;
          // Replaced around the write (or swapped out for a moment by a writer that
          // checks its own swap): a count is in only where the file then shows it, and
          // one that is not is left uncounted rather than blamed on the other writer.
          if (StampOf(file).inode != written.inode)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          if (StampOf(file).inode != written.inode) {
            TRead now;
            ReadNow(file, now);
            for (auto& [i, n] : added)
              if (now.list.Get(i).UseCount < read.list.Get(i).UseCount) {
                uncounted += n;
                n = 0;
              }
            ::close(now.fd);
          }
          ++inPlace;
        }
        if (out >= 0) ::close(out);
      }
      ::close(read.fd);
      if (landed) {
        for (const auto& [i, n] : added)
          totals[i] += n;
        break;
      }
      ++retries;
    }
  }

  for (const auto& [i, n] : totals)
    if (n != 0) std::printf("%d %ld\n", i, n);
  std::printf("rounds %ld renamed %ld in-place %ld retries %ld undone %ld uncounted %ld\n", rounds,
              renamed, inPlace, retries, undone, uncounted);
  return 0;
}
