#include "platform/Automation.h"

#include <map>
#include <mutex>

#include "platform/Exceptions.h"
#include "platform/SysUtils.h"

namespace krp {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, ClassFactory, std::less<>> factories;  // keyed by upper-cased name
  std::vector<std::pair<int, InvokeObserver>> observers;
  int nextObserverId = 1;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

void Notify(const InvokeRecord& record) {
  auto& registry = TheRegistry();
  std::vector<InvokeObserver> observers;
  {
    std::lock_guard lock(registry.mutex);
    for (auto& [id, observer] : registry.observers) observers.push_back(observer);
  }
  for (auto& observer : observers) observer(record);
}

}  // namespace

const DispatchObject::Member* DispatchObject::Find(std::string_view name) const {
  for (const auto& member : members_)
    if (SameText(member.Name, name)) return &member;
  return nullptr;
}

bool DispatchObject::HasMember(std::string_view name) const { return Find(name) != nullptr; }

void DispatchObject::Method(std::string name, MethodHandler handler) {
  members_.push_back(Member{std::move(name), std::move(handler), {}, {}});
}

void DispatchObject::Property(std::string name, Getter getter, Setter setter) {
  members_.push_back(Member{std::move(name), {}, std::move(getter), std::move(setter)});
}

const Variant& DispatchObject::Arg(std::span<Variant> args, std::size_t index) {
  return index < args.size() ? args[index].Deref() : kEmptyVariant;
}

Variant DispatchObject::Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) {
  const Member* member = Find(name);
  auto unknown = [&]() -> EOleSysError {
    return EOleSysError("Unknown name \"" + std::string(name) + "\" of " + className_, DISP_E_UNKNOWNNAME);
  };
  if (!member) throw unknown();
  if (member->Method) {
    // A method may also be read like a property, as IDispatch allows.
    if (kind == InvokeKind::PropertyPut) throw unknown();
    return member->Method(args);
  }
  if (kind == InvokeKind::PropertyPut) {
    if (!member->Put || args.empty()) throw unknown();
    member->Put(args.back().Deref());
    return {};
  }
  if (!member->Get) throw unknown();
  return member->Get();
}

Variant InvokeObject(AutomationObject& object, std::string_view name, InvokeKind kind, std::span<Variant> args) {
  Variant reply;
  try {
    reply = object.Invoke(name, kind, args);
  } catch (const std::exception& error) {
    Notify(InvokeRecord{&object, name, kind, args, nullptr, &error});
    throw;
  }
  Notify(InvokeRecord{&object, name, kind, args, &reply, nullptr});
  return reply;
}

void RegisterAutomationClass(const std::string& progId, ClassFactory factory) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.factories[UpperCase(progId)] = std::move(factory);
}

void UnregisterAutomationClass(const std::string& progId) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  registry.factories.erase(UpperCase(progId));
}

bool IsAutomationClassRegistered(std::string_view progId) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  return registry.factories.count(UpperCase(progId)) != 0;
}

Variant CreateOleObject(std::string_view progId) {
  ClassFactory factory;
  {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.factories.find(UpperCase(progId));
    if (it != registry.factories.end()) factory = it->second;
  }
  if (!factory) throw EOleSysError("Invalid class string", CO_E_CLASSSTRING);
  DispatchPtr object = factory();
  if (!object) throw EOleSysError("Invalid class string", CO_E_CLASSSTRING);
  return Variant(std::move(object));
}

int AddInvokeObserver(InvokeObserver observer) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  int id = registry.nextObserverId++;
  registry.observers.emplace_back(id, std::move(observer));
  return id;
}

void RemoveInvokeObserver(int id) {
  auto& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  std::erase_if(registry.observers, [id](const auto& entry) { return entry.first == id; });
}

}  // namespace krp
