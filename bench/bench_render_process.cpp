// The whole spirelle-render process for the largest picture the window draws: 1-pixel cells
// written to a PNG file. Start-up, draw pass, encoding and exit are all inside the time.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

extern char** environ;

namespace {

// Runs the renderer once; its exit status, or -1 when it could not be started.
int runRenderer(const std::string& outFile) {
  std::string program = SPIRELLE_RENDER_BINARY;
  std::string arguments[] = {program, "--cell", "1", "--out", outFile};
  char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data(),
                  arguments[4].data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void BM_RenderProcessOnePixelCells(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "spirelle-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string outFile = folder + "/spiral.png";
  for (auto _ : state) {
    if (runRenderer(outFile) != 0) {
      state.SkipWithError("spirelle-render failed");
      break;
    }
  }
  std::remove(outFile.c_str());
  rmdir(folder.c_str());
}
BENCHMARK(BM_RenderProcessOnePixelCells)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
