#include "host/HostSession.h"

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/SysUtils.h"
#include "platform/VariantJson.h"

namespace krp::host {

Variant WordAsVariant(const ScriptWord& word) {
  if (!word.Quoted) {
    std::int64_t number = 0;
    if (!word.Text.empty() && word.Text[0] != ' ' && TryTextToInt64(word.Text, number)) {
      if (number >= INT32_MIN && number <= INT32_MAX) return Variant(static_cast<std::int32_t>(number));
      return Variant(static_cast<long long>(number));
    }
  }
  return Variant(Utf8ToUtf16(word.Text));
}

HostSession::HostSession(HostEnvironment environment, EventWriter& events)
    : environment_(std::move(environment)), events_(events) {
  AddControllerCommands();
}

HostSession::~HostSession() { ReleaseController(); }

void HostSession::AddCommand(const std::string& verb, Handler handler) { commands_[verb] = std::move(handler); }

void HostSession::Run(const ScriptCommand& command) {
  if (!command.Error.empty()) {
    events_.Error(command.Line, command.Error);
    return;
  }
  if (command.Words.empty()) return;
  auto it = commands_.find(command.Words[0].Text);
  if (it == commands_.end()) {
    events_.Error(command.Line, "unknown command \"" + command.Words[0].Text + "\"");
  } else {
    try {
      it->second(command);
    } catch (const std::exception& error) {
      events_.Error(command.Line, AnsiToUtf8(error.what()));
    }
  }
  if (environment_.ProcessMessages) {
    try {
      environment_.ProcessMessages();
    } catch (const std::exception& error) {
      events_.Error(command.Line, std::string("message loop: ") + AnsiToUtf8(error.what()));
    }
  }
}

void HostSession::RunAll(const std::vector<ScriptCommand>& commands) {
  for (const auto& command : commands) Run(command);
}

void HostSession::WriteExit() {
  if (controller_) {
    lastResultCode_ = controller_->ResultCode;
    lastResultValue_ = controller_->ResultValue;
  }
  events_.Write(EventLine("exit").Integer("ResultCode", lastResultCode_).Value("ResultValue", lastResultValue_));
}

void HostSession::Result(const char* op, const Variant& value) {
  events_.Write(EventLine("result").Text("op", op).Value("value", value));
}

void HostSession::OnNotify(void* receiver, std::int32_t code, TDLLBaseController* sender) {
  auto* session = static_cast<HostSession*>(receiver);
  if (code == NOTIFY_FORM_DESTROYED && sender) {
    session->lastResultCode_ = sender->ResultCode;
    session->lastResultValue_ = sender->ResultValue;
  }
  session->events_.Write(EventLine("notify").Integer("code", code));
}

TDLLBaseController& HostSession::RequireController(const ScriptCommand&) {
  if (!controller_) throw CommandError("no controller: run \"controller\" first");
  return *controller_;
}

void HostSession::ReleaseController() {
  if (!controller_) return;
  lastResultCode_ = controller_->ResultCode;
  lastResultValue_ = controller_->ResultValue;
  // Freeing a controller frees its form; the form's outcome then arrives with the
  // notification 304, which OnNotify keeps.
  TDLLBaseController* controller = controller_;
  controller_ = nullptr;
  delete controller;
}

void HostSession::AddControllerCommands() {
  AddCommand("controller", [this](const ScriptCommand&) {
    ReleaseController();
    if (!environment_.GetController) throw CommandError("no module loaded");
    controller_ = environment_.GetController();
    if (environment_.CreateManager) controller_->Manager = environment_.CreateManager();
    controller_->OnNotify = TNotifyCodeEvent{this, &HostSession::OnNotify};
    Result("GetController", Variant(true));
  });
  AddCommand("params", [this](const ScriptCommand& command) {
    auto& controller = RequireController(command);
    std::vector<Variant> items;
    for (std::size_t i = 1; i < command.Words.size(); ++i) items.push_back(WordAsVariant(command.Words[i]));
    Result("SetParams", Variant(controller.SetParams(Variant::ArrayOf(std::move(items)))));
  });
  AddCommand("show", [this](const ScriptCommand& command) {
    RequireController(command).SetFormVisible(1);
    Result("SetFormVisible", Variant());
  });
  AddCommand("hide", [this](const ScriptCommand& command) {
    RequireController(command).SetFormVisible(0);
    Result("SetFormVisible", Variant());
  });
  AddCommand("conditions", [this](const ScriptCommand& command) {
    auto& controller = RequireController(command);
    Variant package = VariantFromJson(command.TailFrom(1));
    Result("SetConditions", Variant(controller.SetConditions(package)));
  });
  AddCommand("hostcall", [this](const ScriptCommand& command) {
    auto& controller = RequireController(command);
    if (command.Words.size() < 3) throw CommandError("usage: hostcall KIND JSON");
    std::int32_t kind = StrToInt(command.Words[1].Text);
    Variant data = VariantFromJson(command.TailFrom(2));
    Result("HostCall", Variant(controller.HostCall(kind, data)));
  });
  AddCommand("info", [this](const ScriptCommand& command) {
    auto& controller = RequireController(command);
    Variant info;
    std::int32_t result = controller.GetFormInfo(info);
    events_.Write(EventLine("result").Text("op", "GetFormInfo").Value("value", Variant(result)).Value("info", info));
  });
  AddCommand("version", [this](const ScriptCommand& command) {
    Result("GetVersion", Variant(RequireController(command).GetVersion()));
  });
  AddCommand("handle", [this](const ScriptCommand& command) {
    Result("GetFormHandle", Variant(static_cast<long long>(RequireController(command).GetFormHandle())));
  });
  AddCommand("visible", [this](const ScriptCommand& command) {
    Result("GetFormVisible", Variant(RequireController(command).GetFormVisible() != 0));
  });
  AddCommand("freed", [this](const ScriptCommand& command) {
    Result("FormFreed", Variant(RequireController(command).FormFreed() != 0));
  });
  AddCommand("free", [this](const ScriptCommand& command) {
    RequireController(command).FreeForm();
    Result("FreeForm", Variant());
  });
  AddCommand("release", [this](const ScriptCommand& command) {
    RequireController(command);
    ReleaseController();
    Result("Release", Variant());
  });
}

}  // namespace krp::host
