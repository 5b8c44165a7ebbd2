#include "forms.h"

#include "tamvexform.h"

#include <QHash>
#include <QPointer>
#include <QSet>

namespace {
struct Registry {
    QHash<QString, Forms::Factory> factories;
    QHash<QString, QPointer<TamvexForm>> instances;
    QSet<TamvexForm *> loaded;
    std::function<void()> lastUnloaded;
};

Registry &registry()
{
    static Registry r;
    return r;
}
}

namespace Forms {

void registerForm(const QString &name, Factory factory)
{
    registry().factories.insert(name, std::move(factory));
}

TamvexForm *instance(const QString &name)
{
    Registry &r = registry();
    if (TamvexForm *form = r.instances.value(name))
        return form;
    const auto factory = r.factories.find(name);
    if (factory == r.factories.end())
        return nullptr;
    TamvexForm *form = (*factory)();
    r.instances.insert(name, form);
    return form;
}

TamvexForm *existing(const QString &name)
{
    return registry().instances.value(name);
}

bool isLoaded(const QString &name)
{
    const TamvexForm *form = existing(name);
    return form && form->isLoaded();
}

int loadedCount()
{
    return static_cast<int>(registry().loaded.size());
}

void noteLoaded(TamvexForm *form)
{
    registry().loaded.insert(form);
}

void noteUnloaded(TamvexForm *form)
{
    Registry &r = registry();
    r.loaded.remove(form);
    if (r.instances.value(form->formName()) == form)
        r.instances.remove(form->formName());
    if (r.loaded.isEmpty() && r.lastUnloaded)
        r.lastUnloaded();
}

void setLastUnloadedHandler(std::function<void()> handler)
{
    registry().lastUnloaded = std::move(handler);
}

void reset()
{
    Registry &r = registry();
    for (const QPointer<TamvexForm> &form : std::as_const(r.instances))
        delete form.data();
    r.instances.clear();
    r.loaded.clear();
}
}
