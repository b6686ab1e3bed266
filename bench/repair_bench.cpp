// How long one repair takes through unique-no-repair, against the same work done by
// hand: the script through the mariadb client, plus cp -n of the definition file.
// Both run in turns against one throwaway server, so both see the same server state.
//
//   repair_bench [N]   N repairs of each kind (default 30)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "repair_settings.h"
#include "support/process.h"
#include "support/throwaway_server.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

// Runs `argv` and returns its wall time; throws if it fails.
double TimedRun(const std::vector<std::string>& argv, const std::string& input = {}) {
  const auto start = Clock::now();
  const auto result = support::RunProcess(argv, input);
  const auto elapsed = Clock::now() - start;
  if (result.exit_code != 0) throw std::runtime_error(argv.front() + " failed: " + result.err);
  return Milliseconds(elapsed);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::stoi(argv[1])) : 30;
  support::ThrowawayServer server;
  const std::string program = server.ProgramPath("unique-no-repair");
  std::filesystem::copy_file(UNR_CLI_PATH, program);
  const auto folder = server.DatabaseFolder();

  const std::vector<std::string> ours{program, "--port", server.PortText()};
  const std::vector<std::string> client{
      "mariadb", "--no-defaults", "--protocol=TCP", "--host=127.0.0.1", "--port=" + server.PortText(),
      "--user=" + std::string(repair::kUsername), "--password=" + std::string(repair::kPassword),
      std::string(repair::kDatabase)};
  const std::vector<std::string> copy{"cp", "-n", (folder / "brda.frm").string(),
                                      (folder / "unique_no.frm").string()};
  const std::string script(repair::kRepairScript);

  std::vector<double> our_times, client_times, client_alone_times;
  for (int i = 0; i < runs; ++i) {
    our_times.push_back(TimedRun(ours));
    const double copy_time = TimedRun(copy);
    client_alone_times.push_back(TimedRun(client, script));
    client_times.push_back(copy_time + client_alone_times.back());
  }

  const double our_median = Median(our_times), client_median = Median(client_times);
  std::printf("repairs of each kind:                %d\n", runs);
  std::printf("unique-no-repair, median:            %.2f ms\n", our_median);
  std::printf("cp -n + mariadb client, median:      %.2f ms\n", client_median);
  std::printf("mariadb client alone, median:        %.2f ms\n", Median(client_alone_times));
  std::printf("ratio (goal: at most 0.80):          %.2f\n", our_median / client_median);
  return 0;
}
