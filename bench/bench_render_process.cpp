// The whole spirelle-render process for the largest picture the window draws: 1-pixel cells
// written to a PNG file. Start-up, draw pass, encoding and exit are all inside the time. The floor
// program draws the same window of numbers with nothing but a sieve, a walk and a PNG encoder:
// the ratio of the two says how much the renderer spends beyond the least possible.

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

void timeProcess(benchmark::State& state, std::vector<std::string> (*command)(const std::string& outFile)) {
  std::string folder = (std::filesystem::temp_directory_path() / "spirelle-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string outFile = folder + "/spiral.png";
  for (auto _ : state) {
    if (runProcess(command(outFile)) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
  std::remove(outFile.c_str());
  rmdir(folder.c_str());
}
std::vector<std::string> renderer(const std::string& outFile) {
  return {SPIRELLE_RENDER_BINARY, "--cell", "1", "--out", outFile};
}

std::vector<std::string> floorProgram(const std::string& outFile) {
  return {SPIRELLE_FLOOR_BINARY, "523", "1", outFile};
}

void BM_RenderProcessOnePixelCells(benchmark::State& state) { timeProcess(state, renderer); }
BENCHMARK(BM_RenderProcessOnePixelCells)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_FloorProcessOnePixelCells(benchmark::State& state) { timeProcess(state, floorProgram); }
BENCHMARK(BM_FloorProcessOnePixelCells)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
