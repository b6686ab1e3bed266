// unique-no-repair: the repair for machines without a desktop. Runs the same
// procedure as the window, on the same script, with this program's own folder as
// the one the server's ValtuMySQL folder lies in.
#include <CLI/CLI.hpp>

#include <exception>
#include <string>
#include <vector>

#include "message_text.h"
#include "my_connection.h"
#include "platform.h"
#include "repair_settings.h"
#include "run_repair.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  using repair::platform::Stream;
  using repair::platform::WriteLine;
  CLI::App app("Drops and re-creates the table unique_no of the database velkarin, empty, "
               "with its counter at 55723.",
               "unique-no-repair");
  std::string host(repair::kDefaultHost);
  std::string port_text(repair::kDefaultPortText);
  app.add_option("--host", host, "server host, as typed (not trimmed)")->capture_default_str();
  app.add_option("--port", port_text, "server port; text that is not a number means 3306")
      ->capture_default_str();
  app.set_version_flag("--version", UNR_VERSION);

  // CLI11 reads the arguments as given; these are UTF-8 on every platform.
  std::vector<std::string> arguments = repair::platform::Arguments(argc, argv);
  std::vector<char*> argument_pointers;
  for (std::string& argument : arguments) argument_pointers.push_back(argument.data());

  try {
    app.parse(static_cast<int>(argument_pointers.size()), argument_pointers.data());
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    WriteLine(Stream::Error, std::string("unique-no-repair: ") + e.what());
    WriteLine(Stream::Error, "Usage: unique-no-repair [--host HOST] [--port PORT]");
    return kExitUsage;
  }

  try {
    repair::TMyConnection con;
    repair::TMyQuery qry1;
    qry1.Connection = &con;
    repair::RunRepair(host, port_text, std::string(repair::kRepairScript),
                      repair::platform::ExecutablePath(), con, qry1);
  } catch (const std::exception& e) {
    WriteLine(Stream::Error, repair::WithFullStop(e.what()));
    return kExitFailed;
  }
  WriteLine(Stream::Output, repair::kCompletionMessage);
  return 0;
}
