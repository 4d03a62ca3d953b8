#include "interfaces/DLLController.h"
#include "platform/Exceptions.h"

namespace krp {
namespace {
[[noreturn]] void Abstract() { throw EAbstractError("Abstract Error"); }
}  // namespace

WideString TDLLBaseController::GetVersion() { Abstract(); }
HostBool TDLLBaseController::GetFormVisible() { Abstract(); }
void TDLLBaseController::SetFormVisible(std::int16_t) { Abstract(); }
HostWindowHandle TDLLBaseController::GetFormHandle() { Abstract(); }
std::int32_t TDLLBaseController::SetParams(const Variant&) { Abstract(); }
std::int32_t TDLLBaseController::SetConditions(const Variant&) { Abstract(); }
std::int32_t TDLLBaseController::HostCall(std::int32_t, const Variant&) { Abstract(); }
Variant TDLLBaseController::ShowFormModal() { Abstract(); }
void TDLLBaseController::FreeForm() { Abstract(); }
std::int32_t TDLLBaseController::GetFormInfo(Variant&) { Abstract(); }
HostBool TDLLBaseController::FormFreed() { Abstract(); }

void TDLLBaseController::DoFormCreate(TObject*) { Notify(NOTIFY_FORM_CREATED); }
void TDLLBaseController::DoFormShow(TObject*) { Notify(NOTIFY_FORM_SHOWN); }
void TDLLBaseController::DoFormHide(TObject*) { Notify(NOTIFY_FORM_HIDDEN); }
void TDLLBaseController::DoFormDestroy(TObject*) { Notify(NOTIFY_FORM_DESTROYED); }
void TDLLBaseController::DoFormNotify(TObject*) { Notify(NOTIFY_FORM_SPARE); }

void TDLLBaseController::Notify(std::int32_t code) {
  // The sender the host receives is always the controller, never the form.
  if (OnNotify.Assigned()) OnNotify(code, this);
}

void TDLLBaseController::ReservedHook() {}

TDLLBaseController::~TDLLBaseController() = default;

}  // namespace krp
