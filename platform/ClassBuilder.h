// Builds a class's run-time information in its source file:
//
//   const TClassInfo& TMyButton::StaticClassInfo()
//   {
//       static const TClassInfo& info = TClassBuilder<TMyButton, TWinControl>("TMyButton")
//           .Int("Margin", &TMyButton::Margin, &TMyButton::SetMargin, 2)
//           .Event("OnPush", &TMyButton::OnPush)
//           .Build();
//       return info;
//   }
//
// Getters and setters may be member functions, data members or lambdas over
// the class. Properties declared after Protected() are kept for descendants,
// which make them visible to form files with Publish().
#pragma once

#include "platform/Component.h"
#include "platform/Set.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace platform {

using TIdentMap = std::vector<std::pair<int64_t, std::string>>;

bool SameText(const std::string& a, const std::string& b);
[[noreturn]] void RaiseInvalidValue(const std::string& property);

namespace detail {

template <class T, class G>
decltype(auto) GetValue(const T& object, const G& getter)
{
    return std::invoke(getter, object);
}

template <class T, class S, class V>
void PutValue(T& object, const S& setter, V&& value)
{
    if constexpr (std::is_member_object_pointer_v<S>)
        object.*setter = std::forward<V>(value);
    else
        std::invoke(setter, object, std::forward<V>(value));
}

template <class T, class G>
using ValueType = std::decay_t<decltype(std::invoke(std::declval<const G&>(), std::declval<const T&>()))>;

template <class E>
struct SetTraits;
template <class E>
struct SetTraits<TSet<E>> {
    using Element = E;
};

} // namespace detail

template <class T, class Base>
class TClassBuilder {
public:
    explicit TClassBuilder(std::string name) : FInfo(new TClassInfo)
    {
        FInfo->Name = std::move(name);
        FInfo->Parent = &Base::StaticClassInfo();
        if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                      std::is_constructible_v<T, TComponent*>)
            FInfo->Create = [](TComponent* owner) -> TComponent* { return New<T>(owner); };
    }

    // Class information lives as long as the program; it is never destroyed.
    const TClassInfo& Build() { return *FInfo; }

    TClassBuilder& Protected() { FPublished = false; return *this; }
    // The last property declared is never written to form files (a component's Name,
    // which the object header carries).
    TClassBuilder& NotStored()
    {
        FInfo->Properties.back().Save = [](const TObject&) -> std::optional<TFormValue> { return std::nullopt; };
        return *this;
    }
    TClassBuilder& Published() { FPublished = true; return *this; }

    // An integer; idents name some values (colours, character sets) in form files.
    template <class G, class S>
    TClassBuilder& Int(std::string name, G get, S set, std::optional<int64_t> defaultValue = 0,
                       const TIdentMap* idents = nullptr)
    {
        using V = detail::ValueType<T, G>;
        TPropInfo& p = Add(std::move(name), TPropKind::Integer);
        p.Load = [set, idents, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            int64_t value = 0;
            if (v.Kind == TFormValue::TKind::Integer)
                value = v.Int;
            else if (!(v.Kind == TFormValue::TKind::Ident && idents && FindIdent(*idents, v.Text, value)))
                RaiseInvalidValue(n);
            detail::PutValue(static_cast<T&>(o), set, static_cast<V>(value));
        };
        p.Save = [get, defaultValue, idents](const TObject& o) -> std::optional<TFormValue> {
            const int64_t value = static_cast<int64_t>(detail::GetValue(static_cast<const T&>(o), get));
            if (defaultValue && *defaultValue == value)
                return std::nullopt;
            if (idents)
                for (const auto& [ident, identName] : *idents)
                    if (ident == value)
                        return TFormValue::Ident(identName);
            return TFormValue::Integer(value);
        };
        return *this;
    }

    template <class G, class S>
    TClassBuilder& Bool(std::string name, G get, S set, std::optional<bool> defaultValue)
    {
        TPropInfo& p = Add(std::move(name), TPropKind::Boolean);
        p.Load = [set, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            if (v.Kind != TFormValue::TKind::Ident || !(SameText(v.Text, "True") || SameText(v.Text, "False")))
                RaiseInvalidValue(n);
            detail::PutValue(static_cast<T&>(o), set, SameText(v.Text, "True"));
        };
        p.Save = [get, defaultValue](const TObject& o) -> std::optional<TFormValue> {
            const bool value = detail::GetValue(static_cast<const T&>(o), get);
            if (defaultValue && *defaultValue == value)
                return std::nullopt;
            return TFormValue::Ident(value ? "True" : "False");
        };
        return *this;
    }

    // An enumeration whose values are the positions of names.
    template <class G, class S>
    TClassBuilder& Enum(std::string name, std::vector<std::string> names, G get, S set,
                        std::optional<detail::ValueType<T, G>> defaultValue)
    {
        using E = detail::ValueType<T, G>;
        TPropInfo& p = Add(std::move(name), TPropKind::Enum);
        p.Load = [set, names, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            if (v.Kind == TFormValue::TKind::Ident)
                for (size_t i = 0; i < names.size(); ++i)
                    if (SameText(names[i], v.Text)) {
                        detail::PutValue(static_cast<T&>(o), set, static_cast<E>(i));
                        return;
                    }
            RaiseInvalidValue(n);
        };
        p.Save = [get, names, defaultValue](const TObject& o) -> std::optional<TFormValue> {
            const E value = detail::GetValue(static_cast<const T&>(o), get);
            if (defaultValue && *defaultValue == value)
                return std::nullopt;
            const size_t index = static_cast<size_t>(value);
            if (index < names.size())
                return TFormValue::Ident(names[index]);
            return TFormValue::Integer(static_cast<int64_t>(index));
        };
        return *this;
    }

    // A set of an enumeration, written as [name, name].
    template <class G, class S>
    TClassBuilder& Set(std::string name, std::vector<std::string> names, G get, S set,
                       std::optional<detail::ValueType<T, G>> defaultValue)
    {
        using V = detail::ValueType<T, G>;
        using E = typename detail::SetTraits<V>::Element;
        TPropInfo& p = Add(std::move(name), TPropKind::Set);
        p.Load = [set, names, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            if (v.Kind != TFormValue::TKind::Set)
                RaiseInvalidValue(n);
            V value;
            for (const std::string& element : v.Elements) {
                size_t i = 0;
                while (i < names.size() && !SameText(names[i], element))
                    ++i;
                if (i == names.size())
                    RaiseInvalidValue(n);
                value.Include(static_cast<E>(i));
            }
            detail::PutValue(static_cast<T&>(o), set, value);
        };
        p.Save = [get, names, defaultValue](const TObject& o) -> std::optional<TFormValue> {
            const V value = detail::GetValue(static_cast<const T&>(o), get);
            if (defaultValue && *defaultValue == value)
                return std::nullopt;
            std::vector<std::string> elements;
            for (size_t i = 0; i < names.size(); ++i)
                if (value.Contains(static_cast<E>(i)))
                    elements.push_back(names[i]);
            return TFormValue::Set(std::move(elements));
        };
        return *this;
    }

    template <class G, class S>
    TClassBuilder& Str(std::string name, G get, S set, std::optional<std::string> defaultValue = std::string())
    {
        TPropInfo& p = Add(std::move(name), TPropKind::String);
        p.Load = [set, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            if (v.Kind != TFormValue::TKind::String)
                RaiseInvalidValue(n);
            detail::PutValue(static_cast<T&>(o), set, v.Text);
        };
        p.Save = [get, defaultValue](const TObject& o) -> std::optional<TFormValue> {
            std::string value = detail::GetValue(static_cast<const T&>(o), get);
            if (defaultValue && *defaultValue == value)
                return std::nullopt;
            return TFormValue::String(std::move(value));
        };
        return *this;
    }

    // A persistent sub-object owned by the instance (a font, an appearance);
    // form files reach its own properties through dotted paths. Its writer
    // assigns the given object to the live sub-object (a copy).
    template <class G>
    TClassBuilder& Object(std::string name, G get, std::function<bool(const T&)> stored = {})
    {
        return Object(std::move(name), get,
                      [get](T& o, TPersistent* value) { std::invoke(get, o)->Assign(value); }, stored);
    }

    // The same with a writer of the class's own (one that copies in its own way).
    template <class G, class S>
        requires(!std::is_convertible_v<S, std::function<bool(const T&)>>)
    TClassBuilder& Object(std::string name, G get, S set, std::function<bool(const T&)> stored = {})
    {
        using V = std::remove_pointer_t<detail::ValueType<T, G>>;
        TPropInfo& p = Add(std::move(name), TPropKind::Class);
        p.SubObject = [get](TObject& o) -> TPersistent* { return std::invoke(get, static_cast<T&>(o)); };
        p.AssignObject = [set, n = p.Name](TObject& o, TPersistent* value) {
            V* typed = dynamic_cast<V*>(value);
            if (value && !typed)
                throw EPropertyError("Invalid value for property " + n + ": " + value->ClassName());
            detail::PutValue(static_cast<T&>(o), set, typed);
        };
        if (stored)
            p.Stored = [stored](const TObject& o) { return stored(static_cast<const T&>(o)); };
        p.Load = [n = p.Name](TObject&, const TFormValue&, TLoadContext&) { RaiseInvalidValue(n); };
        p.Save = [](const TObject&) -> std::optional<TFormValue> { return std::nullopt; };
        return *this;
    }

    // A reference to another component of the form, bound by name after reading.
    template <class C, class G, class S>
    TClassBuilder& Ref(std::string name, G get, S set)
    {
        TPropInfo& p = Add(std::move(name), TPropKind::Component);
        p.Load = [set, n = p.Name](TObject& o, const TFormValue& v, TLoadContext& context) {
            if (v.Kind != TFormValue::TKind::Ident)
                RaiseInvalidValue(n);
            context.Defer([&o, &context, set, n, target = v.Text] {
                C* component = dynamic_cast<C*>(context.FindComponent(target));
                if (!component)
                    throw EReadError("Invalid reference '" + target + "' in property " + n);
                detail::PutValue(static_cast<T&>(o), set, component);
            });
        };
        p.Save = [get](const TObject& o) -> std::optional<TFormValue> {
            const TComponent* component = detail::GetValue(static_cast<const T&>(o), get);
            if (!component || component->Name().empty())
                return std::nullopt;
            return TFormValue::Ident(component->Name());
        };
        return *this;
    }

    // An event, bound after reading to the root's published method of that name.
    template <class... A>
    TClassBuilder& Event(std::string name, TEvent<A...> T::*member)
    {
        return Event(std::move(name), member, member);
    }

    template <class G, class S>
    TClassBuilder& Event(std::string name, G get, S set)
    {
        using E = detail::ValueType<T, G>;
        TPropInfo& p = Add(std::move(name), TPropKind::Event);
        p.Load = [set, n = p.Name](TObject& o, const TFormValue& v, TLoadContext& context) {
            if (v.Kind != TFormValue::TKind::Ident)
                RaiseInvalidValue(n);
            context.Defer([&o, &context, set, n, handler = v.Text] {
                const std::any bound = context.FindMethod(handler);
                if (!bound.has_value())
                    throw EReadError("Method '" + handler + "' not found");
                const auto* function = std::any_cast<typename E::TFunction>(&bound);
                if (!function)
                    throw EReadError("Method '" + handler + "' does not fit event " + n);
                detail::PutValue(static_cast<T&>(o), set, E(*function, handler));
            });
        };
        p.Save = [get](const TObject& o) -> std::optional<TFormValue> {
            const E& event = detail::GetValue(static_cast<const T&>(o), get);
            if (event.HandlerName().empty())
                return std::nullopt;
            return TFormValue::Ident(event.HandlerName());
        };
        return *this;
    }

    // Binary data, written as a hex block; stored only when not empty.
    template <class G, class S>
    TClassBuilder& Binary(std::string name, G get, S set)
    {
        TPropInfo& p = Add(std::move(name), TPropKind::Binary);
        p.Load = [set, n = p.Name](TObject& o, const TFormValue& v, TLoadContext&) {
            if (v.Kind != TFormValue::TKind::Binary)
                RaiseInvalidValue(n);
            detail::PutValue(static_cast<T&>(o), set, v.Bytes);
        };
        p.Save = [get](const TObject& o) -> std::optional<TFormValue> {
            std::vector<uint8_t> bytes = detail::GetValue(static_cast<const T&>(o), get);
            if (bytes.empty())
                return std::nullopt;
            return TFormValue::Binary(std::move(bytes));
        };
        return *this;
    }

    // Makes properties that an ancestor declared after Protected() visible to form files.
    TClassBuilder& Publish(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            const TPropInfo* declared = nullptr;
            for (const TClassInfo* c = FInfo->Parent; c && !declared; c = c->Parent)
                for (const TPropInfo& p : c->Properties)
                    if (SameText(p.Name, name)) {
                        declared = &p;
                        break;
                    }
            if (!declared)
                throw EComponentError(std::string("Cannot publish undeclared property ") + name);
            FInfo->Properties.push_back(*declared);
            FInfo->Properties.back().Published = true;
        }
        return *this;
    }

    template <class C>
    TClassBuilder& Field(std::string name, C* T::*member)
    {
        TFieldInfo f;
        f.Name = std::move(name);
        f.FieldClass = &C::StaticClassInfo();
        f.Set = [member, n = f.Name](TObject& root, TComponent* value) {
            C* typed = dynamic_cast<C*>(value);
            if (value && !typed)
                throw EReadError("Field " + n + " cannot hold a " + value->ClassName());
            static_cast<T&>(root).*member = typed;
        };
        f.Get = [member](TObject& root) -> TComponent* { return static_cast<T&>(root).*member; };
        FInfo->Fields.push_back(std::move(f));
        return *this;
    }

    template <class R, class... A>
    TClassBuilder& Method(std::string name, R (T::*method)(A...))
    {
        TMethodInfo m;
        m.Name = std::move(name);
        m.Bind = [method](TObject& root) -> std::any {
            T* self = &static_cast<T&>(root);
            return std::function<void(A...)>([self, method](A... args) { (self->*method)(std::forward<A>(args)...); });
        };
        FInfo->Methods.push_back(std::move(m));
        return *this;
    }

private:
    TPropInfo& Add(std::string name, TPropKind kind)
    {
        TPropInfo& p = FInfo->Properties.emplace_back();
        p.Name = std::move(name);
        p.Kind = kind;
        p.Published = FPublished;
        return p;
    }

    static bool FindIdent(const TIdentMap& idents, const std::string& name, int64_t& value)
    {
        for (const auto& [ident, identName] : idents)
            if (SameText(identName, name)) {
                value = ident;
                return true;
            }
        return false;
    }

    TClassInfo* FInfo;
    bool FPublished = true;
};

} // namespace platform
