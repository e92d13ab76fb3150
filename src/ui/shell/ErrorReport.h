#pragma once
#include "core/Dialogs.h"

#include <concepts>
#include <exception>
#include <functional>
#include <utility>

namespace tarvok::ui {

// The general error box for an error that ended a reaction.
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs one delivery of an event. An error escaping it is reported and the
// event counts as not handled; the program goes on.
template <typename Deliver> bool DeliverReportingErrors(Dialogs& dialogs, Deliver&& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        ReportError(dialogs, error);
        return false;
    }
}

// `reaction` as a slot that reports an error ending it in the general error
// box, at the reaction's own boundary: an exception must not leave a slot
// through Qt's signal delivery. The slot takes what `reaction` can take, so
// Qt passes a signal's arguments only to a reaction that wants them.
template <typename Reaction> auto ReportingErrors(Dialogs& dialogs, Reaction reaction)
{
    return [&dialogs, reaction = std::move(reaction) ]<typename... Args>(
               Args && ... args) -> void requires std::invocable<const Reaction&, Args...>
    {
        try {
            std::invoke(reaction, std::forward<Args>(args)...);
        } catch (const std::exception& error) {
            ReportError(dialogs, error);
        }
    };
}

} // namespace tarvok::ui
