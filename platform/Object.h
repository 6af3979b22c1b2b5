// The root of the framework's object model: run-time class information with
// published properties, published fields and handler methods, and the class
// registry from which form files create components by class name.
#pragma once

#include "platform/Exceptions.h"

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class TObject;
class TPersistent;
class TComponent;
struct TClassInfo;

// An optional method reference. It is tested for presence before it is
// raised; HandlerName is the published method it was bound to by a form file
// (empty for code-assigned handlers), which is what a form file stores.
template <class... A>
class TEvent {
public:
    using TFunction = std::function<void(A...)>;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F>
        requires std::is_invocable_v<F&, A...> && (!std::is_same_v<std::decay_t<F>, TEvent>)
    TEvent(F f) : FFunction(std::move(f)) {}
    TEvent(TFunction f, std::string handlerName)
        : FFunction(std::move(f)), FHandlerName(std::move(handlerName)) {}

    explicit operator bool() const { return static_cast<bool>(FFunction); }
    void operator()(A... args) const { FFunction(std::forward<A>(args)...); }
    const std::string& HandlerName() const { return FHandlerName; }

private:
    TFunction FFunction;
    std::string FHandlerName;
};

using TNotifyEvent = TEvent<TObject*>;

// A property value as a form file spells it.
struct TFormValue {
    enum class TKind { Integer, Ident, String, Set, Binary };

    TKind Kind = TKind::Integer;
    int64_t Int = 0;
    std::string Text;                  // Ident, String
    std::vector<std::string> Elements; // Set
    std::vector<uint8_t> Bytes;        // Binary

    static TFormValue Integer(int64_t value) { TFormValue v; v.Kind = TKind::Integer; v.Int = value; return v; }
    static TFormValue Ident(std::string text) { TFormValue v; v.Kind = TKind::Ident; v.Text = std::move(text); return v; }
    static TFormValue String(std::string text) { TFormValue v; v.Kind = TKind::String; v.Text = std::move(text); return v; }
    static TFormValue Set(std::vector<std::string> e) { TFormValue v; v.Kind = TKind::Set; v.Elements = std::move(e); return v; }
    static TFormValue Binary(std::vector<uint8_t> b) { TFormValue v; v.Kind = TKind::Binary; v.Bytes = std::move(b); return v; }

    bool operator==(const TFormValue&) const = default;
};

// What a property needs from the form reader: references and handler names
// are resolved after the whole form has been read.
class TLoadContext {
public:
    virtual ~TLoadContext() = default;
    virtual void Defer(std::function<void()> fixup) = 0;
    virtual TComponent* FindComponent(const std::string& name) const = 0;
    // The handler bound to the root; empty when the root publishes no such method.
    virtual std::any FindMethod(const std::string& name) const = 0;
};

enum class TPropKind { Integer, Boolean, Enum, Set, String, Class, Component, Event, Binary };

struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    bool Published = true;
    // Sets the property from a form value; raises EReadError for a value of the wrong kind.
    std::function<void(TObject&, const TFormValue&, TLoadContext&)> Load;
    // The value a form file stores, or nothing where it equals the default.
    std::function<std::optional<TFormValue>(const TObject&)> Save;
    // Class properties: the live sub-object that dotted paths continue in.
    std::function<TPersistent*(TObject&)> SubObject;
    // Class properties: whether a form file stores the sub-object at all (empty: always).
    std::function<bool(const TObject&)> Stored;
    // Class properties: the writer. It copies the given object into the live
    // sub-object (which stays the instance's own); it never adopts it.
    std::function<void(TObject&, TPersistent*)> AssignObject;
    // A call that sets the property back to the value it has now (empty for
    // class properties); the reader undoes a failed read of its root with it.
    std::function<std::function<void()>(TObject&)> Remember;
};

// A published field of a form: set to the component of that name when the
// form is read, cleared when the component goes away.
struct TFieldInfo {
    std::string Name;
    const TClassInfo* FieldClass = nullptr;
    std::function<void(TObject& root, TComponent* value)> Set;
    std::function<TComponent*(TObject& root)> Get;
};

// A published handler method of a form, bound to a root on request.
struct TMethodInfo {
    std::string Name;
    std::function<std::any(TObject& root)> Bind;
};

struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> Properties; // declared by this class, in order
    std::vector<TFieldInfo> Fields;
    std::vector<TMethodInfo> Methods;
    // Creates an instance for the form reader; empty for abstract classes.
    std::function<TComponent*(TComponent* owner)> Create;

    bool InheritsFrom(const TClassInfo& other) const;
    // Published properties from the root class down; a property republished
    // by a descendant keeps the place of its first declaration.
    std::vector<const TPropInfo*> PublishedProperties() const;
    const TPropInfo* FindProperty(const std::string& name) const; // published only, any letter case
    const TFieldInfo* FindField(const std::string& name) const;
    const TMethodInfo* FindMethod(const std::string& name) const;
};

class TObject {
public:
    virtual ~TObject() = default;
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().Name; }
    bool InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }

    // Runs after the most derived constructor when the object is made with New().
    virtual void AfterConstruction() {}
    // Runs before the destructors; Free() calls it, so objects that must do
    // work while still whole (a form raising OnDestroy) are freed with Free().
    virtual void BeforeDestruction() {}
    void Free()
    {
        BeforeDestruction();
        delete this;
    }
};

// Frees a framework object with Free(), so that its BeforeDestruction runs.
struct TFreeObject {
    void operator()(TObject* Object) const { Object->Free(); }
};

// An owning pointer to a framework object, which it frees with Free().
template <class T>
using TOwned = std::unique_ptr<T, TFreeObject>;

template <class T>
void FreeAndNil(T*& object)
{
    T* old = object;
    object = nullptr;
    if (old)
        old->Free();
}

// Object creation for classes whose constructors must finish before their
// start-up work runs (a form's OnCreate): new, then AfterConstruction.
template <class T, class... A>
T* New(A&&... args)
{
    TOwned<T> object(new T(std::forward<A>(args)...));
    object->AfterConstruction();
    return object.release();
}

// Every class with its own run-time name declares it with this macro; the
// class information itself is built in the class's source file.
#define PLATFORM_CLASS(Class, Base)                                                  \
public:                                                                              \
    using inherited = Base;                                                          \
    static const ::platform::TClassInfo& StaticClassInfo();                          \
    const ::platform::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

// Writes a published sub-object property through its writer (a copy into
// the instance's own sub-object); raises EPropertyError for an unknown name.
void SetObjectProp(TObject& Instance, const std::string& Name, TPersistent* Value);

// Class registry: the classes a form file may name besides the field classes of its root.
void RegisterClasses(const std::vector<const TClassInfo*>& classes);
const TClassInfo* FindRegisteredClass(const std::string& name);
// Palette registration for the form designer.
void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes);
std::vector<const TClassInfo*> PaletteComponents(const std::string& page);

} // namespace platform
