#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform {

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void RaiseInvalidValue(const std::string& property)
{
    throw EReadError("Invalid property value for " + property);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &other)
            return true;
    return false;
}

std::vector<const TPropInfo*> TClassInfo::PublishedProperties() const
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->Parent)
        chain.push_back(c);
    std::vector<const TPropInfo*> result;
    for (auto c = chain.rbegin(); c != chain.rend(); ++c)
        for (const TPropInfo& p : (*c)->Properties) {
            if (!p.Published)
                continue;
            auto same = std::find_if(result.begin(), result.end(),
                                     [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
            if (same != result.end())
                *same = &p;
            else
                result.push_back(&p);
        }
    return result;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Properties)
            if (p.Published && SameText(p.Name, name))
                return &p;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TFieldInfo& f : c->Fields)
            if (SameText(f.Name, name))
                return &f;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& name) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (SameText(m.Name, name))
                return &m;
    return nullptr;
}

void SetObjectProp(TObject& Instance, const std::string& Name, TPersistent* Value)
{
    const TPropInfo* property = Instance.ClassInfo().FindProperty(Name);
    if (!property || property->Kind != TPropKind::Class)
        throw EPropertyError("Unknown object property " + Name);
    property->AssignObject(Instance, Value);
}

std::vector<const TClassInfo*> StandardClasses();

namespace {

struct TRegistry {
    std::vector<const TClassInfo*> Classes;
    std::map<std::string, std::vector<const TClassInfo*>> Pages;
};

// Immortal, like the class information it lists; it starts with the framework's own components.
TRegistry& Registry()
{
    static TRegistry& registry = *new TRegistry{StandardClasses(), {}};
    return registry;
}

} // namespace

void RegisterClasses(std::initializer_list<const TClassInfo*> classes)
{
    for (const TClassInfo* info : classes) {
        const TClassInfo* known = FindRegisteredClass(info->Name);
        if (known == info)
            continue;
        if (known)
            throw EFilerError("A class named " + info->Name + " already exists");
        Registry().Classes.push_back(info);
    }
}

const TClassInfo* FindRegisteredClass(const std::string& name)
{
    for (const TClassInfo* info : Registry().Classes)
        if (SameText(info->Name, name))
            return info;
    return nullptr;
}

void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes)
{
    auto& onPage = Registry().Pages[page];
    for (const TClassInfo* info : classes) {
        RegisterClasses({info});
        if (std::find(onPage.begin(), onPage.end(), info) == onPage.end())
            onPage.push_back(info);
    }
}

std::vector<const TClassInfo*> PaletteComponents(const std::string& page)
{
    auto found = Registry().Pages.find(page);
    return found == Registry().Pages.end() ? std::vector<const TClassInfo*>() : found->second;
}

} // namespace platform
