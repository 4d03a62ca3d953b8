#pragma once
// Late-bound automation: objects answer calls by member name (method, property get,
// property put) with variant arguments, some passed by reference. Objects are created
// from their programmatic names through one process-wide class registry.
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"

namespace krp {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// The error codes COM gives for the failures callers can meet.
constexpr long DISP_E_UNKNOWNNAME = static_cast<long>(0x80020006L);
constexpr long DISP_E_BADPARAMCOUNT = static_cast<long>(0x8002000EL);
constexpr long CO_E_CLASSSTRING = static_cast<long>(0x800401F3L);

class AutomationObject : public std::enable_shared_from_this<AutomationObject> {
 public:
  virtual ~AutomationObject() = default;
  // The programmatic name (or class name) the object answers to, for traces and JSON.
  virtual std::string ClassName() const = 0;
  // Member names are matched without regard to case. An unknown name raises EOleSysError
  // with DISP_E_UNKNOWNNAME. By-reference arguments are written with Variant::AssignOut.
  virtual Variant Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) = 0;
};

// An automation object whose members are declared in a table; what partners and test
// doubles derive from.
class DispatchObject : public AutomationObject {
 public:
  using MethodHandler = std::function<Variant(std::span<Variant> args)>;
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant&)>;

  explicit DispatchObject(std::string className) : className_(std::move(className)) {}
  std::string ClassName() const override { return className_; }
  Variant Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) override;
  bool HasMember(std::string_view name) const;

 protected:
  void Method(std::string name, MethodHandler handler);
  // A property without a setter is read-only.
  void Property(std::string name, Getter getter, Setter setter = {});
  // The argument at index, or Empty when the caller passed fewer.
  static const Variant& Arg(std::span<Variant> args, std::size_t index);

 private:
  struct Member {
    std::string Name;
    MethodHandler Method;
    Getter Get;
    Setter Put;
  };
  const Member* Find(std::string_view name) const;
  std::string className_;
  std::vector<Member> members_;
};

// The process-wide class registry.
using ClassFactory = std::function<DispatchPtr()>;
void RegisterAutomationClass(const std::string& progId, ClassFactory factory);
void UnregisterAutomationClass(const std::string& progId);
bool IsAutomationClassRegistered(std::string_view progId);
// CreateOleObject: raises EOleSysError "Invalid class string" for a name nobody registered.
Variant CreateOleObject(std::string_view progId);

// Observers see every call that reaches an automation object through a variant, with
// the arguments after the call (out values filled) and the reply; a host traces with it.
struct InvokeRecord {
  const AutomationObject* Object;
  std::string_view Name;
  InvokeKind Kind;
  std::span<const Variant> Args;
  const Variant* Reply;  // null when the call raised
  const std::exception* Error;
};
using InvokeObserver = std::function<void(const InvokeRecord&)>;
// Calls a member and tells the observers; every call made through a variant comes here.
Variant InvokeObject(AutomationObject& object, std::string_view name, InvokeKind kind, std::span<Variant> args);
// Returns an id for RemoveInvokeObserver.
int AddInvokeObserver(InvokeObserver observer);
void RemoveInvokeObserver(int id);

}  // namespace krp
