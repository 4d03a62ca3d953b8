#pragma once
// One run of the reference host: the loaded module, the current controller, and the
// script commands that drive them.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/EventWriter.h"
#include "host/ScriptReader.h"
#include "interfaces/DLLController.h"

namespace krp::host {

// What the session needs from the world around it; main() wires the real things in and
// tests may wire their own.
struct HostEnvironment {
  GetControllerFunc GetController = nullptr;
  // The work-center manager handed to each new controller.
  std::function<Variant()> CreateManager;
  // Runs the host's message loop once (after each command).
  std::function<void()> ProcessMessages;
};

class HostSession {
 public:
  using Handler = std::function<void(const ScriptCommand&)>;

  HostSession(HostEnvironment environment, EventWriter& events);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Adds or replaces the handler of a command verb (user actions, scripted answers,
  // inspection are added by their own units).
  void AddCommand(const std::string& verb, Handler handler);
  // Runs one command and then the message loop once. Failures become error events.
  void Run(const ScriptCommand& command);
  void RunAll(const std::vector<ScriptCommand>& commands);
  // The last event: the outcome of the current (or last released) controller.
  void WriteExit();

  TDLLBaseController* Controller() const { return controller_; }
  EventWriter& Events() { return events_; }
  // Raised by handlers for a line that cannot run; the message becomes the error event.
  struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

 private:
  void AddControllerCommands();
  TDLLBaseController& RequireController(const ScriptCommand& command);
  void Result(const char* op, const Variant& value);
  void ReleaseController();
  static void OnNotify(void* receiver, std::int32_t code, TDLLBaseController* sender);

  HostEnvironment environment_;
  EventWriter& events_;
  std::map<std::string, Handler> commands_;
  TDLLBaseController* controller_ = nullptr;
  std::int32_t lastResultCode_ = 0;
  Variant lastResultValue_;
};

// A word of a script as a variant: a JSON number (not quoted) is an integer, anything
// else a wide string.
Variant WordAsVariant(const ScriptWord& word);

}  // namespace krp::host
