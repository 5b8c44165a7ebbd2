#pragma once

#include <QString>

#include <functional>

class TamvexForm;

// The program's windows by name. Each name has a factory; a window is made
// on first use and dropped when it unloads, so that the next use starts
// from its design state again. Windows of one room reach windows of another
// only through here.
namespace Forms {

using Factory = std::function<TamvexForm *()>;

void registerForm(const QString &name, Factory factory);

// The window of that name, made (not loaded) when there is none. Null for
// an unregistered name.
TamvexForm *instance(const QString &name);

template <typename T>
T *instance(const QString &name)
{
    return static_cast<T *>(instance(name));
}

// The window of that name if one exists, loaded or not; null otherwise.
TamvexForm *existing(const QString &name);

bool isLoaded(const QString &name);
int loadedCount();

// Called by TamvexForm. When the count of loaded windows drops to zero the
// handler set here runs (the desktop program quits there).
void noteLoaded(TamvexForm *form);
void noteUnloaded(TamvexForm *form);
void setLastUnloadedHandler(std::function<void()> handler);

// Drops every window at once, without unload steps (tests).
void reset();
}
