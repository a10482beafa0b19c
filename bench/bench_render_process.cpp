// Whole processes: the largest picture the window draws (1-pixel cells written to a PNG file; its
// report alone, and with the line lens's best rays), 60 frames of Spiral In at 3-pixel cells written
// to an animated GIF, and the floor program, which draws the same window of numbers with nothing but
// a sieve, a walk and a PNG encoder: the ratio of the renderer to the floor says how much it spends
// beyond the least possible. Start-up, draw passes, encoding and exit are all inside the time.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

extern char** environ;

namespace {

// Runs a program once; its exit status, or -1 when it could not be started.
int runProcess(std::vector<std::string> arguments) {
  const std::string program = arguments.front();
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void runRepeatedly(benchmark::State& state, const std::vector<std::string>& command) {
  for (auto _ : state) {
    if (runProcess(command) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
}

// Runs `command` with `outputOption` and a file in a temporary folder appended; reports the file's size.
void timeProcess(benchmark::State& state, std::vector<std::string> command, std::vector<std::string> outputOption,
                 const char* fileName) {
  std::string folder = (std::filesystem::temp_directory_path() / "spirelle-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string outFile = folder + "/" + fileName;
  command.insert(command.end(), outputOption.begin(), outputOption.end());
  command.push_back(outFile);
  runRepeatedly(state, command);
  std::error_code error;
  state.counters["file_bytes"] = double(std::filesystem::file_size(outFile, error));
  std::remove(outFile.c_str());
  rmdir(folder.c_str());
}

void BM_RenderProcessOnePixelCells(benchmark::State& state) {
  timeProcess(state, {SPIRELLE_RENDER_BINARY, "--cell", "1"}, {"--out"}, "spiral.png");
}
BENCHMARK(BM_RenderProcessOnePixelCells)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_FloorProcessOnePixelCells(benchmark::State& state) {
  timeProcess(state, {SPIRELLE_FLOOR_BINARY, "523", "1"}, {}, "spiral.png");
}
BENCHMARK(BM_FloorProcessOnePixelCells)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

// The report alone, and with the line lens's 20 rays of the most primes: the lens may cost at most
// twice the picture again.
void BM_RenderProcessOnePixelCellsReport(benchmark::State& state) {
  runRepeatedly(state, {SPIRELLE_RENDER_BINARY, "--cell", "1", "--json"});
}
BENCHMARK(BM_RenderProcessOnePixelCellsReport)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_RenderProcessOnePixelCellsLines20(benchmark::State& state) {
  runRepeatedly(state, {SPIRELLE_RENDER_BINARY, "--cell", "1", "--lines", "20", "--json"});
}
BENCHMARK(BM_RenderProcessOnePixelCellsLines20)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

// Far from 1: the same 1-pixel picture of primes at 10^18 and at the largest start, 2^64 - 273529,
// each at most five times the picture at 1; the Veltra colours of all numbers at 10^18, at most 25
// times those at 1.
void BM_RenderProcessOnePixelCellsFar(benchmark::State& state, const char* start) {
  timeProcess(state, {SPIRELLE_RENDER_BINARY, "--cell", "1", "--start", start}, {"--out"}, "spiral.png");
}
BENCHMARK_CAPTURE(BM_RenderProcessOnePixelCellsFar, at_1e18, "1000000000000000000")
    ->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_CAPTURE(BM_RenderProcessOnePixelCellsFar, at_the_top, "18446744073709278087")
    ->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_RenderProcessVeltraAll(benchmark::State& state, const char* start) {
  timeProcess(state, {SPIRELLE_RENDER_BINARY, "--cell", "1", "--scheme", "veltra", "--show", "all", "--start", start},
              {"--out"}, "veltra.png");
}
BENCHMARK_CAPTURE(BM_RenderProcessVeltraAll, at_1, "1")->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_CAPTURE(BM_RenderProcessVeltraAll, at_1e18, "1000000000000000000")
    ->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_RenderProcessAnimation60Frames(benchmark::State& state) {
  timeProcess(state, {SPIRELLE_RENDER_BINARY, "--cell", "3", "--animate", "in", "--frames", "60"}, {"--out"},
              "spiral.gif");
}
BENCHMARK(BM_RenderProcessAnimation60Frames)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
