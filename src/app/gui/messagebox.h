#pragma once

#include "failure.h"

#include <QString>

#include <functional>

// The one place where the program shows a message box: a prompt, the OK
// button only, no icon, a caption. Tests install an observer, which then
// receives the message instead of a blocking dialog.
namespace MessageBox {

using Observer = std::function<void(const QString &prompt, const QString &caption)>;

// Shows the prompt (or hands it to the observer) and returns when it is
// dismissed. The caption defaults to the product label.
void show(const QString &prompt, const QString &caption = QString());

// Reports a failure with its number and description.
void showFailure(const Failure &failure);

// Installs (or, with an empty function, removes) the observer.
void setObserver(Observer observer);
}
