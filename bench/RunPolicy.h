#pragma once

// How the tools take turns: the page cache before each run, the rounds, and the
// pause after a round's outputs are removed.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "Measurement.h"
#include "ResultTable.h"

namespace velmora::bench {

namespace fs = std::filesystem;

// Writes back dirty pages and empties the page cache; needs root and a kernel
// that lets this container do it.
inline bool DropPageCache() {
  sync();
  std::ofstream control("/proc/sys/vm/drop_caches");
  control << "3\n";
  control.flush();
  return static_cast<bool>(control);
}

// - Cold (the default): the page cache is dropped before every run, so each
//   run reads its input from storage, and the run before has been written
//   back.
// - Warm (asked for): the cache is dropped and the input read through, so
//   that only the input is cached.
// - Warm because dropping was refused: nothing is dropped, and every tool runs
//   once more first, uncounted.
//
// Removing many files has a cost for the next runs: ext4 without a journal (as
// on this project's machines) will not reuse an inode deleted less than a
// minute ago, five more while its table block is dirty, and checks every such
// inode whose table block is cached before it takes a free one. A run that
// creates 60,000 files within minutes of the removal of 60,000 others spends a
// good part of its time there, more or less depending on its order of work.
// So the outputs of many files are kept until the last round, and a run of
// many files first waits until the last such removal in WORKDIR is that old.
class RunPolicy {
 public:
  enum class Mode { kCold, kWarm, kWarmWithoutDrop };

  RunPolicy(const fs::path& work, bool warmAsked, int repeats)
      : removalStamp_(work / "last-mass-removal"), repeats_(std::max(repeats, 1)) {
    if (!DropPageCache()) {
      mode_ = Mode::kWarmWithoutDrop;
    } else {
      mode_ = warmAsked ? Mode::kWarm : Mode::kCold;
    }
  }
  Mode mode() const { return mode_; }
  int repeats() const { return repeats_; }

  // Readies the cache for a run that reads input.
  void BeforeRun(const fs::path& input) const {
    if (mode_ == Mode::kWarmWithoutDrop) return;
    DropPageCache();
    if (mode_ == Mode::kWarm) ReadThrough(input);
  }

  // Whether output holds so few entries that removing it costs the next run
  // nothing.
  static bool FewEntries(const fs::path& output) {
    if (!fs::is_directory(output)) return true;
    std::uintmax_t entries = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(output, error), end;
         !error && it != end && entries <= kManyEntries; it.increment(error)) {
      ++entries;
    }
    return entries <= kManyEntries;
  }

  // Removes paths, and notes the time when they were many entries.
  void Remove(const std::vector<fs::path>& paths) const {
    std::uintmax_t removed = 0;
    for (const fs::path& path : paths) removed += fs::remove_all(path);
    sync();
    if (removed <= kManyEntries) return;
    std::ofstream(removalStamp_) << Now() << "\n";
  }

  // Waits until the last removal of many entries no longer slows the creation
  // of files.
  void AwaitInodeReuse() const {
    constexpr std::int64_t kInodeReuseSeconds = 361;
    std::int64_t removedAt = 0;
    std::ifstream(removalStamp_) >> removedAt;
    const std::int64_t wait = removedAt + kInodeReuseSeconds - Now();
    if (removedAt == 0 || wait <= 0) return;
    std::cerr << "waiting " << wait
              << " s until the files removed last are old enough for ext4 to reuse their "
                 "inodes freely\n";
    std::this_thread::sleep_for(std::chrono::seconds(wait));
  }

  std::string Describe() const {
    const std::string rounds = std::to_string(repeats_) + " counted round(s), median shown";
    switch (mode_) {
      case Mode::kCold:
        return "cold page cache (dropped before every run); " + rounds;
      case Mode::kWarm:
        return "warm page cache (only the input cached before every run); " + rounds;
      case Mode::kWarmWithoutDrop:
        break;
    }
    return "warm page cache (it could not be dropped; one uncounted round first); " + rounds;
  }

 private:
  static constexpr std::uintmax_t kManyEntries = 1000;

  static std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  static void ReadThrough(const fs::path& input) {
    std::vector<char> chunk(1 << 20);
    std::ifstream in(input, std::ios::binary);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
    }
  }

  fs::path removalStamp_;
  Mode mode_ = Mode::kCold;
  int repeats_;
};

struct Tool {
  std::string name;
  fs::path output;  // what its runs write, a file or a folder; removed after each round
  std::function<Run()> run;
  // "ok", or what is wrong with the output of run.
  std::function<std::string(const Run&)> check;
  bool engine = false;
  std::string ratioLabel;
};

// Rounds in which every tool runs once, in the order given (the peers before
// the engine: a child's peak memory counts what the parent held before exec).
// An output of few entries is removed once it has been checked; one of many is
// set aside until the last round (RunPolicy). Tools that create many files
// wait first for the last removal of many to age. Returns per tool the run of
// median time and the first check that was not "ok", else "ok".
inline std::vector<Row> RunRounds(const RunPolicy& policy, const fs::path& input,
                                  const std::vector<Tool>& tools, bool createManyFiles) {
  std::vector<fs::path> setAside;
  const auto tidy = [&](const fs::path& output, const std::string& round) {
    if (RunPolicy::FewEntries(output)) {
      fs::remove_all(output);
      return;
    }
    fs::path aside = output;
    aside += "." + round;
    fs::remove_all(aside);
    fs::rename(output, aside);
    setAside.push_back(aside);
  };
  // What an interrupted run left behind.
  std::vector<fs::path> outputs;
  for (const Tool& tool : tools) outputs.push_back(tool.output);
  policy.Remove(outputs);
  if (createManyFiles) policy.AwaitInodeReuse();
  if (policy.mode() == RunPolicy::Mode::kWarmWithoutDrop) {
    for (const Tool& tool : tools) {
      tool.run();
      tidy(tool.output, "uncounted");
    }
  }
  std::vector<std::vector<Run>> runs(tools.size());
  std::vector<Row> rows;
  for (const Tool& tool : tools) rows.push_back({tool.name, {}, "ok", tool.engine, tool.ratioLabel});
  for (int round = 0; round < policy.repeats(); ++round) {
    for (std::size_t k = 0; k < tools.size(); ++k) {
      policy.BeforeRun(input);
      runs[k].push_back(tools[k].run());
      const std::string seen = tools[k].check(runs[k].back());
      if (seen != "ok" && rows[k].check == "ok") rows[k].check = seen;
      tidy(tools[k].output, std::to_string(round));
    }
  }
  policy.Remove(setAside);
  for (std::size_t k = 0; k < tools.size(); ++k) {
    std::sort(runs[k].begin(), runs[k].end(),
              [](const Run& x, const Run& y) { return x.seconds < y.seconds; });
    rows[k].run = runs[k][runs[k].size() / 2];
  }
  return rows;
}

}  // namespace velmora::bench
