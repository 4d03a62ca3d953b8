#pragma once
// The binary interface between a host shell and a report-option module. A host loads the
// module, resolves the exported factory GetController, stores Manager and OnNotify in the
// controller it gets, and then drives the form through the virtual operations below.
//
// The operations are declared in slot order, and the destructor after them, so that with
// this platform's C++ ABI slot k of the table of virtual operations is operation k. The
// order is part of the interface and must not change.
#include <cstdint>

#include "platform/Variant.h"

namespace krp {

class TDLLBaseController;
class TObject;  // the root class of the UI toolkit; the form is the sender of its events

// A procedure bound to an object: the host's receiver and the code to call on it.
struct TNotifyCodeEvent {
  void* Receiver = nullptr;
  void (*Code)(void* receiver, std::int32_t code, TDLLBaseController* sender) = nullptr;
  bool Assigned() const { return Code != nullptr; }
  void operator()(std::int32_t code, TDLLBaseController* sender) const { Code(Receiver, code, sender); }
};

// Notification codes passed to OnNotify.
constexpr std::int32_t NOTIFY_FORM_CREATED = 0x100;
constexpr std::int32_t NOTIFY_FORM_SHOWN = 0x110;
constexpr std::int32_t NOTIFY_FORM_HIDDEN = 0x120;
constexpr std::int32_t NOTIFY_FORM_DESTROYED = 0x130;
constexpr std::int32_t NOTIFY_FORM_SPARE = 0x140;

// Booleans the host reads: all bits set for true.
using HostBool = std::int32_t;
constexpr HostBool HOST_TRUE = -1;
constexpr HostBool HOST_FALSE = 0;
using HostWindowHandle = std::intptr_t;

// Slots 0 to 10 have no body of their own here: calling one on a plain base object raises
// EAbstractError, as the original runtime's abstract methods did.
class TDLLBaseController {
 public:
  // Host-visible fields, in this order.
  Variant Manager;
  std::int32_t ResultCode = 0;
  Variant ResultValue;
  TNotifyCodeEvent OnNotify;

  virtual WideString GetVersion();                                    // slot 0
  virtual HostBool GetFormVisible();                                  // slot 1
  virtual void SetFormVisible(std::int16_t show);                     // slot 2
  virtual HostWindowHandle GetFormHandle();                           // slot 3
  virtual std::int32_t SetParams(const Variant& params);              // slot 4
  virtual std::int32_t SetConditions(const Variant& params);          // slot 5
  virtual std::int32_t HostCall(std::int32_t kind, const Variant& data);      // slot 6
  virtual Variant ShowFormModal();                                    // slot 7
  virtual void FreeForm();                                            // slot 8
  virtual std::int32_t GetFormInfo(Variant& info);                    // slot 9
  virtual HostBool FormFreed();                                       // slot 10
  virtual void DoFormCreate(TObject* sender);                            // slot 11
  virtual void DoFormShow(TObject* sender);                              // slot 12
  virtual void DoFormHide(TObject* sender);                              // slot 13
  virtual void DoFormDestroy(TObject* sender);                           // slot 14
  virtual void DoFormNotify(TObject* sender);                            // slot 15
  virtual void Notify(std::int32_t code);                             // slot 16
  virtual void ReservedHook();                                        // slot 17
  virtual ~TDLLBaseController();
};

// The module's only export. Returns a new controller the host owns and frees with delete.
// Raises krp::Exception when the module has no controller class.
extern "C" TDLLBaseController* GetController();
using GetControllerFunc = TDLLBaseController* (*)();
inline constexpr const char* kGetControllerName = "GetController";

}  // namespace krp
