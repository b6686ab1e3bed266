// Many repairs in one process, as a window left open all day runs them: the same
// connection objects every time, against one throwaway server. Prints the resident
// memory after the first run and after the last, the most connections the server
// held at once, the sessions left once the connection is closed, and the runs per
// second.
//
//   soak [N [PAUSE_MS]]   N runs (default 1000); with PAUSE_MS, the connection is
//                         closed that many milliseconds before each run
//
// A run closes the connection and opens it again at once, and the server counts a
// closed session until its thread has ended, shortly after the socket is closed at
// both ends; so back to back it may count two connections. With a pause after each
// close it counts only those that really overlap.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <thread>

#include "repair_settings.h"
#include "run_repair.h"
#include "support/sql_session.h"
#include "support/throwaway_server.h"

namespace {

// VmRSS from /proc/self/status, in KiB; -1 if it cannot be read.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int runs = argc > 1 ? std::max(1, std::stoi(argv[1])) : 1000;
    const std::chrono::milliseconds pause(argc > 2 ? std::max(0, std::stoi(argv[2])) : 0);
    support::ThrowawayServer server;
    repair::TMyConnection con;
    repair::TMyQuery qry1;
    qry1.Connection = &con;
    const std::string host(repair::kDefaultHost), port = server.PortText();
    const std::string script(repair::kRepairScript), program = server.ProgramPath();
    const auto run = [&] { repair::RunRepair(host, port, script, program, con, qry1); };

    // The first run loads what stays loaded (the library's character sets and the
    // like), so memory is measured from after it.
    run();
    const long start_kib = ResidentKiB();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i < runs; ++i) {
      if (pause.count() > 0) {
        con.SetConnected(false);
        std::this_thread::sleep_for(pause);
      }
      run();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const long end_kib = ResidentKiB();

    con.SetConnected(false);
    if (pause.count() > 0) std::this_thread::sleep_for(pause);
    // The asking session counts too: 1 means no run ever held a second connection.
    support::SqlSession sql(server.port());
    const auto status = [&](const char* name) {
      return sql.Query(std::string("SHOW GLOBAL STATUS LIKE '") + name + "'").at(0).at(1);
    };
    const std::string most_connections = status("Max_used_connections");
    const std::string left = status("Threads_connected");

    if (pause.count() > 0) {
      std::printf("runs:                                 %d, each %lld ms after the close\n", runs,
                  static_cast<long long>(pause.count()));
    } else {
      std::printf("runs:                                 %d, back to back\n", runs);
    }
    std::printf("resident memory after the first run:  %ld KiB\n", start_kib);
    std::printf("resident memory after the last run:   %ld KiB\n", end_kib);
    std::printf("most connections at once (goal: 1):   %s\n", most_connections.c_str());
    std::printf("sessions left, the asking one counted: %s\n", left.c_str());
    if (runs > 1) {
      std::printf("runs per second:                      %.1f\n", (runs - 1) / elapsed.count());
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "soak: %s\n", e.what());
    return 1;
  }
}
